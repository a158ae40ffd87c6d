#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>

namespace veldra::test {

// A real SPL label as a labeler writes it in Word, and what an import of that document must
// give back.
struct LabelDocx {
    QByteArray docx;
    // As the fixture labels' expected.json: "sections", each with "title", "code" (the label's
    // LOINC section code), "subsections",
    // "subsection_levels", "words", "tables", "list_items", "nested_list_items" (the items of
    // lists inside list items), "table_layouts" (as tableLayout describes them) and "pictures".
    QJsonObject expected;
};

// Whether the section numbers of a label's titles are typed into its headings ("1.1 Heart
// Disease") or left to Word's heading numbering ("Heart Disease").
enum class SectionNumbers { LeftToWord, Typed };

// The label of that SPL file: its title as a "Title" paragraph; each section with text a
// "Heading 1" paragraph (an untitled one named by its code),
// its subsections "Heading 2", deeper ones "Heading 3"; paragraphs with bold, italic,
// underline, subscript and superscript runs and their line breaks; lists as numbered and
// bulleted Word lists; tables as Word tables whose head rows repeat, with their spans; the
// pictures found in the label's folder inline where the label shows them. Product data and
// highlights are not label text and stay out.
LabelDocx labelDocxFromSpl(const QString& splFile, SectionNumbers numbers = SectionNumbers::LeftToWord);

} // namespace veldra::test
