#pragma once

#include "platform/xml/tree/Cursor.h"
#include "platform/xml/tree/Document.h"
#include "platform/xml/tree/Node.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <unordered_set>
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
// own query, relative to the node above. The path "." is the context itself. A path of any
// other form is handed to the query engine as it is.

// The same node as context.selectSingleNode(path): the first match in document order.
xml::Node firstMatch(const xml::Node& context, const QString& path);

// The same nodes as context.selectNodes(path), in document order.
QList<xml::Node> allMatches(const xml::Node& context, const QString& path);

// The nodes of allMatches(context, path) as cursors, without a handle on each (the XML
// declaration and namespace declarations shown as nodes are left out). They stay valid while
// nothing is freed.
std::vector<xml::Cursor> matchingNodes(const xml::Node& context, const QString& path);
std::vector<xml::Cursor> matchingNodes(const xml::Document& document, const QString& path);

// matchingNodes(document, path) for each of `paths`. Those of names (or "*") and conditions that
// StepPredicate takes are found in one walk, which goes down the steps they begin with once
// for all of them.
std::vector<std::vector<xml::Cursor>> matchingNodesOfEach(const xml::Document& document, const QStringList& paths);

// A node a pass took out of the tree, as it stood just before: the node, how many levels below
// the context it lay (the context's children are level 1) and the node it was taken from. The
// pass keeps what it takes out of an element unfreed while it asks (see RemovalBatch).
struct Removal {
    xml::Cursor node;
    int depth = 0;
    xml::Cursor parent;
};

// The matches of prefix + "/" + rest for many rests after one prefix, for a pass that only
// takes nodes out of the tree meanwhile: the prefix's matches are found once and kept while
// nothing taken out could change them (nothing at the levels its steps and their conditions
// look at). Matches of the prefix in `passedOver` are passed over where the prefix is walked
// step by step: the caller knows there is nothing to find below them.
//
// The rests the pass will ask for are given at the start. When each is a path of names whose
// conditions look no deeper than the children of their node, the first call finds them all
// in one walk of each prefix match, while its subtree is at hand, and later calls take their
// share of it: a node taken out since then drops out of that share with all below it, and
// nothing else changes it, but that a node loses a child its condition looks at. Then the
// shares are given up and each rest is walked again when asked.
class PrefixedPaths {
public:
    PrefixedPaths(const xml::Node& context, const QString& prefix, const QStringList& rests = {},
                  const std::unordered_set<xml::Cursor>* passedOver = nullptr);
    ~PrefixedPaths();

    // The nodes of matchingNodes(context, prefix), passed over or not. `removed` are the nodes
    // taken out of the tree since the previous call.
    std::vector<xml::Cursor> prefixMatches(const std::vector<Removal>& removed);

    // The nodes of matchingNodes(context, prefix + "/" + rest), in document order (but those
    // below the prefix matches passed over); `removed` as above.
    std::vector<xml::Cursor> matches(const QString& rest, const std::vector<Removal>& removed);

    struct Prefix;
    struct Shares;

private:
    void takeIn(const std::vector<Removal>& removed);
    void findPrefixMatches();
    void shareOut();
    bool passedOver(const xml::Cursor& prefixMatch) const;

    xml::Node context_;
    QString prefix_;
    QStringList rests_;
    const std::unordered_set<xml::Cursor>* passedOver_;
    std::shared_ptr<const Prefix> compiled_;
    std::vector<xml::Cursor> prefixMatches_;
    bool known_ = false;
    std::unique_ptr<Shares> shares_;
    bool sharesTried_ = false;
};

// A path compiled once and kept, for lookups repeated with the same path.
class LocationPath {
public:
    explicit LocationPath(const QString& path);

    // The same node as firstMatch(context, text()).
    xml::Node firstMatch(const xml::Node& context) const;
    // The same nodes as matchingNodes(context, text()).
    std::vector<xml::Cursor> matchingNodes(const xml::Node& context) const;
    // The same as matchesPath(node, context, text()).
    bool matches(const xml::Node& node, const xml::Node& context) const;
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
