#include "wordimport/clsWord.h"

#include "wordimport/ImportLog.h"
#include "wordimport/TableCells.h"

#include <algorithm>
#include <functional>

namespace veldra {

namespace {

QString alignPart(int alignment)
{
    switch (alignment) {
    case word::alignment::Left: return QStringLiteral("left");
    case word::alignment::Center: return QStringLiteral("center");
    case word::alignment::Right: return QStringLiteral("right");
    case word::alignment::Justify: return QStringLiteral("justify");
    default: return QString();
    }
}

QString valignPart(int alignment)
{
    switch (alignment) {
    case 0: return QStringLiteral("top");
    case 1:
    case 2: return QStringLiteral("middle");
    case 3: return QStringLiteral("bottom");
    default: return QString();
    }
}

QString attribute(const QString& name, const QString& value)
{
    return value.isEmpty() ? QString() : QLatin1Char(' ') + name + QStringLiteral("=\"") + value + QStringLiteral("\" ");
}

QString rulesOf(const word::Cell& cell)
{
    QString rules;
    const std::pair<int, const char*> edges[] = {{word::border::Top, "Toprule"}, {word::border::Bottom, "Botrule"},
                                                 {word::border::Left, "Lrule"}, {word::border::Right, "Rrule"}};
    for (const auto& [edge, name] : edges)
        if (cell.border(edge))
            rules += QLatin1Char(' ') + QLatin1String(name);
    return rules.simplified();
}

// Bullets drawn from a picture are bullets all the same.
bool isBulleted(int listType)
{
    return listType == word::list_type::Bullet || listType == word::list_type::PictureBullet;
}

QString listOpening(int listType)
{
    return isBulleted(listType) ? QStringLiteral("<list listType=\"unordered\" styleCode=\"Disc\">")
                                : QStringLiteral("<list listType=\"ordered\" styleCode=\"Arabic\">");
}

// The content of a table cell: its paragraphs, `pieceOf` each, separated by line breaks; a
// run of list paragraphs of one list type becomes a list of its own, which needs no line
// break before or after it.
QString cellContent(const word::Collection<word::Paragraph>& paragraphs,
                    const std::function<QString(const word::Paragraph&)>& pieceOf)
{
    QString content;
    int openList = word::list_type::None;
    for (const word::Paragraph& p : paragraphs) {
        const int listType = p.range().listFormat().listType();
        if (openList != word::list_type::None && listType != openList)
            content += QStringLiteral("</list>");
        if (listType == word::list_type::None) {
            if (!content.isEmpty() && openList == word::list_type::None)
                content += QStringLiteral("<br/>");
            content += pieceOf(p);
        } else {
            if (listType != openList)
                content += listOpening(listType);
            content += QStringLiteral("<item>") + pieceOf(p) + QStringLiteral("</item>");
        }
        openList = listType;
    }
    if (openList != word::list_type::None)
        content += QStringLiteral("</list>");
    return content;
}

// How many of a table's rows form its head: the rows marked to repeat as its heading, else
// the first row; never every row, since a table has a body and a body has rows.
qsizetype headRowsOf(const word::Table& table, qsizetype rows)
{
    const qsizetype marked = table.headingRowCount();
    return std::clamp<qsizetype>(marked > 0 ? marked : 1, 0, std::max<qsizetype>(rows - 1, 0));
}

QString tableOf(QStringList rows, qsizetype headRows)
{
    const QString head = headRows > 0 ? QStringLiteral("<thead>") + rows.mid(0, headRows).join(QString()) + QStringLiteral("</thead>")
                                      : QString();
    return QStringLiteral("<table>") + head + QStringLiteral("<tbody>") + rows.mid(headRows).join(QString())
           + QStringLiteral("</tbody></table>");
}

QString spanPart(int span)
{
    return span > 1 ? QString::number(span) : QString();
}

} // namespace

int clsWord::tableStartAt(int i) const
{
    const word::Table table = paragraph(i).range().tables().first();
    return table.isNull() ? -1 : table.range().start();
}

void clsWord::ConvertList(int& Index, int ListType, QString& SectionTitle, QString& SubSectionTitle,
                          QString& ConvertedList)
{
    WriteLog(log_category::Information, wordlog::indent10 + (isBulleted(ListType)
                                                  ? QStringLiteral("Converting Bullet List")
                                                  : QStringLiteral("Converting Numbered List")));
    ConvertedList = listFrom(Index, ListType, SectionTitle, SubSectionTitle);
}

QString clsWord::textAndPictures(const word::Paragraph& Paragraph, QString& SectionTitle, QString& SubSectionTitle)
{
    QString piece = paragraphMarkup(Paragraph, SectionTitle);
    if (const auto pictures = Paragraph.range().inlineShapes(); !pictures.isEmpty())
        piece += ProcessImage(pictures, SectionTitle, SubSectionTitle, TargetFolder, false);
    return piece;
}

QString clsWord::linkedTextAndPictures(const word::Paragraph& Paragraph, QString& SectionTitle, QString& SubSectionTitle)
{
    QString piece = textAndPictures(Paragraph, SectionTitle, SubSectionTitle);
    const word::Range range = Paragraph.range();
    ConvertCrossReference(piece, range);
    ConvertHyperLink(piece, range);
    return piece;
}

QString clsWord::itemPiece(int i, QString& SectionTitle, QString& SubSectionTitle)
{
    try {
        return linkedTextAndPictures(paragraph(i), SectionTitle, SubSectionTitle);
    } catch (const std::exception& e) {
        WriteLog(log_category::Error, toVbError(e, QStringLiteral("clsWord")).text());
        return QString();
    }
}

bool clsWord::isListItem(int i, int table) const
{
    return i <= ParagraphCount && !isHeader(i) && tableStartAt(i) == table
           && paragraph(i).range().listFormat().listType() != word::list_type::None;
}

bool clsWord::isDeeperItem(int j, int k) const
{
    const word::Range a = paragraph(j).range();
    const word::Range b = paragraph(k).range();
    const int levelA = a.listFormat().listLevelNumber();
    const int levelB = b.listFormat().listLevelNumber();
    if (a.listFormat().numberingId() == b.listFormat().numberingId())
        return levelA > levelB;
    const int indentA = a.paragraphFormat().leftIndent();
    const int indentB = b.paragraphFormat().leftIndent();
    return indentA > indentB || (indentA == indentB && levelA > levelB);
}

int clsWord::continuationEnd(int i, int item, int table) const
{
    const word::ListFormat itemList = paragraph(item).range().listFormat();
    const int itemIndent = paragraph(item).range().paragraphFormat().leftIndent();
    const auto isPlainText = [this, table](int j) {
        return j <= ParagraphCount && !isHeader(j) && !isDeeperHeading(j) && tableStartAt(j) == table
               && paragraph(j).range().listFormat().listType() == word::list_type::None;
    };
    bool indented = true;
    int j = i;
    for (; isPlainText(j); ++j)
        indented = indented && paragraph(j).range().paragraphFormat().leftIndent() >= itemIndent;
    if (j == i || !isListItem(j, table) || isDeeperHeading(j))
        return i;
    if (isDeeperItem(j, item))
        return j;
    const bool goesOn = paragraph(j).range().listFormat().numberingId() == itemList.numberingId() && !isDeeperItem(item, j);
    return goesOn && (indented || !isBulleted(itemList.listType())) ? j : i;
}

bool clsWord::placeListItem(std::vector<int>& openItems, int j) const
{
    const auto typeOf = [this](int i) { return paragraph(i).range().listFormat().listType(); };
    int start = openItems.empty() ? j : openItems.back() + 1;
    for (; !openItems.empty(); openItems.pop_back()) {
        const int item = openItems.back();
        if (start < j && continuationEnd(start, item, -1) != start)
            start = j;
        if (start < j)
            continue;
        if (isDeeperItem(j, item)) {
            openItems.push_back(j);
            return true;
        }
        if (!isDeeperItem(item, j) && typeOf(j) == typeOf(item)) {
            openItems.back() = j;
            return true;
        }
    }
    openItems.push_back(j);
    return start == j;
}

// The items from paragraph i on that stand level with it and are of that list type; the
// deeper items after an item are lists inside it, and so are the paragraphs without a number
// that continue it. A header paragraph ends the list even when it is numbered like the list's
// items, and so do the end of the document and the edge of a table: a list that ran into a
// table would take the table's first paragraph from it. i ends past the last item.
QString clsWord::listFrom(int& i, int ListType, QString& SectionTitle, QString& SubSectionTitle)
{
    const int table = tableStartAt(i);
    QString list = listOpening(ListType);
    int item = i;
    do {
        item = i;
        QString content = itemPiece(i, SectionTitle, SubSectionTitle);
        ++i;
        for (;;) {
            while (isListItem(i, table) && isDeeperItem(i, item))
                content += listFrom(i, paragraph(i).range().listFormat().listType(), SectionTitle, SubSectionTitle);
            const int next = continuationEnd(i, item, table);
            if (next == i)
                break;
            for (; i < next; ++i)
                if (const QString piece = itemPiece(i, SectionTitle, SubSectionTitle); !piece.isEmpty())
                    content += QStringLiteral("<paragraph>") + piece + QStringLiteral("</paragraph>");
        }
        list += QStringLiteral("<item>") + content + QStringLiteral("</item>");
    } while (isListItem(i, table) && !isDeeperItem(i, item) && !isDeeperItem(item, i)
             && paragraph(i).range().listFormat().listType() == ListType);
    return list + QStringLiteral("</list>");
}

bool clsWord::ConvertTable(const word::Table& Table, int& Index, QString& SectionTitle, QString& SubSectionTitle,
                           QString& ConvertedTable)
{
    try {
        WriteLog(log_category::Information, wordlog::indent10 + QStringLiteral("Converting Table"));
        DoEvents();
        if (const qint64 cells = cellsOf(Table); cells > kMaxTableCells)
            return leaveTableOut(Table, SectionTitle, QStringLiteral("it would become %1 cells, more than the %2 a table may have")
                                                          .arg(cells)
                                                          .arg(kMaxTableCells));
        bool mergedCellsLogged = false;
        const auto placeholder = [&] {
            if (!mergedCellsLogged)
                WriteLog(log_category::Warning, wordlog::indent10 + QStringLiteral("The table in word document has merged "
                                                                    "cells. The SPL table may not be correct."));
            mergedCellsLogged = true;
            return QStringLiteral("<td></td>");
        };
        QStringList rowMarkup;
        const auto pieceOf = [&](const word::Paragraph& p) { return linkedTextAndPictures(p, SectionTitle, SubSectionTitle); };
        const int rows = Table.rowCount();
        const int columns = Table.columnCount();
        for (int r = 1; r <= rows; ++r) {
            QString row = QStringLiteral("<tr>");
            // Grid columns a row leaves free before its first cell stay empty.
            for (int c = 0; c < Table.firstGridColumn(r); ++c)
                row += QStringLiteral("<td></td>");
            for (int c = 1; c <= Table.cellCount(r); ++c) {
                // A cell merged down from the row above stands there already.
                if (Table.continuesMerge(r, c))
                    continue;
                try {
                    const word::Cell cell = Table.cell(r, c);
                    CheckCharOccurrence(cell.range());
                    const QString rules = IgnoreTableCellBorders == 0 ? rulesOf(cell) : QString();
                    const QString align = alignPart(cell.range().paragraphFormat().alignment());
                    const QString valign = valignPart(cell.verticalAlignment());
                    const QString content = cellContent(cell.range().paragraphs(), pieceOf);
                    row += QStringLiteral("<td") + attribute(QStringLiteral("align"), align)
                           + attribute(QStringLiteral("valign"), valign) + attribute(QStringLiteral("styleCode"), rules)
                           + attribute(QStringLiteral("colspan"), spanPart(cell.columnSpan()))
                           + attribute(QStringLiteral("rowspan"), spanPart(cell.rowSpan())) + QLatin1Char('>') + content
                           + QStringLiteral("</td>");
                } catch (const std::exception&) {
                    row += placeholder();
                }
            }
            // A row shorter than the table is filled with empty cells.
            for (int c = Table.gridColumns(r); c < columns; ++c)
                row += placeholder();
            rowMarkup << row + QStringLiteral("</tr>");
        }
        // Past the table's last paragraph, also when the walk met the table below its first one.
        const word::Collection<word::Paragraph> paragraphs = Table.range().paragraphs();
        Index = paragraphs.first().index() + paragraphs.count();
        ConvertedTable = tableOf(rowMarkup, headRowsOf(Table, rowMarkup.size()));
        return true;
    } catch (const std::exception& e) {
        return leaveTableOut(Table, SectionTitle, toVbError(e, QStringLiteral("clsWord")).text());
    }
}

} // namespace veldra
