#include "platform/xml/resources/UnseenNodes.h"

namespace veldra::xml {

namespace {

bool unseen(xmlNodePtr node)
{
    return node->type == XML_COMMENT_NODE || node->type == XML_PI_NODE;
}

// The node after `node` in document order that is not below it; null at the end.
xmlNodePtr nextOutside(xmlNodePtr node, xmlNodePtr root)
{
    while (node && node != root && !node->next)
        node = node->parent;
    return node && node != root ? node->next : nullptr;
}

} // namespace

void removeCommentsAndInstructions(xmlDocPtr doc)
{
    const xmlNodePtr root = reinterpret_cast<xmlNodePtr>(doc);
    xmlNodePtr node = doc->children;
    while (node) {
        if (unseen(node)) {
            const xmlNodePtr next = nextOutside(node, root);
            xmlUnlinkNode(node);
            xmlFreeNode(node);
            node = next;
        } else if (node->type == XML_ELEMENT_NODE && node->children) {
            node = node->children;
        } else {
            node = nextOutside(node, root);
        }
    }
}

} // namespace veldra::xml
