#pragma once

#include <QByteArray>
#include <QString>

#include <libxml/tree.h>

#include <cstring>
#include <memory>

namespace veldra::word::detail {

struct XmlDocFree {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using XmlDoc = std::unique_ptr<xmlDoc, XmlDocFree>;

// A part is parsed into a tree, and its paragraphs, runs and cells into the model: some 200
// bytes a node together. A part with more nodes than this (elements, attributes, texts and the
// rest; some 100 times a long label's document part) is refused before it is parsed.
inline constexpr qint64 MaxPartNodes = 2'000'000;

// Parses a package part. Never touches the network; a part with a document type
// declaration is refused, so no entity can be declared, let alone expanded; so is one with
// an element of thousands of attributes (the parser's duplicate check is quadratic) or more
// than MaxPartNodes elements and attributes. nullptr and *error on failure.
XmlDoc parseXml(const QByteArray& bytes, QString* error);

inline xmlNode* root(xmlDoc* doc) { return doc ? xmlDocGetRootElement(doc) : nullptr; }

// The element children of a node, for range-for; a null node has none.
class ElementChildren {
public:
    class iterator {
    public:
        explicit iterator(xmlNode* node) : node_(skip(node)) {}
        xmlNode* operator*() const { return node_; }
        iterator& operator++()
        {
            node_ = skip(node_->next);
            return *this;
        }
        bool operator!=(const iterator& other) const { return node_ != other.node_; }

    private:
        static xmlNode* skip(xmlNode* node)
        {
            while (node && node->type != XML_ELEMENT_NODE)
                node = node->next;
            return node;
        }
        xmlNode* node_;
    };
    explicit ElementChildren(xmlNode* parent) : first_(parent ? parent->children : nullptr) {}
    iterator begin() const { return iterator(first_); }
    iterator end() const { return iterator(nullptr); }

private:
    xmlNode* first_;
};

inline ElementChildren children(xmlNode* node) { return ElementChildren(node); }

// Names compare by local name; a package may use the transitional or the strict
// namespaces, and the prefixes are the writer's choice.
inline bool isNamed(const xmlNode* node, const char* localName)
{
    return node && node->type == XML_ELEMENT_NODE
           && std::strcmp(reinterpret_cast<const char*>(node->name), localName) == 0;
}

// Whether the node is in the word-processing namespace (either flavour).
bool inWordNamespace(const xmlNode* node);

inline bool isW(const xmlNode* node, const char* localName)
{
    return isNamed(node, localName) && inWordNamespace(node);
}

// The first element child of that local name in the word-processing namespace, or null.
xmlNode* childW(xmlNode* node, const char* localName);
// The first descendant element of that local name (any namespace), or null.
xmlNode* descendant(xmlNode* node, const char* localName);

// The attribute of that local name, whatever its namespace; "" when absent.
QString attr(const xmlNode* node, const char* localName);
bool hasAttr(const xmlNode* node, const char* localName);
// The relationship-id attribute (r:id, r:embed, r:link), "" when absent.
QString relAttr(const xmlNode* node, const char* localName);
// An on/off property element: present without a value, or "1"/"true"/"on" is on.
bool onOff(const xmlNode* node);
int intAttr(const xmlNode* node, const char* localName, int fallback);
qint64 int64Attr(const xmlNode* node, const char* localName, qint64 fallback);
// The concatenated text content of a node.
QString textOf(const xmlNode* node);

} // namespace veldra::word::detail
