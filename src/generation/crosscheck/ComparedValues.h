#pragma once

#include <QString>
#include <QStringList>

namespace veldra {

namespace xml {
class NodeList;
}

// What the values a comparison takes cost before it takes them, in UTF-8 bytes
// (xml::valueBytesWithin), which are never fewer than their characters.

// The lengths of the nodes' values together; the sum stops once it passes `limit`.
qint64 valuesLength(const xml::NodeList& nodes, qint64 limit);

// Queries that select every node whose value a query's comparisons take: for each side of a
// comparison that is a path, that path from the step its predicate belongs to, anywhere in
// the document ("//section/title" for `//section[title="x"]/text`, "//title" for
// `//section/title[.="x"]`). Literals are never read, so a value put into the query is not.
QStringList comparedNodesQueries(const QString& query);

} // namespace veldra
