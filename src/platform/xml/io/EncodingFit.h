#pragma once

#include <libxml/tree.h>

namespace veldra::xml::detail {

// Whether every character that cannot be written as a character reference fits the encoding:
// element, attribute and namespace prefix names, comments, processing instructions and CDATA
// sections. Text and attribute values always fit, since the writer escapes what the encoding
// lacks. The encoding must also write ASCII as ASCII (or be UTF-16 or UTF-32, which readers
// detect), since markup is found by those bytes. A document that fails this check cannot be
// saved in that encoding and read back.
bool markupFitsEncoding(xmlDocPtr doc, const char* encoding);

} // namespace veldra::xml::detail
