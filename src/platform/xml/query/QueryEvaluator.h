#pragma once

#include "platform/xml/tree/Node.h"
#include "platform/xml/tree/NodeList.h"

#include <QString>

#include <libxml/tree.h>

namespace veldra::xml::detail {

// Runs a query of the program's dialect (QueryTranslator.h) with `context` as the context
// node, in the document context belongs to. Nodes come in document order.
NodeList selectNodes(xmlNodePtr context, const QString& query);
Node selectSingleNode(xmlNodePtr context, const QString& query);

} // namespace veldra::xml::detail
