#pragma once

#include <QString>
#include <libxml/tree.h>

namespace veldra::xml {

class Document;

// The stylesheet address that a document's <?xml-stylesheet href="..." type="text/xsl"?>
// instruction names, resolved against the document's own address when relative; "" when the
// document has no such instruction (instructions for CSS are passed over).
QString stylesheetAddressOf(xmlDocPtr doc);
QString stylesheetAddressOf(const Document& doc);

} // namespace veldra::xml
