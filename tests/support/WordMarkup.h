#pragma once

#include <QSize>
#include <QString>

namespace veldra::test {

// WordprocessingML pieces of a test document, as Word writes them; bodies and parts go to
// docxFrom (DocxFixture.h).

// The character formats of a run.
struct RunStyle {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    QString vertAlign;  // "", "subscript" or "superscript"
    // The vertical alignment written as some producers write it: the run raised or lowered
    // from the baseline in a smaller size.
    bool shiftedPosition = false;
};

// A run of text (escaped here).
QString wordRun(const QString& text, const RunStyle& style = {});
// A paragraph of these paragraph properties (inner XML of w:pPr) and runs.
QString wordParagraph(const QString& properties, const QString& runs);

// A paragraph as Word writes it (<w:p>…</w:p>) as a tracked move writes it at its old place
// (moved away: its runs and its mark) or at its new place (moved in), between the range
// marks of the move of that name.
enum class MoveSide { From, To };
QString movedParagraph(const QString& paragraph, MoveSide side, const QString& name);
// The markup with the moves movedParagraph writes accepted, as Word shows it then: the
// moved-away paragraphs gone, the moved-in ones plain, a cell left without a paragraph given
// an empty one.
QString acceptingMoves(QString markup);

// The styles of a label document: Normal, Title, Heading 1-3, List Paragraph, Table Grid.
QString labelDocumentStyles();
// The settings of a document a current Word wrote (not in compatibility mode).
QString currentWordSettings();

// Two list definitions, bullets (0) and decimal numbers (1), each on three levels.
QString listNumberingDefinitions();
// A numbering instance of one of them; a numbered one starts at 1 at that level.
QString numberingInstance(int numId, bool numbered, int level);
// The paragraph properties of an item of that numbering instance at that level (from 0).
QString listParagraphProperties(int numId, int level);

// Word's list styles "List Bullet", "List Bullet 2", "List Bullet 3" and "List Number" to
// "List Number 3" as another producer writes them: each numbers its paragraphs at the first
// level of a numbering of its own, and states its indent itself, deeper by depth; the
// numbering's own indent, the same for all, yields to it.
QString listStyleDefinitions();
QString listStyleNumbering();
// The paragraph properties of an item of that list style at that depth (from 0), and its indent.
QString listStyleParagraphProperties(bool numbered, int depth);
int listStyleIndent(int depth);

// An inline picture of that size (pixels at 96 dpi) whose image the relationship names.
QString inlinePicture(const QString& relationshipId, int pictureId, const QSize& size);

// A table cell over `span` grid columns; a vertical merge starts at it or continues it.
enum class CellMerge { None, Starts, Continued };
QString tableCell(int span, CellMerge merge, const QString& paragraphs);
// A row of cells; a head row repeats at the top of each page.
QString tableRow(const QString& cells, bool head);
// A table of equal columns, bordered all round and inside.
QString wordTable(int columns, const QString& rows);

} // namespace veldra::test
