#include "support/WordMarkup.h"

#include <QRegularExpression>

#include <algorithm>

namespace veldra::test {

namespace {

const char* const kBorders =
    "<w:tblBorders><w:top w:val=\"single\" w:sz=\"4\"/><w:left w:val=\"single\" w:sz=\"4\"/>"
    "<w:bottom w:val=\"single\" w:sz=\"4\"/><w:right w:val=\"single\" w:sz=\"4\"/>"
    "<w:insideH w:val=\"single\" w:sz=\"4\"/><w:insideV w:val=\"single\" w:sz=\"4\"/></w:tblBorders>";

QString headingStyle(int level)
{
    return QStringLiteral("<w:style w:type=\"paragraph\" w:styleId=\"Heading%1\"><w:name w:val=\"heading %1\"/>"
                          "<w:basedOn w:val=\"Normal\"/><w:pPr><w:outlineLvl w:val=\"%2\"/></w:pPr></w:style>")
        .arg(level)
        .arg(level - 1);
}

QString abstractNumbering(int id, bool numbered)
{
    QString levels;
    for (int level = 0; level < 3; ++level) {
        // The number's text holds a placeholder of its own ("%2."), so it goes in last.
        const QString text = numbered ? QStringLiteral("%") + QString::number(level + 1) + QLatin1Char('.') : QStringLiteral("\u2022");
        levels += QStringLiteral("<w:lvl w:ilvl=\"%1\"><w:start w:val=\"1\"/><w:numFmt w:val=\"%2\"/><w:lvlText w:val=\"%4\"/>"
                                 "<w:pPr><w:ind w:left=\"%3\" w:hanging=\"360\"/></w:pPr></w:lvl>")
                      .arg(level)
                      .arg(numbered ? QStringLiteral("decimal") : QStringLiteral("bullet"))
                      .arg(720 * (level + 1))
                      .arg(text);
    }
    return QStringLiteral("<w:abstractNum w:abstractNumId=\"%1\">%2</w:abstractNum>").arg(id).arg(levels);
}

// The list styles' numberings: 101-103 bullets, 104-106 numbers, by depth.
int listStyleNumId(bool numbered, int depth)
{
    return 101 + (numbered ? 3 : 0) + depth;
}

QString listStyleId(bool numbered, int depth)
{
    return (numbered ? QStringLiteral("ListNumber") : QStringLiteral("ListBullet")) + (depth > 0 ? QString::number(depth + 1) : QString());
}

} // namespace

QString wordRun(const QString& text, const RunStyle& style)
{
    QString properties;
    if (style.bold)
        properties += QStringLiteral("<w:b/>");
    if (style.italic)
        properties += QStringLiteral("<w:i/>");
    if (style.underline)
        properties += QStringLiteral("<w:u w:val=\"single\"/>");
    if (!style.vertAlign.isEmpty() && style.shiftedPosition)
        properties += QStringLiteral("<w:position w:val=\"%1\"/><w:sz w:val=\"14\"/>")
                          .arg(style.vertAlign == QLatin1String("superscript") ? 6 : -4);
    else if (!style.vertAlign.isEmpty())
        properties += QStringLiteral("<w:vertAlign w:val=\"%1\"/>").arg(style.vertAlign);
    if (!properties.isEmpty())
        properties = QStringLiteral("<w:rPr>") + properties + QStringLiteral("</w:rPr>");
    return QStringLiteral("<w:r>") + properties + QStringLiteral("<w:t xml:space=\"preserve\">") + text.toHtmlEscaped()
           + QStringLiteral("</w:t></w:r>");
}

QString wordParagraph(const QString& properties, const QString& runs)
{
    return QStringLiteral("<w:p><w:pPr>") + properties + QStringLiteral("</w:pPr>") + runs + QStringLiteral("</w:p>");
}

QString movedParagraph(const QString& paragraph, MoveSide side, const QString& name)
{
    static int revision = 1000;
    static const QRegularExpression parts(QStringLiteral("^<w:p>(?:<w:pPr/>|<w:pPr>(.*?)</w:pPr>)?(.*)</w:p>$"),
                                          QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = parts.match(paragraph);
    const QString kind = side == MoveSide::From ? QStringLiteral("moveFrom") : QStringLiteral("moveTo");
    const auto id = [] { return QStringLiteral(" w:id=\"") + QString::number(++revision) + QStringLiteral("\""); };
    const QString author = QStringLiteral(" w:author=\"Reviewer\"");
    const QString range = id();
    const QString mark = QStringLiteral("<w:") + kind + id() + author + QStringLiteral("/>");
    QString properties = match.captured(1);
    if (properties.contains(QStringLiteral("<w:rPr>")))
        properties.replace(QStringLiteral("<w:rPr>"), QStringLiteral("<w:rPr>") + mark);
    else
        properties += QStringLiteral("<w:rPr>") + mark + QStringLiteral("</w:rPr>");
    return QStringLiteral("<w:") + kind + QStringLiteral("RangeStart") + range + author + QStringLiteral(" w:name=\"") + name
           + QStringLiteral("\"/><w:p><w:pPr>") + properties + QStringLiteral("</w:pPr><w:") + kind + id() + author
           + QStringLiteral(">") + match.captured(2) + QStringLiteral("</w:") + kind + QStringLiteral("></w:p><w:") + kind
           + QStringLiteral("RangeEnd") + range + QStringLiteral("/>");
}

QString acceptingMoves(QString markup)
{
    const auto option = QRegularExpression::DotMatchesEverythingOption;
    static const QRegularExpression rangeMarks(QStringLiteral("<w:move(From|To)Range(Start|End) [^>]*/>"));
    static const QRegularExpression movedAway(
        QStringLiteral("<w:p>(?:(?!</w:p>).)*?<w:rPr><w:moveFrom [^>]*/>(?:(?!</w:p>).)*</w:p>"), option);
    static const QRegularExpression movedInMark(QStringLiteral("<w:rPr><w:moveTo [^>]*/></w:rPr>|<w:moveTo [^>]*/>"));
    static const QRegularExpression movedIn(QStringLiteral("<w:moveTo [^>]*>|</w:moveTo>"));
    static const QRegularExpression emptyCell(QStringLiteral("(<w:tc>(?:<w:tcPr>(?:(?!</w:tc>).)*?</w:tcPr>)?)</w:tc>"), option);
    return markup.remove(rangeMarks).remove(movedAway).remove(movedInMark).remove(movedIn).replace(
        emptyCell, QStringLiteral("\\1<w:p/></w:tc>"));
}

QString labelDocumentStyles()
{
    return QStringLiteral(
               "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\"><w:name w:val=\"Normal\"/></w:style>"
               "<w:style w:type=\"paragraph\" w:styleId=\"Title\"><w:name w:val=\"Title\"/><w:basedOn w:val=\"Normal\"/></w:style>")
           + headingStyle(1) + headingStyle(2) + headingStyle(3)
           + QStringLiteral("<w:style w:type=\"paragraph\" w:styleId=\"ListParagraph\"><w:name w:val=\"List Paragraph\"/>"
                            "<w:basedOn w:val=\"Normal\"/></w:style>"
                            "<w:style w:type=\"table\" w:styleId=\"TableGrid\"><w:name w:val=\"Table Grid\"/><w:tblPr>")
           + QLatin1String(kBorders) + QStringLiteral("</w:tblPr></w:style>");
}

QString currentWordSettings()
{
    return QStringLiteral("<w:compat><w:compatSetting w:name=\"compatibilityMode\" "
                          "w:uri=\"http://schemas.microsoft.com/office/word\" w:val=\"15\"/></w:compat>");
}

QString listNumberingDefinitions()
{
    return abstractNumbering(0, false) + abstractNumbering(1, true);
}

QString numberingInstance(int numId, bool numbered, int level)
{
    const QString restart = numbered ? QStringLiteral("<w:lvlOverride w:ilvl=\"%1\"><w:startOverride w:val=\"1\"/>"
                                                      "</w:lvlOverride>").arg(level)
                                     : QString();
    return QStringLiteral("<w:num w:numId=\"%1\"><w:abstractNumId w:val=\"%2\"/>%3</w:num>").arg(numId).arg(numbered ? 1 : 0).arg(restart);
}

QString listParagraphProperties(int numId, int level)
{
    return QStringLiteral("<w:pStyle w:val=\"ListParagraph\"/><w:numPr><w:ilvl w:val=\"%1\"/><w:numId w:val=\"%2\"/></w:numPr>")
        .arg(std::min(level, 2))
        .arg(numId);
}

QString listStyleDefinitions()
{
    QString styles;
    for (const bool numbered : {false, true})
        for (int depth = 0; depth < 3; ++depth)
            styles += QStringLiteral("<w:style w:type=\"paragraph\" w:styleId=\"%1\"><w:name w:val=\"%2%3\"/>"
                                     "<w:basedOn w:val=\"Normal\"/><w:pPr><w:numPr><w:numId w:val=\"%4\"/></w:numPr>"
                                     "<w:ind w:left=\"%5\" w:hanging=\"360\"/></w:pPr></w:style>")
                          .arg(listStyleId(numbered, depth), numbered ? QStringLiteral("List Number") : QStringLiteral("List Bullet"),
                               depth > 0 ? QStringLiteral(" %1").arg(depth + 1) : QString())
                          .arg(listStyleNumId(numbered, depth))
                          .arg(listStyleIndent(depth));
    return styles;
}

QString listStyleNumbering()
{
    QString numbering;
    for (const bool numbered : {false, true})
        for (int depth = 0; depth < 3; ++depth) {
            const int id = listStyleNumId(numbered, depth);
            numbering += QStringLiteral("<w:abstractNum w:abstractNumId=\"%1\"><w:lvl w:ilvl=\"0\"><w:start w:val=\"1\"/>"
                                        "<w:numFmt w:val=\"%2\"/><w:pStyle w:val=\"%3\"/><w:lvlText w:val=\"%4\"/>"
                                        "<w:pPr><w:ind w:left=\"360\" w:hanging=\"360\"/></w:pPr></w:lvl></w:abstractNum>"
                                        "<w:num w:numId=\"%1\"><w:abstractNumId w:val=\"%1\"/></w:num>")
                             .arg(id)
                             .arg(numbered ? QStringLiteral("decimal") : QStringLiteral("bullet"), listStyleId(numbered, depth),
                                  numbered ? QStringLiteral("%1.") : QStringLiteral("\u2022"));
        }
    return numbering;
}

QString listStyleParagraphProperties(bool numbered, int depth)
{
    return QStringLiteral("<w:pStyle w:val=\"%1\"/>").arg(listStyleId(numbered, std::min(depth, 2)));
}

int listStyleIndent(int depth)
{
    return 720 * (std::min(depth, 2) + 1);
}

QString inlinePicture(const QString& relationshipId, int pictureId, const QSize& size)
{
    const QString extent = QStringLiteral("cx=\"%1\" cy=\"%2\"").arg(qint64(size.width()) * 9525).arg(qint64(size.height()) * 9525);
    return QStringLiteral(
               "<w:r><w:drawing><wp:inline distT=\"0\" distB=\"0\" distL=\"0\" distR=\"0\"><wp:extent %1/>"
               "<wp:docPr id=\"%2\" name=\"Picture %2\"/><a:graphic><a:graphicData "
               "uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\"><pic:pic><pic:nvPicPr>"
               "<pic:cNvPr id=\"%2\" name=\"Picture %2\"/><pic:cNvPicPr/></pic:nvPicPr><pic:blipFill>"
               "<a:blip r:embed=\"%3\"/><a:stretch><a:fillRect/></a:stretch></pic:blipFill><pic:spPr>"
               "<a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext %1/></a:xfrm><a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom>"
               "</pic:spPr></pic:pic></a:graphicData></a:graphic></wp:inline></w:drawing></w:r>")
        .arg(extent)
        .arg(pictureId)
        .arg(relationshipId);
}

QString tableCell(int span, CellMerge merge, const QString& paragraphs)
{
    QString properties = span > 1 ? QStringLiteral("<w:gridSpan w:val=\"%1\"/>").arg(span) : QString();
    if (merge == CellMerge::Starts)
        properties += QStringLiteral("<w:vMerge w:val=\"restart\"/>");
    else if (merge == CellMerge::Continued)
        properties += QStringLiteral("<w:vMerge/>");
    return QStringLiteral("<w:tc>")
           + (properties.isEmpty() ? QString() : QStringLiteral("<w:tcPr>") + properties + QStringLiteral("</w:tcPr>"))
           + paragraphs + QStringLiteral("</w:tc>");
}

QString tableRow(const QString& cells, bool head)
{
    return QStringLiteral("<w:tr>") + (head ? QStringLiteral("<w:trPr><w:tblHeader/></w:trPr>") : QString()) + cells
           + QStringLiteral("</w:tr>");
}

QString wordTable(int columns, const QString& rows)
{
    QString grid;
    for (int c = 0; c < columns; ++c)
        grid += QStringLiteral("<w:gridCol w:w=\"%1\"/>").arg(9000 / columns);
    return QStringLiteral("<w:tbl><w:tblPr><w:tblStyle w:val=\"TableGrid\"/><w:tblW w:w=\"0\" w:type=\"auto\"/>")
           + QLatin1String(kBorders) + QStringLiteral("</w:tblPr><w:tblGrid>") + grid + QStringLiteral("</w:tblGrid>") + rows
           + QStringLiteral("</w:tbl>");
}

} // namespace veldra::test
