#pragma once

#include "platform/xml/tree/Document.h"

#include <QJsonObject>
#include <QStringList>

namespace veldra::test {

// The lower-case words of a text, as a reader counts them.
QStringList wordsOf(const QString& text);
// The text without its blanks and line breaks.
QString withoutBlanks(QString text);
// How many of the expected words come back in their order (the longest common subsequence);
// the expected words that do not come back at all go to `missing`.
int wordsInOrder(const QStringList& expected, const QStringList& got, QStringList& missing);
// A table's rows, each "H" (head) or "B" (body) with its cells' spans ("1", "c2", "r3",
// "c2r3"): "H[1,c2] B[r2,1,1] B[1,1]". `headRows` makes the first rows the head in place of
// the rows the table's thead holds.
QString tableLayout(const xml::Node& table, int headRows = -1);
// The first difference between a settings document after a Word label import and what the
// label holds (a label's expected.json: its sections with their subsections, words, tables,
// list items, list items inside list items where counted, the layouts of its tables where given,
// pictures, and where given the text of its superscripts and subscripts, its links and its
// list items by depth), or "". A heading the
// log says the template lacks is lost text.
QString firstDifference(const xml::Document& settings, const QJsonObject& expected, const QStringList& log);

} // namespace veldra::test
