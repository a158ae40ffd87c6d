#pragma once

#include "platform/xml/Document.h"

#include <QJsonObject>
#include <QStringList>

namespace veldra::test {

// The lower-case words of a text, as a reader counts them.
QStringList wordsOf(const QString& text);
// How many of the expected words come back in their order (the longest common subsequence);
// the expected words that do not come back at all go to `missing`.
int wordsInOrder(const QStringList& expected, const QStringList& got, QStringList& missing);
// The first difference between a settings document after a Word label import and what the
// label holds (a label's expected.json: its sections with their subsections, words, tables,
// list items, list items inside list items where counted, and pictures), or "". A heading the
// log says the template lacks is lost text.
QString firstDifference(const xml::Document& settings, const QJsonObject& expected, const QStringList& log);

} // namespace veldra::test
