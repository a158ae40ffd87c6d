#include "platform/xml/tree/SubtreeSize.h"

#include "platform/xml/tree/DocState.h"
#include "platform/xml/tree/NodeAccess.h"

#include <cstring>

namespace veldra::xml {

qint64 nodesWithin(const Node& node)
{
    xmlNodePtr root = detail::NodeAccess::raw(node);
    if (!root)
        return 0;
    qint64 count = 0;
    detail::forEachInSubtree(root, [&count](xmlNodePtr visited) {
        // An attribute's value is counted with its attribute.
        if (!visited->parent || visited->parent->type != XML_ATTRIBUTE_NODE)
            ++count;
    });
    return count;
}

qint64 valueBytesWithin(const Node& node)
{
    xmlNodePtr root = detail::NodeAccess::raw(node);
    if (!root)
        return 0;
    const auto contentBytes = [](xmlNodePtr n) {
        return n->content ? qint64(std::strlen(reinterpret_cast<const char*>(n->content))) : 0;
    };
    const bool holdsTexts = root->type == XML_ELEMENT_NODE || root->type == XML_ATTRIBUTE_NODE
                            || root->type == XML_DOCUMENT_NODE;
    if (!holdsTexts)
        return contentBytes(root);
    qint64 bytes = 0;
    detail::forEachInSubtree(root, [&](xmlNodePtr visited) {
        const bool text = visited->type == XML_TEXT_NODE || visited->type == XML_CDATA_SECTION_NODE;
        // An element's value holds its texts, not those of its attributes.
        const bool ownText = root->type == XML_ATTRIBUTE_NODE || visited->parent->type != XML_ATTRIBUTE_NODE;
        if (text && ownText)
            bytes += contentBytes(visited);
    });
    return bytes;
}

} // namespace veldra::xml
