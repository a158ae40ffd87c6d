#include "platform/xml/tree/Allocated.h"

namespace veldra::xml::detail {

xmlNodePtr newText(xmlDocPtr doc, const xmlChar* utf8)
{
    xmlNodePtr text = allocated(xmlNewDocText(doc, utf8));
    if (utf8 && !text->content) {
        xmlFreeNode(text);
        throw std::bad_alloc();
    }
    return text;
}

} // namespace veldra::xml::detail
