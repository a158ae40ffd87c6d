#include "platform/xml/io/IndentOverlay.h"

#include "platform/xml/io/WhitespaceRules.h"

#include <algorithm>

#include <libxml/parserInternals.h>

namespace veldra::xml::detail {

namespace {

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

size_t childCount(xmlNodePtr element)
{
    size_t count = 0;
    for (xmlNodePtr child = element->children; child; child = child->next)
        ++count;
    return count;
}

bool samePrefix(const xmlChar* a, const xmlChar* b)
{
    return a && b ? xmlStrEqual(a, b) == 1 : a == b;
}

// The namespace declarations in scope at one point of a walk down the tree, the nearest last:
// what xmlSearchNs finds for a prefix, without climbing the ancestors for every name.
class NamespaceScope {
public:
    size_t size() const { return declared_.size(); }

    // Enters an element: its declarations hide its ancestors'.
    void enter(xmlNsPtr declarations)
    {
        const size_t outer = declared_.size();
        for (xmlNsPtr ns = declarations; ns; ns = ns->next)
            if (ns->href)  // xmlSearchNs passes over a declaration without a name
                declared_.push_back(ns);
        // Of two declarations of one prefix on one element the first is found: it goes nearer.
        std::reverse(declared_.begin() + std::ptrdiff_t(outer), declared_.end());
    }

    void leave(size_t outerSize) { declared_.resize(outerSize); }

    // Whether xmlSearchNs finds `ns` for its prefix from `element`, which the scope has entered.
    // xmlSearchNs also takes an ancestor's own namespace, after the ancestor's declarations;
    // the walk ends at the first element that fails this test, so an ancestor's own namespace
    // is the one in scope for its prefix there already, and the scope need not hold it.
    bool isNearest(xmlDocPtr doc, xmlNodePtr element, xmlNsPtr ns) const
    {
        // The "xml" prefix is bound by the document, never by a declaration: xmlSearchNs asks
        // no ancestor for it.
        if (ns->prefix && xmlStrEqual(ns->prefix, BAD_CAST "xml"))
            return xmlSearchNs(doc, element, ns->prefix) == ns;
        for (auto declared = declared_.rbegin(); declared != declared_.rend(); ++declared)
            if (samePrefix((*declared)->prefix, ns->prefix))
                return *declared == ns;
        return false;
    }

private:
    std::vector<xmlNsPtr> declared_;
};

bool elementWritesAsCopy(xmlDocPtr doc, xmlNodePtr element, const NamespaceScope& scope)
{
    if (element->ns && !scope.isNearest(doc, element, element->ns))
        return false;
    for (xmlAttrPtr attr = element->properties; attr; attr = attr->next) {
        if (attr->ns && !scope.isNearest(doc, element, attr->ns))
            return false;
        for (xmlNodePtr value = attr->children; value; value = value->next)
            if (value->type != XML_TEXT_NODE)
                return false;
    }
    return true;
}

bool writesAsCopy(xmlNodePtr node)
{
    switch (node->type) {
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

bool IndentOverlay::layOver(xmlDocPtr doc)
{
    if (doc->intSubset || doc->extSubset)
        return false;
    const xmlNodePtr root = xmlDocGetRootElement(doc);
    std::vector<Indented> indented;
    for (xmlNodePtr top = doc->children; top; top = top->next)
        if (!survey(doc, top, top == root ? &indented : nullptr))
            return false;
    lay(indented);
    return true;
}

// One walk in document order that carries down what xmlSearchNs and xmlNodeGetSpacePreserve
// would look up the ancestors for: whether every node writes as a copy's does and, where
// `indented` is given, which elements get their content indented.
bool IndentOverlay::survey(xmlDocPtr doc, xmlNodePtr top, std::vector<Indented>* indented)
{
    struct Ancestor {
        bool preservesSpace;
        size_t outerScope;  // the scope's size before the ancestor's declarations
    };
    std::vector<Ancestor> ancestors;
    NamespaceScope scope;
    xmlNodePtr cur = top;
    while (true) {
        if (cur->type == XML_ELEMENT_NODE) {
            const size_t outerScope = scope.size();
            scope.enter(cur->nsDef);
            if (!elementWritesAsCopy(doc, cur, scope))
                return false;
            const bool preserves = preservesSpaceWithin(cur, !ancestors.empty() && ancestors.back().preservesSpace);
            if (indented && !preserves && holdsIndentableContent(cur))
                indented->push_back({cur, int(ancestors.size()), childCount(cur) + 1});
            if (cur->children) {
                ancestors.push_back({preserves, outerScope});
                cur = cur->children;
                continue;
            }
            scope.leave(outerScope);
        } else if (!writesAsCopy(cur)) {
            return false;
        }
        while (cur != top && !cur->next) {
            cur = cur->parent;
            scope.leave(ancestors.back().outerScope);
            ancestors.pop_back();
        }
        if (cur == top)
            return true;
        cur = cur->next;
    }
}

void IndentOverlay::lay(const std::vector<Indented>& indented)
{
    int deepest = 0;
    size_t layoutNodes = 0;
    for (const Indented& element : indented) {
        deepest = std::max(deepest, element.depth);
        layoutNodes += element.layoutNodes;
    }
    // Reserved once: the nodes never move while they are linked.
    nodes_.reserve(layoutNodes);
    // All texts exist before a node points at one of them.
    for (int level = 0; level <= deepest + 1; ++level)
        indents_.push_back('\n' + std::string(size_t(level) * 2, ' '));
    for (const Indented& element : indented) {
        for (xmlNodePtr child = element.element->children; child; child = child->next)
            linkBefore(element.element, layoutNode(element.element->doc, element.depth + 1), child);
        linkBefore(element.element, layoutNode(element.element->doc, element.depth), nullptr);
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
