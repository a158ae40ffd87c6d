#include "platform/xml/tree/BulkRemoval.h"

#include "platform/xml/tree/Document.h"
#include "platform/xml/tree/TreeEdit.h"

#include <vector>

namespace veldra::xml {

bool detail::isRemovedAttribute(const _xmlAttr* attr, const QList<QByteArray>& names)
{
    if (attr->ns)
        return false;
    for (const QByteArray& name : names)
        if (xmlStrEqual(attr->name, reinterpret_cast<const xmlChar*>(name.constData())))
            return true;
    return false;
}

void removeAttributesAndComments(const Document& document, const QList<QByteArray>& names)
{
    std::vector<xmlNodePtr> removed;
    xmlDocPtr doc = document.raw();
    xmlNodePtr cur = doc->children;
    while (cur) {
        if (cur->type == XML_COMMENT_NODE) {
            removed.push_back(cur);
        } else if (cur->type == XML_ELEMENT_NODE) {
            for (xmlAttrPtr attr = cur->properties; attr; attr = attr->next)
                if (detail::isRemovedAttribute(attr, names))
                    removed.push_back(reinterpret_cast<xmlNodePtr>(attr));
            if (cur->children) {
                cur = cur->children;
                continue;
            }
        }
        while (cur && !cur->next)
            cur = cur->parent == reinterpret_cast<xmlNodePtr>(doc) ? nullptr : cur->parent;
        if (cur)
            cur = cur->next;
    }
    for (xmlNodePtr node : removed)
        detail::retire(node);
}

} // namespace veldra::xml
