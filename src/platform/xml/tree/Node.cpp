#include "platform/xml/tree/Node.h"

#include "platform/xml/io/Serializer.h"
#include "platform/xml/io/XmlErrors.h"
#include "platform/xml/query/QueryEvaluator.h"
#include "platform/xml/tree/Allocated.h"
#include "platform/xml/tree/AttributeEdit.h"
#include "platform/xml/tree/DocState.h"
#include "platform/xml/tree/Document.h"
#include "platform/xml/tree/NodeAccess.h"
#include "platform/xml/tree/NodeList.h"
#include "platform/xml/tree/TreeEdit.h"
#include "platform/xml/tree/XmlStrings.h"

#include <QRegularExpression>

#include <cstring>
#include <utility>

namespace veldra::xml {

using namespace detail;

namespace {

const QString kXmlnsNamespace = QStringLiteral("http://www.w3.org/2000/xmlns/");

xmlDocPtr asDoc(xmlNodePtr node)
{
    return reinterpret_cast<xmlDocPtr>(node);
}

bool hasDeclaration(xmlDocPtr doc)
{
    return stateOf(doc)->hasDeclaration;
}

// The document's own children, after the declaration.
Node firstTopLevel(xmlDocPtr doc)
{
    return NodeAccess::wrap(doc->children);
}

void requireElement(xmlNodePtr node, const char* what)
{
    if (node->type != XML_ELEMENT_NODE)
        throwNodeError(QStringLiteral("Only elements have %1.").arg(QLatin1String(what)));
}

void freeString(const xmlChar*& field)
{
    if (field)
        xmlFree(const_cast<xmlChar*>(field));
    field = nullptr;
}

// The declaration's pseudo-attributes.
QString declarationAttribute(xmlDocPtr doc, const QString& name)
{
    if (name == QLatin1String("version"))
        return doc->version ? fromXml(doc->version) : QStringLiteral("1.0");
    if (name == QLatin1String("encoding"))
        return doc->encoding ? fromXml(doc->encoding) : QString();
    if (name == QLatin1String("standalone") && (doc->standalone == 0 || doc->standalone == 1))
        return doc->standalone == 1 ? QStringLiteral("yes") : QStringLiteral("no");
    return QString();
}

void setDeclarationAttribute(xmlDocPtr doc, const QString& name, const QString& value)
{
    if (name == QLatin1String("standalone")) {
        if (value != QLatin1String("yes") && value != QLatin1String("no"))
            throwNodeError(QStringLiteral("standalone must be \"yes\" or \"no\"."));
        doc->standalone = value == QLatin1String("yes") ? 1 : 0;
        return;
    }
    const bool version = name == QLatin1String("version");
    if (!version && name != QLatin1String("encoding"))
        throwNodeError(QStringLiteral("The XML declaration has no attribute '%1'.").arg(name));
    static const QRegularExpression allowed(QStringLiteral("^[A-Za-z0-9._-]+$"));
    if (!allowed.match(value).hasMatch())
        throwNodeError(QStringLiteral("'%1' is not a valid value for %2.").arg(value, name));
    const xmlChar*& field = version ? doc->version : doc->encoding;
    const xmlChar* copy = allocated(xmlStrdup(bytes(toXml(value))));
    freeString(field);
    field = copy;
}

void removeDeclarationAttribute(xmlDocPtr doc, const QString& name)
{
    if (name == QLatin1String("encoding"))
        freeString(doc->encoding);
    else if (name == QLatin1String("standalone"))
        doc->standalone = -2;
    else if (name == QLatin1String("version"))
        throwNodeError(QStringLiteral("The XML declaration needs its version."));
}

void requireStorableContent(xmlNodePtr node, const QString& text)
{
    if (node->type == XML_COMMENT_NODE && (text.contains(QLatin1String("--")) || text.endsWith(QLatin1Char('-'))))
        throwNodeError(QStringLiteral("A comment cannot hold \"--\" or end with \"-\"."));
    if (node->type == XML_PI_NODE && text.contains(QLatin1String("?>")))
        throwNodeError(QStringLiteral("A processing instruction cannot hold \"?>\"."));
}

} // namespace

Node::Node(xmlNodePtr node, Kind kind, xmlNsPtr ns) : node_(node), ns_(ns), kind_(kind)
{
    acquire();
}

Node::Node(const Node& other) : node_(other.node_), ns_(other.ns_), kind_(other.kind_)
{
    acquire();
}

Node::Node(Node&& other) noexcept
    : node_(std::exchange(other.node_, nullptr)), ns_(std::exchange(other.ns_, nullptr)), kind_(other.kind_)
{
}

Node& Node::operator=(const Node& other)
{
    if (this != &other) {
        Node copy(other);
        *this = std::move(copy);
    }
    return *this;
}

Node& Node::operator=(Node&& other) noexcept
{
    if (this != &other) {
        drop();
        node_ = std::exchange(other.node_, nullptr);
        ns_ = std::exchange(other.ns_, nullptr);
        kind_ = other.kind_;
    }
    return *this;
}

Node::~Node()
{
    drop();
}

void Node::acquire()
{
    if (node_)
        retainNode(node_);
}

void Node::drop()
{
    if (node_)
        releaseNode(std::exchange(node_, nullptr));
    ns_ = nullptr;
}

void Node::requireNotNull() const
{
    if (!node_)
        throwNodeError(QStringLiteral("The node is not set (no node)."));
}

bool Node::operator==(const Node& other) const
{
    return node_ == other.node_ && ns_ == other.ns_ && kind_ == other.kind_;
}

QString Node::nodeName() const
{
    requireNotNull();
    switch (kind_) {
    case Kind::Declaration: return QStringLiteral("xml");
    case Kind::NamespaceDeclaration: return ns_->prefix ? QStringLiteral("xmlns:") + fromXml(ns_->prefix) : QStringLiteral("xmlns");
    case Kind::Plain: break;
    }
    switch (node_->type) {
    case XML_ELEMENT_NODE:
    case XML_ATTRIBUTE_NODE: return qualifiedName(node_);
    case XML_TEXT_NODE: return QStringLiteral("#text");
    case XML_CDATA_SECTION_NODE: return QStringLiteral("#cdata-section");
    case XML_COMMENT_NODE: return QStringLiteral("#comment");
    case XML_DOCUMENT_NODE:
    case XML_HTML_DOCUMENT_NODE: return QStringLiteral("#document");
    default: return fromXml(node_->name);
    }
}

NodeType Node::nodeType() const
{
    requireNotNull();
    switch (kind_) {
    case Kind::Declaration: return NodeType::ProcessingInstruction;
    case Kind::NamespaceDeclaration: return NodeType::Attribute;
    case Kind::Plain: break;
    }
    const std::optional<NodeType> shown = detail::shownType(node_->type);
    if (!shown)
        throwNodeError(QStringLiteral("This kind of node is not supported."));
    return *shown;
}

QString Node::baseName() const
{
    requireNotNull();
    if (kind_ == Kind::NamespaceDeclaration)
        return ns_->prefix ? fromXml(ns_->prefix) : QStringLiteral("xmlns");
    if (kind_ == Kind::Plain && (node_->type == XML_ELEMENT_NODE || node_->type == XML_ATTRIBUTE_NODE))
        return fromXml(node_->name);
    return kind_ == Kind::Declaration || node_->type == XML_PI_NODE || node_->type == XML_DTD_NODE ? nodeName()
                                                                                                     : QString();
}

QString Node::prefix() const
{
    requireNotNull();
    if (kind_ == Kind::NamespaceDeclaration)
        return ns_->prefix ? QStringLiteral("xmlns") : QString();
    if (kind_ == Kind::Plain && (node_->type == XML_ELEMENT_NODE || node_->type == XML_ATTRIBUTE_NODE) && node_->ns)
        return fromXml(node_->ns->prefix);
    return QString();
}

QString Node::namespaceURI() const
{
    requireNotNull();
    if (kind_ == Kind::NamespaceDeclaration)
        return kXmlnsNamespace;
    if (kind_ == Kind::Plain && (node_->type == XML_ELEMENT_NODE || node_->type == XML_ATTRIBUTE_NODE) && node_->ns)
        return fromXml(node_->ns->href);
    return QString(QLatin1String(""));
}

QString Node::text() const
{
    requireNotNull();
    switch (kind_) {
    case Kind::Declaration: return declarationData(asDoc(node_));
    case Kind::NamespaceDeclaration: return fromXml(ns_->href);
    case Kind::Plain: break;
    }
    if (node_->type == XML_DTD_NODE)
        return QString(QLatin1String(""));
    QString value = takeXml(xmlNodeGetContent(node_));
    return value.isNull() ? QString(QLatin1String("")) : value;
}

void Node::setText(const QString& text) const
{
    requireNotNull();
    if (kind_ != Kind::Plain)
        throwNodeError(QStringLiteral("The text of '%1' cannot be set.").arg(nodeName()));
    requireStorableText(text);
    const QString stored = withXmlLineBreaks(text);
    switch (node_->type) {
    case XML_ELEMENT_NODE:
        replaceChildren(node_, stored.isEmpty() ? nullptr : newText(node_->doc, bytes(toXml(stored))));
        return;
    case XML_ATTRIBUTE_NODE:
        setAttributeValue(reinterpret_cast<xmlAttrPtr>(node_), stored);
        return;
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE:
    case XML_COMMENT_NODE:
    case XML_PI_NODE:
        requireStorableContent(node_, stored);
        xmlNodeSetContent(node_, bytes(toXml(stored)));
        return;
    default:
        throwNodeError(QStringLiteral("The text of '%1' cannot be set.").arg(nodeName()));
    }
}

Node Node::parentNode() const
{
    requireNotNull();
    if (kind_ == Kind::Declaration)
        return hasDeclaration(asDoc(node_)) ? NodeAccess::wrap(node_) : Node();
    if (kind_ == Kind::NamespaceDeclaration || node_->type == XML_ATTRIBUTE_NODE || isDocumentNode(node_))
        return Node();
    return NodeAccess::wrap(node_->parent);
}

NodeList Node::childNodes() const
{
    std::vector<Node> children;
    for (Node child = firstChild(); child; child = child.nextSibling())
        children.push_back(child);
    return NodeList(std::move(children));
}

Node Node::firstChild() const
{
    requireNotNull();
    if (kind_ != Kind::Plain || node_->type == XML_ATTRIBUTE_NODE || node_->type == XML_DTD_NODE)
        return Node();
    if (isDocumentNode(node_) && hasDeclaration(asDoc(node_)))
        return NodeAccess::declaration(asDoc(node_));
    return NodeAccess::wrap(node_->children);
}

Node Node::lastChild() const
{
    requireNotNull();
    if (kind_ != Kind::Plain || node_->type == XML_ATTRIBUTE_NODE || node_->type == XML_DTD_NODE)
        return Node();
    if (isDocumentNode(node_) && !node_->last && hasDeclaration(asDoc(node_)))
        return NodeAccess::declaration(asDoc(node_));
    return NodeAccess::wrap(node_->last);
}

Node Node::nextSibling() const
{
    requireNotNull();
    if (kind_ == Kind::Declaration)
        return hasDeclaration(asDoc(node_)) ? firstTopLevel(asDoc(node_)) : Node();
    if (kind_ == Kind::NamespaceDeclaration || node_->type == XML_ATTRIBUTE_NODE || isDocumentNode(node_))
        return Node();
    return NodeAccess::wrap(node_->next);
}

Node Node::previousSibling() const
{
    requireNotNull();
    if (kind_ != Kind::Plain || node_->type == XML_ATTRIBUTE_NODE || isDocumentNode(node_))
        return Node();
    if (!node_->prev && node_->parent && isDocumentNode(node_->parent) && hasDeclaration(node_->doc))
        return NodeAccess::declaration(node_->doc);
    return NodeAccess::wrap(node_->prev);
}

bool Node::hasChildNodes() const
{
    return !firstChild().isNull();
}

Document Node::ownerDocument() const
{
    requireNotNull();
    if (kind_ == Kind::Plain && isDocumentNode(node_))
        return NodeAccess::document(stateOf(asDoc(node_)));
    return NodeAccess::document(stateOf(documentOf(node_)));
}

QString Node::getAttribute(const QString& name) const
{
    requireNotNull();
    if (kind_ == Kind::Declaration)
        return declarationAttribute(asDoc(node_), name);
    if (kind_ != Kind::Plain)
        throwNodeError(QStringLiteral("Only elements have attributes."));
    requireElement(node_, "attributes");
    if (xmlNsPtr ns = findNamespaceDeclaration(node_, name))
        return fromXml(ns->href);
    xmlAttrPtr attr = findAttribute(node_, name);
    if (!attr)
        return QString();
    const QString value = attributeValue(attr);
    return value.isNull() ? QString(QLatin1String("")) : value;
}

bool Node::hasAttribute(const QString& name) const
{
    return !getAttribute(name).isNull();
}

void Node::setAttribute(const QString& name, const QString& value) const
{
    requireNotNull();
    if (kind_ == Kind::Declaration) {
        setDeclarationAttribute(asDoc(node_), name, value);
        return;
    }
    if (kind_ != Kind::Plain)
        throwNodeError(QStringLiteral("Only elements have attributes."));
    requireElement(node_, "attributes");
    detail::setAttribute(node_, name, value);
}

namespace {

bool isAsciiLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// A name without prefix that needs no check; names beginning with "xml" (namespace
// declarations among them) take the general road.
bool isPlainAsciiName(const char* name)
{
    if (!name || !(isAsciiLetter(name[0]) || name[0] == '_') || std::strncmp(name, "xml", 3) == 0)
        return false;
    for (const char* c = name + 1; *c; ++c)
        if (!(isAsciiLetter(*c) || (*c >= '0' && *c <= '9') || *c == '_' || *c == '.' || *c == '-'))
            return false;
    return true;
}

// UTF-8 that setAttribute would store unchanged: no CR to turn into LF, no control character,
// and none of U+F000 to U+FFFF, among which are the two XML cannot hold.
bool isStoredUnchanged(const QByteArray& value)
{
    // Written without branches or an early exit, so that the compiler tests many bytes at once.
    unsigned char changed = 0;
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        changed |= static_cast<unsigned char>((byte < 0x20) & (byte != '\t') & (byte != '\n'))
            | static_cast<unsigned char>(byte == 0xEF);
    }
    return changed == 0;
}

} // namespace

void Node::setAttributeUtf8(const char* name, const QByteArray& value) const
{
    if (kind_ == Kind::Plain && node_ && node_->type == XML_ELEMENT_NODE && isPlainAsciiName(name)
        && isStoredUnchanged(value)) {
        setAttributeText(node_, nullptr, BAD_CAST name, value);
        return;
    }
    setAttribute(QString::fromUtf8(name), QString::fromUtf8(value));
}

void Node::removeAttribute(const QString& name) const
{
    requireNotNull();
    if (kind_ == Kind::Declaration) {
        removeDeclarationAttribute(asDoc(node_), name);
        return;
    }
    if (kind_ != Kind::Plain)
        throwNodeError(QStringLiteral("Only elements have attributes."));
    requireElement(node_, "attributes");
    detail::removeAttribute(node_, name);
}

NodeList Node::attributes() const
{
    requireNotNull();
    std::vector<Node> result;
    if (kind_ == Kind::Plain && node_->type == XML_ELEMENT_NODE) {
        for (xmlNsPtr ns = node_->nsDef; ns; ns = ns->next)
            result.push_back(NodeAccess::namespaceDeclaration(node_, ns));
        for (xmlAttrPtr attr = node_->properties; attr; attr = attr->next)
            result.push_back(NodeAccess::wrap(reinterpret_cast<xmlNodePtr>(attr)));
    }
    return NodeList(std::move(result));
}

Node Node::getAttributeNode(const QString& name) const
{
    requireNotNull();
    if (kind_ != Kind::Plain || node_->type != XML_ELEMENT_NODE)
        return Node();
    if (xmlNsPtr ns = findNamespaceDeclaration(node_, name))
        return NodeAccess::namespaceDeclaration(node_, ns);
    return NodeAccess::wrap(reinterpret_cast<xmlNodePtr>(findAttribute(node_, name)));
}

Node Node::setAttributeNode(const Node& attribute) const
{
    requireNotNull();
    attribute.requireNotNull();
    if (attribute.kind_ != Kind::Plain || attribute.node_->type != XML_ATTRIBUTE_NODE)
        throwNodeError(QStringLiteral("Only an attribute node can be set as an attribute."));
    if (kind_ == Kind::Declaration) {
        setDeclarationAttribute(asDoc(node_), attribute.nodeName(), attribute.text());
        return Node();
    }
    if (kind_ != Kind::Plain)
        throwNodeError(QStringLiteral("Only elements have attributes."));
    requireElement(node_, "attributes");
    return NodeAccess::wrap(reinterpret_cast<xmlNodePtr>(
        putAttribute(node_, reinterpret_cast<xmlAttrPtr>(attribute.node_))));
}

Node Node::appendChild(const Node& newChild) const
{
    return insertBefore(newChild, Node());
}

Node Node::insertBefore(const Node& newChild, const Node& refChild) const
{
    requireNotNull();
    newChild.requireNotNull();
    if (kind_ != Kind::Plain || newChild.kind_ != Kind::Plain)
        throwNodeError(QStringLiteral("This node cannot be inserted here."));
    xmlNodePtr before = nullptr;
    if (refChild) {
        if (refChild.kind_ == Kind::Declaration) {
            if (refChild.node_ != node_ || !hasDeclaration(asDoc(node_)))
                throwNodeError(QStringLiteral("The reference node is not a child of this node."));
            throwNodeError(QStringLiteral("Nothing can stand before the XML declaration."));
        }
        if (refChild.kind_ != Kind::Plain)
            throwNodeError(QStringLiteral("The reference node is not a child of this node."));
        before = refChild.node_;
    }
    insertChild(node_, newChild.node_, before);
    return newChild;
}

Node Node::replaceChild(const Node& newChild, const Node& oldChild) const
{
    requireNotNull();
    oldChild.requireNotNull();
    if (newChild == oldChild)
        return oldChild;
    if (oldChild.kind_ == Kind::Declaration)
        throwNodeError(QStringLiteral("The XML declaration cannot be replaced; set its attributes instead."));
    insertBefore(newChild, oldChild);
    return removeChild(oldChild);
}

Node Node::removeChild(const Node& oldChild) const
{
    requireNotNull();
    oldChild.requireNotNull();
    if (oldChild.kind_ == Kind::Declaration && kind_ == Kind::Plain && oldChild.node_ == node_
        && hasDeclaration(asDoc(node_))) {
        stateOf(asDoc(node_))->hasDeclaration = false;
        return oldChild;
    }
    if (kind_ != Kind::Plain || oldChild.kind_ != Kind::Plain || oldChild.node_->type == XML_ATTRIBUTE_NODE
        || oldChild.node_->parent != node_)
        throwNodeError(QStringLiteral("The node to remove is not a child of this node."));
    detachChild(oldChild.node_);
    return oldChild;
}

Node Node::cloneNode(bool deep) const
{
    requireNotNull();
    if (kind_ != Kind::Plain)
        throwNodeError(QStringLiteral("'%1' cannot be cloned.").arg(nodeName()));
    if (isDocumentNode(node_)) {
        xmlDocPtr copy = xmlCopyDoc(asDoc(node_), deep ? 1 : 0);
        if (!copy)
            throwNodeError(QStringLiteral("The document could not be copied."));
        DocState* state = adoptDocument(copy, hasDeclaration(asDoc(node_)));
        state->selectionNamespaces = stateOf(asDoc(node_))->selectionNamespaces;
        return NodeAccess::wrap(reinterpret_cast<xmlNodePtr>(copy));
    }
    return NodeAccess::wrap(copyNode(node_, node_->doc, deep));
}

NodeList Node::selectNodes(const QString& query) const
{
    requireNotNull();
    if (kind_ != Kind::Plain)
        throwNodeError(QStringLiteral("Queries cannot start at '%1'.").arg(nodeName()));
    return detail::selectNodes(node_, query);
}

Node Node::selectSingleNode(const QString& query) const
{
    requireNotNull();
    if (kind_ != Kind::Plain)
        throwNodeError(QStringLiteral("Queries cannot start at '%1'.").arg(nodeName()));
    return detail::selectSingleNode(node_, query);
}

QString Node::xml() const
{
    requireNotNull();
    switch (kind_) {
    case Kind::Declaration: return declarationText(asDoc(node_));
    case Kind::NamespaceDeclaration: return nodeName() + QStringLiteral("=\"") + text().toHtmlEscaped() + QLatin1Char('"');
    case Kind::Plain: break;
    }
    if (isDocumentNode(node_))
        return documentText(asDoc(node_), hasDeclaration(asDoc(node_)), Layout::AsIs);
    return nodeText(node_);
}

} // namespace veldra::xml
