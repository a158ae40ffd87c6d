#pragma once

#include "platform/xml/io/Layout.h"
#include "platform/xml/io/LoadOptions.h"
#include "platform/xml/io/ParseError.h"
#include "platform/xml/io/Serializer.h"
#include "platform/xml/tree/Node.h"
#include "platform/xml/tree/NodeList.h"

#include <QHash>
#include <QString>

struct _xmlDoc;

namespace veldra::xml {

namespace detail {
struct DocBox;
struct DocState;
struct NodeAccess;
}

// An XML document. Document is a handle: copies share one document, as references to one
// DOM object do, so a load through one copy is seen through all of them. A default-constructed
// Document is a usable empty document.
//
// Loading never touches the network and never reads anything but the named file: DTDs are not
// loaded, documents whose type declares anything or that use undeclared entities are refused,
// and overly deep (more than 256 levels) or large (256 MiB) input fails with a parse error.
// After a load, whitespace-only text that is only layout is gone (rules in WhitespaceRules.h), so
// "the first child is an element" holds in indented files while the blanks between inline
// elements of SPL narrative text stay.
//
// The XML declaration is the document's first child node (see Node.h). Saving writes it as it
// is; the file is encoded in the encoding the declaration names (UTF-8 when it names none or
// there is no declaration).
class Document {
public:
    Document();
    Document(const Document& other);
    Document(Document&& other) noexcept;
    Document& operator=(const Document& other);
    Document& operator=(Document&& other) noexcept;
    ~Document();

    // Replace the content by the file's or the text's. On failure the document is empty and
    // parseError() says why (a missing file is a parse error too); nodes of the former
    // content stay usable while referenced. An outside file read whole is loaded with
    // OutsideFile (or OutsideFileWithoutComments), so that its size in memory is bounded.
    bool load(const QString& path, const LoadOptions& options = {});
    bool loadXml(const QString& text);
    // Replace the content by a deep copy of source's (declaration included), as a load of the
    // same text would give, without parsing it again.
    void loadCopy(const Document& source);
    // As loadCopy, the copy sharing source's store of names and texts: nodes imported from one
    // into the other take theirs without a lookup each. For a working copy that lives no
    // longer than the source's other uses: what is imported into it stays in the store while
    // either document does.
    void loadCopySharingNames(const Document& source);
    const ParseError& parseError() const;

    QString xml(Layout layout = Layout::AsIs) const;
    // The bytes save() writes: encoded as the declaration says (UTF-8 without one).
    QByteArray xmlBytes(Layout layout = Layout::AsIs) const;
    // Writes a temporary file beside path and renames it over path, so a failed save leaves
    // the former file untouched. Throws VbError when the file cannot be written. Gives the
    // bytes written.
    QByteArray save(const QString& path, Layout layout = Layout::AsIs) const;

    Node asNode() const;
    Node documentElement() const;
    Node firstChild() const;
    Node lastChild() const;
    NodeList childNodes() const;
    bool hasChildNodes() const;

    NodeList selectNodes(const QString& query) const;
    Node selectSingleNode(const QString& query) const;
    // Prefixes that queries may use in names (prefix -> namespace URI), e.g. {"x", "urn:hl7-org:v3"}.
    void setSelectionNamespaces(const QHash<QString, QString>& prefixToUri) const;

    // New nodes of this document, not yet in its tree. Elements have no namespace.
    Node createElement(const QString& name) const;
    Node createTextNode(const QString& text) const;
    Node createComment(const QString& text) const;
    Node createAttribute(const QString& name) const;
    // A copy of a node of any document, belonging to this one and not yet in its tree.
    Node importNode(const Node& node, bool deep) const;

    Node appendChild(const Node& newChild) const;
    Node insertBefore(const Node& newChild, const Node& refChild) const;
    Node replaceChild(const Node& newChild, const Node& oldChild) const;
    Node removeChild(const Node& oldChild) const;

    bool hasDeclaration() const;
    // Sets the declaration's encoding, adding a declaration when the document has none.
    void setDeclarationEncoding(const QString& encoding) const;

    // For the other platform helpers (schema validation, XSLT). Read it, never free it, never
    // use the _private fields, and transform a copy (xmlCopyDoc), not the document itself.
    _xmlDoc* raw() const;

    bool operator==(const Document& other) const;
    bool operator!=(const Document& other) const { return !(*this == other); }

private:
    friend struct detail::NodeAccess;
    explicit Document(detail::DocState* state);
    detail::DocState* state() const;
    void replaceState(detail::DocState* state) const;
    void loadCopy(const Document& source, bool shareNames);

    detail::DocBox* box_;
};

} // namespace veldra::xml
