#pragma once

#include <QString>
#include <libxml/tree.h>

namespace veldra::xml {

// The schema location a document names for its document element: the location paired with
// the element's namespace in xsi:schemaLocation ("namespace location" pairs), or
// xsi:noNamespaceSchemaLocation for an element without a namespace. Relative locations are
// resolved against the document's own address. "" when the document names none; `problem`
// then says so.
QString schemaLocationOf(xmlDocPtr doc, QString* problem);

} // namespace veldra::xml
