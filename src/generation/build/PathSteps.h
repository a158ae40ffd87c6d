#pragma once

#include "platform/xml/Node.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace veldra {

// Fast, exact answers to the location paths a build asks of its target document.
//
// A build looks up paths such as "document/component/structuredBody/component/section[code/@code=
// '48780-1']/subject" thousands of times while the target grows. Evaluated as one query, each
// lookup visits every match in the whole document, so the build grows with the square of the
// label. These functions evaluate a path of plain child steps one step at a time (each step is
// still the program's own query, relative to the node above, so names and predicates mean what
// they mean in a query) and stop at the first match. A path of any other form is handed to
// the query engine as it is.

// The steps of a path made of child steps only ("name", "*", each with predicates), or nothing
// for any other form ("//", "..", ".", axes, attributes, functions, unions, a leading "/").
std::optional<QStringList> childSteps(const QString& path);

// The same node as context.selectSingleNode(path): the first match in document order.
xml::Node firstMatch(const xml::Node& context, const QString& path);

// Whether `node` is among context.selectNodes(path). `context` is an ancestor of `node`, or
// the document node.
bool matchesPath(const xml::Node& node, const xml::Node& context, const QString& path);

} // namespace veldra
