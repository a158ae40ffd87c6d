#include "platform/xml/io/IndentOverlay.h"

#include "platform/xml/io/WhitespaceRules.h"

#include <algorithm>

#include <libxml/parserInternals.h>

namespace veldra::xml::detail {

namespace {

int depthOf(xmlNodePtr element)
{
    int depth = 0;
    for (xmlNodePtr p = element->parent; p && p->type == XML_ELEMENT_NODE; p = p->parent)
        ++depth;
    return depth;
}

void linkBefore(xmlNodePtr parent, xmlNodePtr node, xmlNodePtr before)
{
    node->parent = parent;
    node->next = before;
    node->prev = before ? before->prev : parent->last;
    if (node->prev)
        node->prev->next = node;
    else
        parent->children = node;
    if (before)
        before->prev = node;
    else
        parent->last = node;
}

void unlink(xmlNodePtr node)
{
    xmlNodePtr parent = node->parent;
    if (node->prev)
        node->prev->next = node->next;
    else
        parent->children = node->next;
    if (node->next)
        node->next->prev = node->prev;
    else
        parent->last = node->prev;
}

bool isNearestDeclaration(xmlDocPtr doc, xmlNodePtr element, xmlNsPtr ns)
{
    return xmlSearchNs(doc, element, ns->prefix) == ns;
}

bool writesAsCopy(xmlDocPtr doc, xmlNodePtr node)
{
    switch (node->type) {
    case XML_ELEMENT_NODE:
        if (node->ns && !isNearestDeclaration(doc, node, node->ns))
            return false;
        for (xmlAttrPtr attr = node->properties; attr; attr = attr->next) {
            if (attr->ns && !isNearestDeclaration(doc, node, attr->ns))
                return false;
            for (xmlNodePtr value = attr->children; value; value = value->next)
                if (value->type != XML_TEXT_NODE)
                    return false;
        }
        return true;
    case XML_TEXT_NODE:
        return node->name != xmlStringTextNoenc;
    case XML_ENTITY_REF_NODE:
    case XML_ENTITY_NODE:
    case XML_DTD_NODE:
        return false;
    default:
        return true;
    }
}

} // namespace

bool IndentOverlay::canOverlay(xmlDocPtr doc)
{
    if (doc->intSubset || doc->extSubset)
        return false;
    for (xmlNodePtr top = doc->children; top; top = top->next) {
        xmlNodePtr cur = top;
        while (cur) {
            if (!writesAsCopy(doc, cur))
                return false;
            if (cur->type == XML_ELEMENT_NODE && cur->children) {
                cur = cur->children;
                continue;
            }
            while (cur != top && !cur->next)
                cur = cur->parent;
            if (cur == top)
                break;
            cur = cur->next;
        }
    }
    return true;
}

IndentOverlay::IndentOverlay(xmlDocPtr doc)
{
    const std::vector<xmlNodePtr> elements = indentedElements(doc);
    std::vector<int> depths;
    depths.reserve(elements.size());
    int deepest = 0;
    size_t layoutNodes = 0;
    for (xmlNodePtr element : elements) {
        depths.push_back(depthOf(element));
        deepest = std::max(deepest, depths.back());
        for (xmlNodePtr child = element->children; child; child = child->next)
            ++layoutNodes;
        ++layoutNodes;
    }
    // Reserved once: the nodes never move while they are linked.
    nodes_.reserve(layoutNodes);
    // All texts exist before a node points at one of them.
    for (int level = 0; level <= deepest + 1; ++level)
        indents_.push_back('\n' + std::string(size_t(level) * 2, ' '));
    for (size_t i = 0; i < elements.size(); ++i) {
        for (xmlNodePtr child = elements[i]->children; child; child = child->next)
            linkBefore(elements[i], layoutNode(doc, depths[i] + 1), child);
        linkBefore(elements[i], layoutNode(doc, depths[i]), nullptr);
    }
}

IndentOverlay::~IndentOverlay()
{
    for (xmlNode& node : nodes_)
        unlink(&node);
}

xmlNodePtr IndentOverlay::layoutNode(xmlDocPtr doc, int depth)
{
    xmlNode& node = nodes_.emplace_back();
    node.type = XML_TEXT_NODE;
    node.name = xmlStringText;  // escaped as text is
    node.doc = doc;
    node.content = reinterpret_cast<xmlChar*>(indents_[size_t(depth)].data());
    return &node;
}

} // namespace veldra::xml::detail
