#pragma once

#include "platform/word/DocxWriter.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace veldra::label_template {

// Chooses one of `count` sample sentences (0-based, count > 0). The program chooses
// uniformly at random; tests choose what they need.
using SamplePick = std::function<int(int count)>;
int randomSample(int count);

// The titles of the top-level sections of the SPL label skeleton, in document order and
// unchanged. Throws VbError naming the file when it cannot be read, is not well-formed or
// holds no section title: a template without sections would be an empty document.
QStringList sectionTitles(const QString& skeletonPath);

// The sample sentences: the file's non-empty lines, or none when it cannot be read (the
// template's sample paragraphs are then left empty for the author to fill).
QStringList sampleSentences(const QString& path);

// The empty label as a word-processing document, in the styles the label import reads by
// default. Per section title T: T in "Heading 1", a sample sentence, a numbered list
// "Numerus Album 1" to "Numerus Album 5"; then three subsections, each a "Heading 2"
// "Subsection j of t" (t: T in lower case), a sample sentence, a 4 by 3 table ("Table Header
// c" over rows "Table Value r,c") and the same five items as a bulleted list; then a page
// break.
word::DocxWriter templateDocument(const QStringList& titles, const QStringList& samples, const SamplePick& pick);

} // namespace veldra::label_template
