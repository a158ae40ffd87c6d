// Tables: cells by row and column, merged cells, borders, alignment and nesting.
#include "support/DocxFixture.h"

#include "platform/core/VbError.h"

#include <gtest/gtest.h>

using namespace veldra;
using namespace veldra::word;
using veldra::test::para;

namespace {

QString tc(const QString& text, const QString& properties = QString())
{
    return QStringLiteral("<w:tc><w:tcPr>%1</w:tcPr>%2</w:tc>").arg(properties, para(text));
}

QString tr(const QString& cells)
{
    return QStringLiteral("<w:tr>") + cells + QStringLiteral("</w:tr>");
}

const QString kGrid = QStringLiteral(
    "<w:tblPr><w:tblBorders><w:top w:val=\"single\"/><w:left w:val=\"single\"/><w:bottom w:val=\"single\"/>"
    "<w:right w:val=\"single\"/><w:insideH w:val=\"single\"/><w:insideV w:val=\"nil\"/></w:tblBorders></w:tblPr>");

} // namespace

TEST(DocxTable, CellsMergedCellsAndTheParagraphsOfATable)
{
    // Row 1: A spans two grid columns; B starts a vertical merge that row 2 continues.
    const Document doc = test::openDocx(
        para("before") +
        QStringLiteral("<w:tbl>%1%2%3</w:tbl>")
            .arg(tr(tc("A", "<w:gridSpan w:val=\"2\"/>") + tc("B", "<w:vMerge w:val=\"restart\"/>")),
                 tr(tc("C") + tc("D") + QStringLiteral("<w:tc><w:tcPr><w:vMerge/></w:tcPr><w:p/></w:tc>")),
                 tr(tc("E") + QStringLiteral("<w:tc><w:p><w:r><w:t>F1</w:t></w:r></w:p><w:p><w:r><w:t>F2</w:t></w:r></w:p></w:tc>"))) +
        para("after"));
    ASSERT_EQ(doc.tables().count(), 1);
    const Table table = doc.tables().first();
    EXPECT_EQ(table.rowCount(), 3);
    EXPECT_EQ(table.columnCount(), 3);
    EXPECT_EQ(table.cell(1, 2).range().text(), QStringLiteral("B\r"));
    EXPECT_EQ(table.cell(1, 1).columnSpan(), 2);
    EXPECT_EQ(table.cell(1, 2).rowSpan(), 2);
    EXPECT_EQ(table.cell(2, 1).columnSpan() * table.cell(2, 1).rowSpan(), 1);
    EXPECT_TRUE(table.continuesMerge(2, 3));
    EXPECT_FALSE(table.continuesMerge(1, 2));
    EXPECT_EQ(table.cellCount(2), 3);
    EXPECT_EQ(table.gridColumns(3), 2);
    EXPECT_EQ(table.headingRowCount(), 0);
    EXPECT_EQ(table.cell(3, 2).range().paragraphs().count(), 2);
    EXPECT_EQ(table.cell(3, 2).range().text(), QStringLiteral("F1\rF2\r"));
    struct Missing {
        int row, column;
    };
    for (const Missing m : {Missing{2, 3}, Missing{1, 3}, Missing{4, 1}, Missing{1, 0}}) {
        try {
            table.cell(m.row, m.column);
            ADD_FAILURE() << "cell " << m.row << "," << m.column << " should not exist";
        } catch (const VbError& e) {
            EXPECT_EQ(e.number(), word_error::NoSuchMember);
        }
    }
    // The table's paragraphs are the document's paragraphs between "before" and "after".
    const auto all = doc.paragraphs();
    EXPECT_EQ(table.range().paragraphs().count(), all.count() - 2);
    EXPECT_EQ(all.item(2).range().tables().count(), 1);
    EXPECT_EQ(all.item(1).range().tables().count(), 0);
    EXPECT_EQ(all.item(all.count()).range().text(), QStringLiteral("after\r"));
}

// Rows and cells deleted with tracked changes are gone once the changes are accepted, and
// so is a row left without cells; inserted ones stay.
TEST(DocxTable, RowsAndCellsDeletedWithTrackedChangesAreLeftOut)
{
    const QString deleted = QStringLiteral("<w:cellDel w:id=\"1\" w:author=\"x\"/>");
    const Document doc = test::openDocx(
        QStringLiteral("<w:tbl>%1%2%3%4</w:tbl>")
            .arg(tr(tc("A") + tc("gone", deleted) + tc("B", QStringLiteral("<w:cellIns w:id=\"2\" w:author=\"x\"/>"))),
                 QStringLiteral("<w:tr><w:trPr><w:del w:id=\"3\" w:author=\"x\"/></w:trPr>%1</w:tr>").arg(tc("row gone")),
                 tr(tc("C") + tc("D") + tc("gone", deleted)), tr(tc("gone", deleted) + tc("gone", deleted))));
    const Table table = doc.tables().first();
    EXPECT_EQ(table.range().text(), QStringLiteral("A\rB\rC\rD\r"));
    EXPECT_EQ(table.rowCount(), 2);
    EXPECT_EQ(table.cellCount(1), 2);
    EXPECT_EQ(table.cell(1, 2).range().text(), QStringLiteral("B\r"));
}

TEST(DocxTable, BordersAndAlignmentOfCells)
{
    const Document doc = test::openDocx(
        QStringLiteral("<w:tbl>%1%2%3</w:tbl>")
            .arg(kGrid,
                 tr(tc("a", "<w:vAlign w:val=\"bottom\"/>") + tc("b", "<w:tcBorders><w:top w:val=\"nil\"/></w:tcBorders>")),
                 tr(tc("c", "<w:tcBorders><w:right w:val=\"double\"/></w:tcBorders>") +
                    QStringLiteral("<w:tc>%1</w:tc>").arg(para("d", "<w:jc w:val=\"center\"/>")))));
    const Table table = doc.tables().first();
    struct Case {
        int row, column;
        bool top, left, bottom, right;
    };
    // Outer edges from the table, inside horizontal lines shown, inside vertical ones not.
    const Case cases[] = {
        {1, 1, true, true, true, false},
        {1, 2, false, false, true, true},
        {2, 1, true, true, true, true},
        {2, 2, true, false, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.row << "," << c.column);
        const Cell cell = table.cell(c.row, c.column);
        EXPECT_EQ(cell.border(border::Top), c.top);
        EXPECT_EQ(cell.border(border::Left), c.left);
        EXPECT_EQ(cell.border(border::Bottom), c.bottom);
        EXPECT_EQ(cell.border(border::Right), c.right);
    }
    EXPECT_EQ(table.cell(1, 1).verticalAlignment(), vertical_alignment::Bottom);
    EXPECT_EQ(table.cell(1, 2).verticalAlignment(), vertical_alignment::Top);
    EXPECT_EQ(table.cell(2, 2).range().paragraphFormat().alignment(), alignment::Center);
    EXPECT_EQ(table.cell(2, 1).range().paragraphFormat().alignment(), alignment::Left);
}

TEST(DocxTable, NestedTablesShowThroughTheirOuterTable)
{
    const QString inner = QStringLiteral("<w:tbl>%1</w:tbl>").arg(tr(tc("x") + tc("y")));
    const Document doc = test::openDocx(
        QStringLiteral("<w:tbl>%1</w:tbl>").arg(tr(QStringLiteral("<w:tc>%1%2</w:tc>").arg(para("top"), inner + para("")) + tc("z"))) +
        para("end"));
    ASSERT_EQ(doc.tables().count(), 1);
    const Table outer = doc.tables().first();
    EXPECT_EQ(outer.nestingLevel(), 1);
    ASSERT_EQ(outer.cell(1, 1).tables().count(), 1);
    const Table nested = outer.cell(1, 1).tables().first();
    EXPECT_EQ(nested.nestingLevel(), 2);
    EXPECT_EQ(nested.cell(1, 2).range().text(), QStringLiteral("y\r"));
    // A paragraph of the nested table belongs to the outer table for the walk.
    const Range x = nested.cell(1, 1).range();
    ASSERT_EQ(x.tables().count(), 1);
    EXPECT_EQ(x.tables().first().range(), outer.range());
    EXPECT_EQ(outer.range().paragraphs().count(), 5);
}
