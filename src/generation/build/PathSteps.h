#pragma once

#include "platform/xml/Document.h"
#include "platform/xml/Node.h"

#include <QString>
#include <QList>

#include <memory>
#include <vector>

namespace veldra {

// Fast, exact answers to the location paths a build asks of its target document.
//
// A build looks up paths such as "document/component/structuredBody/component/section[code/@code=
// '48780-1']/subject" thousands of times while the target grows. Evaluated as one query, each
// lookup visits every match in the whole document, so the build grows with the square of the
// label. These functions evaluate a path of plain child steps one step at a time and stop at
// the first match. A step's name and its conditions are tested on each child without the query
// engine where StepPredicate takes them; a step with any other condition is still the program's
// own query, relative to the node above. A path of any other form is handed to the query
// engine as it is.

// The same node as context.selectSingleNode(path): the first match in document order.
xml::Node firstMatch(const xml::Node& context, const QString& path);

// The same nodes as context.selectNodes(path), in document order.
QList<xml::Node> allMatches(const xml::Node& context, const QString& path);

// The nodes of allMatches(context, path) as libxml2 pointers, without a handle on each (the
// XML declaration and namespace declarations shown as nodes are left out). They stay valid
// while nothing is freed.
std::vector<xmlNodePtr> matchingNodes(const xml::Node& context, const QString& path);
std::vector<xmlNodePtr> matchingNodes(const xml::Document& document, const QString& path);

// A path compiled once and kept, for lookups repeated with the same path.
class LocationPath {
public:
    explicit LocationPath(const QString& path);

    // The same node as firstMatch(context, text()).
    xml::Node firstMatch(const xml::Node& context) const;
    const QString& text() const { return path_; }

private:
    struct Compiled;
    QString path_;
    std::shared_ptr<const Compiled> compiled_;
};

// The same as document.selectSingleNode(path) and document.selectNodes(path).
xml::Node firstMatch(const xml::Document& document, const QString& path);
QList<xml::Node> allMatches(const xml::Document& document, const QString& path);

// The same elements as document.selectNodes("//" + name), in document order.
QList<xml::Node> elementsNamed(const xml::Document& document, const QString& name);

// Whether `node` is among context.selectNodes(path). `context` is an ancestor of `node`, or
// the document node.
bool matchesPath(const xml::Node& node, const xml::Node& context, const QString& path);

} // namespace veldra
