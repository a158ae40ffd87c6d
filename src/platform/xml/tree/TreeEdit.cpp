#include "platform/xml/tree/TreeEdit.h"

#include "platform/xml/tree/DocState.h"
#include "platform/xml/io/XmlErrors.h"
#include "platform/xml/tree/ElementCopy.h"
#include "platform/xml/tree/NamespaceFit.h"

#include <unordered_set>

namespace veldra::xml::detail {

namespace {

void requireInsertable(xmlNodePtr parent, xmlNodePtr child, xmlNodePtr before)
{
    if (parent->type != XML_ELEMENT_NODE && !isDocumentNode(parent))
        throwNodeError(QStringLiteral("This node cannot have child nodes."));
    switch (child->type) {
    case XML_ELEMENT_NODE:
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE:
    case XML_COMMENT_NODE:
    case XML_PI_NODE:
        break;
    default:
        throwNodeError(QStringLiteral("This kind of node cannot be inserted as a child node."));
    }
    if (isDocumentNode(parent)) {
        if (child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE)
            throwNodeError(QStringLiteral("A document cannot hold text outside its document element."));
        const xmlNodePtr root = xmlDocGetRootElement(reinterpret_cast<xmlDocPtr>(parent));
        if (child->type == XML_ELEMENT_NODE && root && root != child)
            throwNodeError(QStringLiteral("A document can have only one document element."));
    }
    if (before && before->parent != parent)
        throwNodeError(QStringLiteral("The reference node is not a child of this node."));
    for (xmlNodePtr ancestor = parent; ancestor; ancestor = ancestor->parent)
        if (ancestor == child)
            throwNodeError(QStringLiteral("A node cannot be inserted below itself."));
}


// After a subtree left its tree: namespaces it used from its former ancestors are referenced
// through the document instead, so the subtree stays valid whatever happens to those
// ancestors. (libxml2's xmlDOMWrapRemoveNode does the same, but skips the children of
// elements that have attributes.)
void keepNamespacesWithin(xmlNodePtr root)
{
    std::unordered_set<xmlNsPtr> declaredWithin;
    forEachInSubtree(root, [&declaredWithin](xmlNodePtr node) {
        if (node->type == XML_ELEMENT_NODE)
            for (xmlNsPtr ns = node->nsDef; ns; ns = ns->next)
                declaredWithin.insert(ns);
    });
    std::unordered_set<xmlNsPtr> documentLevel;
    for (xmlNsPtr ns = root->doc->oldNs; ns; ns = ns->next)
        documentLevel.insert(ns);
    forEachInSubtree(root, [&](xmlNodePtr node) {
        const bool named = node->type == XML_ELEMENT_NODE || node->type == XML_ATTRIBUTE_NODE;
        if (named && node->ns && !declaredWithin.count(node->ns) && !documentLevel.count(node->ns))
            node->ns = documentLevelNamespace(node, node->ns);
    });
}

void takeOut(xmlNodePtr node)
{
    xmlUnlinkNode(node);
    if (node->type == XML_ELEMENT_NODE || node->type == XML_ATTRIBUTE_NODE)
        keepNamespacesWithin(node);
}

xmlNodePtr copyAttribute(xmlNodePtr source, xmlDocPtr target)
{
    auto* attr = reinterpret_cast<xmlAttrPtr>(source);
    xmlAttrPtr copy = xmlCopyProp(source->parent, attr);  // resolves the prefix where the source is
    if (!copy)
        throwNodeError(QStringLiteral("The attribute could not be copied."));
    if (!copy->doc)
        copy->doc = source->doc;  // an empty detached attribute gives libxml2 no document to copy into
    if (!source->parent)
        copy->ns = attr->ns;  // a detached attribute's namespace lives on in its document
    else
        takeOut(reinterpret_cast<xmlNodePtr>(copy));  // points its namespace at the document, not at the element
    copy->parent = nullptr;
    if (target != source->doc
        && xmlDOMWrapAdoptNode(nullptr, source->doc, reinterpret_cast<xmlNodePtr>(copy), target, nullptr, 0) != 0) {
        xmlFreeProp(copy);
        throwNodeError(QStringLiteral("The attribute could not be copied into the other document."));
    }
    return reinterpret_cast<xmlNodePtr>(copy);
}

} // namespace

xmlNsPtr documentLevelNamespace(xmlNodePtr node, xmlNsPtr like)
{
    xmlNsPtr last = xmlSearchNs(node->doc, node, reinterpret_cast<const xmlChar*>("xml"));  // makes oldNs exist
    for (xmlNsPtr ns = node->doc->oldNs; ns; ns = ns->next) {
        if (xmlStrEqual(ns->href, like->href) && xmlStrEqual(ns->prefix, like->prefix))
            return ns;
        last = ns;
    }
    xmlNsPtr ns = xmlNewNs(nullptr, like->href, like->prefix);
    if (!ns)
        throwNodeError(QStringLiteral("Out of memory while taking a node out of its tree."));
    last->next = ns;
    return ns;
}

void linkChild(xmlNodePtr parent, xmlNodePtr child, xmlNodePtr before)
{
    child->parent = parent;
    if (before) {
        child->next = before;
        child->prev = before->prev;
        if (before->prev)
            before->prev->next = child;
        else
            parent->children = child;
        before->prev = child;
        return;
    }
    child->next = nullptr;
    child->prev = parent->last;
    if (parent->last)
        parent->last->next = child;
    else
        parent->children = child;
    parent->last = child;
}

bool isDocumentNode(xmlNodePtr node)
{
    return node->type == XML_DOCUMENT_NODE || node->type == XML_HTML_DOCUMENT_NODE;
}

xmlDocPtr documentOf(xmlNodePtr node)
{
    return isDocumentNode(node) ? reinterpret_cast<xmlDocPtr>(node) : node->doc;
}

void keepDetached(xmlNodePtr root)
{
    stateOf(root->doc)->detached.insert(root);
}

void forgetDetached(xmlNodePtr root)
{
    stateOf(root->doc)->detached.erase(root);
}

void insertChild(xmlNodePtr parent, xmlNodePtr child, xmlNodePtr before)
{
    requireInsertable(parent, child, before);
    if (child == before)
        return;
    xmlDocPtr from = child->doc;
    xmlDocPtr to = documentOf(parent);
    if (child->parent)
        takeOut(child);
    else
        forgetDetached(child);
    if (from != to) {
        xmlNodePtr context = isDocumentNode(parent) ? nullptr : parent;
        if (xmlDOMWrapAdoptNode(nullptr, from, child, to, context, 0) != 0) {
            keepDetached(child);
            throwNodeError(QStringLiteral("The node could not be moved into the other document."));
        }
    }
    linkChild(parent, child, before);
    if (child->type == XML_ELEMENT_NODE)
        fitNamespaces(child);
    if (from != to)
        moveHandles(child, stateOf(from), stateOf(to));
}

void detachChild(xmlNodePtr child)
{
    if (!child->parent)
        return;
    if (child->type == XML_DTD_NODE)
        throwNodeError(QStringLiteral("The document type declaration cannot be removed."));
    takeOut(child);
    keepDetached(child);
}

void retire(xmlNodePtr node)
{
    if (handlesWithin(node) == 0) {
        xmlUnlinkNode(node);
        xmlFreeNode(node);
        return;
    }
    takeOut(node);
    keepDetached(node);
}

void replaceChildren(xmlNodePtr element, xmlNodePtr onlyChild)
{
    for (xmlNodePtr child = element->children; child;) {
        xmlNodePtr next = child->next;
        retire(child);
        child = next;
    }
    if (onlyChild)
        linkChild(element, onlyChild, nullptr);
}

xmlNodePtr copyNode(xmlNodePtr source, xmlDocPtr target, bool deep)
{
    xmlNodePtr copy = nullptr;
    switch (source->type) {
    case XML_ELEMENT_NODE:
        copy = copyElement(source, target, deep);
        break;
    case XML_ATTRIBUTE_NODE:
        copy = copyAttribute(source, target);
        break;
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE:
    case XML_COMMENT_NODE:
    case XML_PI_NODE:
        copy = xmlDocCopyNode(source, target, 1);
        break;
    default:
        throwNodeError(QStringLiteral("This kind of node cannot be copied."));
    }
    if (!copy)
        throwNodeError(QStringLiteral("The node could not be copied."));
    keepDetached(copy);
    return copy;
}

} // namespace veldra::xml::detail
