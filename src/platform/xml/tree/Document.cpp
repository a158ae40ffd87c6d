#include "platform/xml/tree/Document.h"

#include "platform/core/FileSave.h"
#include "platform/xml/io/Parser.h"
#include "platform/xml/io/Serializer.h"
#include "platform/xml/io/XmlErrors.h"
#include "platform/xml/tree/DocState.h"
#include "platform/xml/tree/NodeAccess.h"
#include "platform/xml/tree/TreeEdit.h"
#include "platform/xml/tree/XmlStrings.h"

#include <utility>

namespace veldra::xml {

using namespace detail;

namespace {

DocBox* newBox(DocState* state)
{
    auto* box = new DocBox;
    box->refs = 1;
    box->state = state;
    state->box = box;
    retain(state);
    return box;
}

Node newNode(xmlNodePtr node)
{
    if (!node)
        throwNodeError(QStringLiteral("Out of memory while creating a node."));
    keepDetached(node);
    return NodeAccess::wrap(node);
}

// Takes the copy's texts (attribute values included) into its dictionary too: a copy of its
// nodes into a document with the same dictionary then keeps them as they are, where it would
// look each one up.
void internTexts(xmlNodePtr root, xmlDictPtr dict)
{
    forEachInSubtree(root, [dict](xmlNodePtr node) {
        if (node->type != XML_TEXT_NODE || !node->content || xmlDictOwns(dict, node->content))
            return;
        if (const xmlChar* interned = xmlDictLookup(dict, node->content, -1)) {
            xmlFree(node->content);
            node->content = const_cast<xmlChar*>(interned);
        }
    });
}

// A deep copy with a dictionary of its own, as a parse with one interns its names: each
// element and attribute name of the copy, its texts, and each text that importNode and
// cloneNode copy into it, is then a dictionary entry instead of a block of its own, so a
// build that copies and takes out many nodes of it allocates and frees far fewer blocks (the
// entries stay until the document goes). A document with a document type declaration (which
// xmlCopyDoc links itself) is copied as xmlCopyDoc copies it. With `shareNames` the copy uses
// the source's dictionary: names and texts copied from one document into the other are then
// found in it without a lookup each.
xmlDocPtr copyDocument(xmlDocPtr source, bool shareNames)
{
    bool plain = source->intSubset || source->extSubset;
    for (xmlNodePtr child = source->children; child && !plain; child = child->next)
        plain = child->type == XML_DTD_NODE;
    if (plain)
        return xmlCopyDoc(source, 1);
    xmlDocPtr copy = xmlCopyDoc(source, 0);
    if (!copy)
        return nullptr;
    if (shareNames && source->dict && xmlDictReference(source->dict) == 0)
        copy->dict = source->dict;
    else
        copy->dict = xmlDictCreate();
    if (!copy->dict) {
        xmlFreeDoc(copy);
        return nullptr;
    }
    if (source->oldNs)
        copy->oldNs = xmlCopyNamespaceList(source->oldNs);
    for (xmlNodePtr child = source->children; child; child = child->next) {
        xmlNodePtr node = xmlDocCopyNode(child, copy, 1);
        if (!node) {
            xmlFreeDoc(copy);
            return nullptr;
        }
        linkChild(reinterpret_cast<xmlNodePtr>(copy), node, nullptr);
        internTexts(node, copy->dict);
    }
    return copy;
}

} // namespace

Document::Document() : box_(newBox(newEmptyState()))
{
}

Document::Document(DocState* state) : box_(nullptr)
{
    if (state->box) {
        box_ = state->box;
        ++box_->refs;
    } else {
        box_ = newBox(state);
    }
}

Document::Document(const Document& other) : box_(other.box_)
{
    if (box_)
        ++box_->refs;
}

Document::Document(Document&& other) noexcept : box_(std::exchange(other.box_, nullptr))
{
}

Document& Document::operator=(const Document& other)
{
    if (this != &other) {
        Document copy(other);
        std::swap(box_, copy.box_);
    }
    return *this;
}

Document& Document::operator=(Document&& other) noexcept
{
    std::swap(box_, other.box_);
    return *this;
}

Document::~Document()
{
    if (!box_ || --box_->refs > 0)
        return;
    if (box_->state->box == box_)
        box_->state->box = nullptr;
    release(box_->state);
    delete box_;
}

DocState* Document::state() const
{
    if (!box_)
        throwNodeError(QStringLiteral("The document was moved away."));
    return box_->state;
}

void Document::replaceState(DocState* state) const
{
    DocState* old = box_->state;
    state->selectionNamespaces = old->selectionNamespaces;
    if (old->box == box_)
        old->box = nullptr;
    box_->state = state;
    state->box = box_;
    retain(state);
    release(old);
}

bool Document::load(const QString& path, const LoadOptions& options)
{
    state();
    ParseOutcome outcome = parseFile(path, options);
    box_->parseError = outcome.error;
    replaceState(outcome.doc ? adoptDocument(outcome.doc, outcome.hasDeclaration) : newEmptyState());
    return outcome.doc != nullptr;
}

bool Document::loadXml(const QString& text)
{
    state();
    ParseOutcome outcome = parseText(text);
    box_->parseError = outcome.error;
    replaceState(outcome.doc ? adoptDocument(outcome.doc, outcome.hasDeclaration) : newEmptyState());
    return outcome.doc != nullptr;
}

void Document::loadCopy(const Document& source)
{
    loadCopy(source, false);
}

void Document::loadCopySharingNames(const Document& source)
{
    loadCopy(source, true);
}

void Document::loadCopy(const Document& source, bool shareNames)
{
    state();
    const DocState* from = source.state();
    xmlDocPtr copy = copyDocument(from->doc, shareNames);
    if (!copy)
        throw VbError(err::General, errorSource(), QStringLiteral("Out of memory while copying the document."));
    box_->parseError = ParseError();
    replaceState(adoptDocument(copy, from->hasDeclaration));
}

const ParseError& Document::parseError() const
{
    state();
    return box_->parseError;
}

QString Document::xml(Layout layout) const
{
    DocState* s = state();
    return documentText(s->doc, s->hasDeclaration, layout);
}

QByteArray Document::xmlBytes(Layout layout) const
{
    DocState* s = state();
    return documentBytes(s->doc, s->hasDeclaration, layout);
}

QByteArray Document::save(const QString& path, Layout layout) const
{
    QByteArray content = xmlBytes(layout);
    const QString problem = saveReplacing(path, content);
    if (!problem.isEmpty())
        throw VbError(err::FileAccess, errorSource(), QStringLiteral("The file '%1' cannot be written: %2").arg(path, problem));
    return content;
}

Node Document::asNode() const
{
    return NodeAccess::wrap(reinterpret_cast<xmlNodePtr>(state()->doc));
}

Node Document::documentElement() const
{
    return NodeAccess::wrap(xmlDocGetRootElement(state()->doc));
}

Node Document::firstChild() const
{
    return asNode().firstChild();
}

Node Document::lastChild() const
{
    return asNode().lastChild();
}

NodeList Document::childNodes() const
{
    return asNode().childNodes();
}

bool Document::hasChildNodes() const
{
    return asNode().hasChildNodes();
}

NodeList Document::selectNodes(const QString& query) const
{
    return asNode().selectNodes(query);
}

Node Document::selectSingleNode(const QString& query) const
{
    return asNode().selectSingleNode(query);
}

void Document::setSelectionNamespaces(const QHash<QString, QString>& prefixToUri) const
{
    DocState* s = state();
    for (auto it = prefixToUri.cbegin(); it != prefixToUri.cend(); ++it)
        requireQualifiedName(it.key());
    s->selectionNamespaces = prefixToUri;
    if (s->xpath) {
        xmlXPathFreeContext(s->xpath);
        s->xpath = nullptr;
    }
}

Node Document::createElement(const QString& name) const
{
    requireQualifiedName(name);
    if (name.contains(QLatin1Char(':')))
        throwNodeError(QStringLiteral("'%1': elements are created without a namespace prefix.").arg(name));
    return newNode(xmlNewDocNode(state()->doc, nullptr, bytes(toXml(name)), nullptr));
}

Node Document::createTextNode(const QString& text) const
{
    requireStorableText(text);
    return newNode(xmlNewDocText(state()->doc, bytes(toXml(withXmlLineBreaks(text)))));
}

Node Document::createComment(const QString& text) const
{
    const QString stored = withXmlLineBreaks(text);
    requireStorableText(stored);
    if (stored.contains(QLatin1String("--")) || stored.endsWith(QLatin1Char('-')))
        throwNodeError(QStringLiteral("A comment cannot hold \"--\" or end with \"-\"."));
    return newNode(xmlNewDocComment(state()->doc, bytes(toXml(stored))));
}

Node Document::createAttribute(const QString& name) const
{
    requireQualifiedName(name);
    if (name.contains(QLatin1Char(':')))
        throwNodeError(QStringLiteral("'%1': attributes are created without a namespace prefix.").arg(name));
    xmlAttrPtr attr = xmlNewDocProp(state()->doc, bytes(toXml(name)), nullptr);
    return newNode(reinterpret_cast<xmlNodePtr>(attr));
}

Node Document::importNode(const Node& node, bool deep) const
{
    if (node.isNull() || NodeAccess::isDeclaration(node) || NodeAccess::isNamespaceDeclaration(node)
        || isDocumentNode(NodeAccess::raw(node)))
        throwNodeError(QStringLiteral("This node cannot be imported."));
    return NodeAccess::wrap(copyNode(NodeAccess::raw(node), state()->doc, deep));
}

Node Document::appendChild(const Node& newChild) const
{
    return asNode().appendChild(newChild);
}

Node Document::insertBefore(const Node& newChild, const Node& refChild) const
{
    return asNode().insertBefore(newChild, refChild);
}

Node Document::replaceChild(const Node& newChild, const Node& oldChild) const
{
    return asNode().replaceChild(newChild, oldChild);
}

Node Document::removeChild(const Node& oldChild) const
{
    return asNode().removeChild(oldChild);
}

bool Document::hasDeclaration() const
{
    return state()->hasDeclaration;
}

void Document::setDeclarationEncoding(const QString& encoding) const
{
    DocState* s = state();
    if (!s->hasDeclaration) {
        s->hasDeclaration = true;
        s->doc->standalone = -2;
    }
    NodeAccess::declaration(s->doc).setAttribute(QStringLiteral("encoding"), encoding);
}

xmlDocPtr Document::raw() const
{
    return state()->doc;
}

bool Document::operator==(const Document& other) const
{
    return state() == other.state();
}

} // namespace veldra::xml
