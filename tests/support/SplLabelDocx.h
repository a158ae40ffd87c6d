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
    // lists inside list items), "table_layouts" (as tableLayout describes them), "pictures",
    // "superscripts" and "subscripts" (their text, blanks left out), "links" (the words of
    // each) and "list_depths" (the list items one, two and three or more deep).
    QJsonObject expected;
};

// Whether the section numbers of a label's titles are typed into its headings ("1.1 Heart
// Disease") or left to Word's heading numbering ("Heart Disease").
enum class SectionNumbers { LeftToWord, Typed };

// Who writes the document. Word writes superscripts and subscripts as such, each list as a
// numbering of its own at the level of its depth, a list item as one paragraph, and the
// label's links as their text. Another producer writes superscripts and subscripts as runs
// raised or lowered in a smaller size, nests lists by the list styles ("List Bullet 2" at the
// first level of a numbering of its own, indented deeper), writes links as hyperlinks, in
// table cells too, and an item's paragraphs after its first as paragraphs without a number,
// indented like it.
enum class Producer { Word, Other };

// The label of that SPL file: its title as a "Title" paragraph; each section with text a
// "Heading 1" paragraph (an untitled one named by its code),
// its subsections "Heading 2", deeper ones "Heading 3"; paragraphs with bold, italic,
// underline, subscript and superscript runs and their line breaks; lists as numbered and
// bulleted Word lists; tables as Word tables whose head rows repeat, with their spans; the
// pictures found in the label's folder inline where the label shows them. Product data and
// highlights are not label text and stay out.
LabelDocx labelDocxFromSpl(const QString& splFile, SectionNumbers numbers = SectionNumbers::LeftToWord,
                           Producer producer = Producer::Word);

} // namespace veldra::test
