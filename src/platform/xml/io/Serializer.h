#pragma once

#include "platform/xml/io/Layout.h"

#include <QByteArray>
#include <QString>

#include <libxml/tree.h>

namespace veldra::xml::detail {

// The whole document as text: the declaration when the document has one (as it is, encoding
// pseudo-attribute included), then each top-level node followed by a line feed.
QString documentText(xmlDocPtr doc, bool hasDeclaration, Layout layout);

// The bytes of a saved file: encoded in the encoding the declaration names, UTF-8 when it
// names none. Throws VbError when the encoding is not supported or the document cannot be
// written whole (memory runs out).
QByteArray documentBytes(xmlDocPtr doc, bool hasDeclaration, Layout layout);

// One node and its subtree. An element's text carries the namespace declarations it relies
// on from its ancestors, so that the text parses on its own.
QString nodeText(xmlNodePtr node);

// `<?xml version="1.0" encoding="..." standalone="..."?>` from the document's fields.
QString declarationText(xmlDocPtr doc);
// The declaration's content as a processing instruction shows it: `version="1.0" encoding="UTF-8"`.
QString declarationData(xmlDocPtr doc);

} // namespace veldra::xml::detail
