#include "platform/xml/tree/Cursor.h"

#include "platform/xml/tree/NodeAccess.h"
#include "platform/xml/tree/XmlStrings.h"

#include <libxml/tree.h>
#include <libxml/xpath.h>

#include <cstring>

namespace veldra::xml {

namespace {

using detail::fromXml;
using detail::NodeAccess;

const char* chars(const xmlChar* text)
{
    return reinterpret_cast<const char*>(text);
}

bool isNamedNode(const xmlNode* node)
{
    return node->type == XML_ELEMENT_NODE || node->type == XML_ATTRIBUTE_NODE;
}

// Most names a walk compares differ in their first letter.
bool nameIs(const xmlNode* node, const char* name)
{
    const char* own = chars(node->name);
    return own[0] == name[0] && std::strcmp(own, name) == 0;
}

bool isElementNamed(const xmlNode* node, const char* name)
{
    return node->type == XML_ELEMENT_NODE && (!name || nameIs(node, name));
}

// The children as Node::firstChild shows them: attributes and the document type have none.
xmlNodePtr childrenOf(const xmlNode* node)
{
    return !node || node->type == XML_DTD_NODE || node->type == XML_ATTRIBUTE_NODE ? nullptr : node->children;
}

bool isDocumentNode(const xmlNode* node)
{
    return node->type == XML_DOCUMENT_NODE || node->type == XML_HTML_DOCUMENT_NODE;
}

// The parent as the DOM shows it.
xmlNodePtr parentOf(const xmlNode* node)
{
    return node->type == XML_ATTRIBUTE_NODE ? nullptr : node->parent;
}

xmlNodePtr elementFrom(xmlNodePtr node, const char* name)
{
    while (node && !isElementNamed(node, name))
        node = node->next;
    return node;
}

// The node's text where it is held as one text node (a text; an element or attribute of one
// text node or none); null otherwise.
const xmlChar* singleTextOf(const xmlNode* node)
{
    if (node->type == XML_TEXT_NODE)
        return node->content ? node->content : BAD_CAST "";
    if (node->type != XML_ELEMENT_NODE && node->type != XML_ATTRIBUTE_NODE)
        return nullptr;
    const xmlNode* text = node->children;
    if (!text)
        return BAD_CAST "";
    if (text->next || text->type != XML_TEXT_NODE)
        return nullptr;
    return text->content ? text->content : BAD_CAST "";
}

} // namespace

Node Cursor::node() const
{
    return NodeAccess::wrap(node_);
}

bool Cursor::isElement() const
{
    return node_ && node_->type == XML_ELEMENT_NODE;
}

bool Cursor::isDocument() const
{
    return node_ && isDocumentNode(node_);
}

NodeType Cursor::type() const
{
    if (!node_)
        return NodeType::DocumentType;
    return detail::shownType(node_->type).value_or(NodeType::DocumentType);
}

const char* Cursor::localName() const
{
    return node_ && isNamedNode(node_) ? chars(node_->name) : "";
}

const char* Cursor::prefix() const
{
    return node_ && isNamedNode(node_) && node_->ns ? chars(node_->ns->prefix) : nullptr;
}

bool Cursor::hasNamespace() const
{
    return node_ && isNamedNode(node_) && node_->ns;
}

bool Cursor::isNamed(const char* localName) const
{
    return node_ && isNamedNode(node_) && nameIs(node_, localName);
}

QString Cursor::qualifiedName() const
{
    const char* own = prefix();
    const QString name = QString::fromUtf8(localName());
    return own ? QString::fromUtf8(own) + QLatin1Char(':') + name : name;
}

const char* Cursor::value() const
{
    if (!node_)
        return "";
    switch (node_->type) {
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE:
    case XML_COMMENT_NODE:
    case XML_PI_NODE: return node_->content ? chars(node_->content) : "";
    default: return "";
    }
}

QString Cursor::text() const
{
    if (!node_ || node_->type == XML_DTD_NODE)
        return QString(QLatin1String(""));
    if (node_->type == XML_CDATA_SECTION_NODE)
        return QString::fromUtf8(value());
    if (const xmlChar* single = singleTextOf(node_))
        return QString::fromUtf8(chars(single));
    const QString text = detail::takeXml(xmlNodeGetContent(node_));
    return text.isNull() ? QString(QLatin1String("")) : text;
}

QByteArray Cursor::textUtf8() const
{
    if (!node_ || node_->type == XML_DTD_NODE)
        return QByteArray("");
    if (const xmlChar* single = singleTextOf(node_))
        return QByteArray::fromRawData(chars(single), qsizetype(std::strlen(chars(single))));
    xmlChar* content = xmlNodeGetContent(node_);
    const QByteArray text(content ? chars(content) : "");
    xmlFree(content);
    return text;
}

Cursor Cursor::parent() const
{
    return Cursor(node_ ? parentOf(node_) : nullptr);
}

bool Cursor::isInDocument() const
{
    for (const xmlNode* node = node_; node; node = parentOf(node))
        if (isDocumentNode(node))
            return true;
    return false;
}

int Cursor::depth() const
{
    int depth = 0;
    for (const xmlNode* node = node_; node && !isDocumentNode(node); node = node->parent)
        ++depth;
    return depth;
}

Cursor Cursor::firstChild() const
{
    return Cursor(childrenOf(node_));
}

Cursor Cursor::nextSibling() const
{
    return Cursor(node_ ? node_->next : nullptr);
}

bool Cursor::hasChildren() const
{
    return childrenOf(node_) != nullptr;
}

Cursor Cursor::child(const char* localName) const
{
    return Cursor(elementFrom(childrenOf(node_), localName));
}

Cursor Cursor::nextElement(const char* localName) const
{
    return Cursor(node_ ? elementFrom(node_->next, localName) : nullptr);
}

ElementRange Cursor::children(const char* localName) const
{
    return {Cursor(elementFrom(childrenOf(node_), localName)), localName};
}

Cursor Cursor::firstAttribute() const
{
    return Cursor(isElement() ? reinterpret_cast<xmlNodePtr>(node_->properties) : nullptr);
}

Cursor Cursor::nextAttribute() const
{
    return Cursor(node_ && node_->type == XML_ATTRIBUTE_NODE ? node_->next : nullptr);
}

Cursor Cursor::attribute(const char* name) const
{
    if (!isElement())
        return {};
    for (xmlAttrPtr attribute = node_->properties; attribute; attribute = attribute->next)
        if (!attribute->ns && nameIs(reinterpret_cast<xmlNodePtr>(attribute), name))
            return Cursor(reinterpret_cast<xmlNodePtr>(attribute));
    return {};
}

QString Cursor::attributeValue(const char* name) const
{
    const Cursor found = attribute(name);
    return found ? found.text() : QString();
}

bool Cursor::declaresNamespaces() const
{
    return isElement() && node_->nsDef;
}

bool Cursor::precedes(const Cursor& other) const
{
    // xmlXPathCmpNodes answers 1 when its first node comes first.
    return node_ && other.node_ && xmlXPathCmpNodes(node_, other.node_) == 1;
}

Cursor Cursor::nextElementWithin(const Cursor& root) const
{
    xmlNodePtr cur = node_;
    if (!cur)
        return {};
    // Down into an element's children first, then on to the next sibling of the nearest
    // node that has one, never above the root.
    xmlNodePtr next = cur->type == XML_ELEMENT_NODE || cur == root.node_ ? cur->children : nullptr;
    while (true) {
        while (!next) {
            if (cur == root.node_)
                return {};
            next = cur->next;
            if (!next) {
                cur = cur->parent;
                if (!cur || cur == root.node_)
                    return {};
            }
        }
        if (next->type == XML_ELEMENT_NODE) {
            // The walk waits on memory: the next sibling is fetched while the children are visited.
            __builtin_prefetch(next->next);
            return Cursor(next);
        }
        cur = next;
        next = nullptr;
    }
}

} // namespace veldra::xml
