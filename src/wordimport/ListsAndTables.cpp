#include "wordimport/clsWord.h"

#include "wordimport/ImportLog.h"

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

} // namespace

int clsWord::tableStartAt(int i) const
{
    const word::Table table = paragraph(i).range().tables().first();
    return table.isNull() ? -1 : table.range().start();
}

void clsWord::ConvertList(int& Index, int ListType, QString& SectionTitle, QString& SubSectionTitle,
                          QString& ConvertedList)
{
    QString list;
    // Bullets drawn from a picture are bullets all the same.
    if (ListType == word::list_type::Bullet || ListType == word::list_type::PictureBullet) {
        wordlog::information(wordlog::indent10 + QStringLiteral("Converting Bullet List"));
        list = QStringLiteral("<list listType=\"unordered\" styleCode=\"Disc\">");
    } else {
        wordlog::information(wordlog::indent10 + QStringLiteral("Converting Numbered List"));
        list = QStringLiteral("<list listType=\"ordered\" styleCode=\"Arabic\">");
    }
    int i = Index;
    const int table = tableStartAt(Index);
    try {
        // A header paragraph ends the list even when it is numbered like the list's items,
        // and so do the end of the document and the edge of a table: a list that ran into a
        // table would take the table's first paragraph from it.
        do {
            QString item = FormatBoldItalicUnderlineSubScriptSuperScript(paragraph(i));
            const word::Range range = paragraph(i).range();
            ConvertCrossReference(item, range);
            ConvertHyperLink(item, range);
            if (const auto pictures = range.inlineShapes(); i > Index && !pictures.isEmpty())
                item += ProcessImage(pictures, SectionTitle, SubSectionTitle, TargetFolder, false);
            list += QStringLiteral("<item>") + item + QStringLiteral("</item>");
            ++i;
        } while (i <= ParagraphCount && !isHeader(i) && paragraph(i).range().listFormat().listType() == ListType
                 && tableStartAt(i) == table);
    } catch (const std::exception& e) {
        wordlog::error(toVbError(e, QStringLiteral("clsWord")).text());
    }
    ConvertedList = list + QStringLiteral("</list>");
    Index = i;
}

bool clsWord::ConvertTable(const word::Table& Table, int& Index, QString& SectionTitle, QString& SubSectionTitle,
                           QString& ConvertedTable)
{
    try {
        wordlog::information(wordlog::indent10 + QStringLiteral("Converting Table"));
        DoEvents();
        bool mergedCellsLogged = false;
        QString table = QStringLiteral("<table>");
        const int rows = Table.rowCount();
        for (int r = 1; r <= rows; ++r) {
            const int columns = Table.columnCount();
            table += r == 1 ? QStringLiteral("<thead><tr>") : QStringLiteral("<tr>");
            for (int c = 1; c <= columns; ++c) {
                try {
                    const word::Cell cell = Table.cell(r, c);
                    CheckCharOccurrence(cell.range());
                    const QString rules = IgnoreTableCellBorders == 0 ? rulesOf(cell) : QString();
                    const QString align = alignPart(cell.range().paragraphFormat().alignment());
                    const QString valign = valignPart(cell.verticalAlignment());
                    QString content;
                    for (const word::Paragraph& p : cell.range().paragraphs()) {
                        // The text beside a cell's pictures stays, in front of them.
                        QString piece = FormatBoldItalicUnderlineSubScriptSuperScript(p);
                        if (const auto pictures = p.range().inlineShapes(); !pictures.isEmpty())
                            piece = (piece.trimmed().isEmpty() ? QString() : piece)
                                    + ProcessImage(pictures, SectionTitle, SubSectionTitle, TargetFolder, false);
                        content += content.isEmpty() ? piece : QStringLiteral("<br/>") + piece;
                    }
                    table += QStringLiteral("<td") + attribute(QStringLiteral("align"), align)
                             + attribute(QStringLiteral("valign"), valign) + attribute(QStringLiteral("styleCode"), rules)
                             + QLatin1Char('>') + content + QStringLiteral("</td>");
                } catch (const std::exception&) {
                    table += QStringLiteral("<td></td>");
                    if (!mergedCellsLogged)
                        wordlog::warning(wordlog::indent10 + QStringLiteral("The table in word document has merged "
                                                                            "cells. The SPL table may not be correct."));
                    mergedCellsLogged = true;
                }
            }
            table += r == 1 ? QStringLiteral("</tr></thead><tbody>") : QStringLiteral("</tr>");
        }
        table += QStringLiteral("</tbody></table>");
        // Past the table's last paragraph, also when the walk met the table below its first one.
        const word::Collection<word::Paragraph> paragraphs = Table.range().paragraphs();
        Index = paragraphs.first().index() + paragraphs.count();
        ConvertedTable = table;
        return true;
    } catch (const std::exception& e) {
        wordlog::warning(QStringLiteral("Table could not be converted -") + toVbError(e, QStringLiteral("clsWord")).text());
        return false;
    }
}

} // namespace veldra
