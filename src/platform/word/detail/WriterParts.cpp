#include "platform/word/detail/WriterParts.h"

#include <QDateTime>
#include <QList>
#include <QString>

namespace veldra::word::detail {

namespace {

constexpr const char* kXmlDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
constexpr const char* kW = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
constexpr const char* kRelTypes = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

QByteArray part(const QString& body)
{
    return QByteArray(kXmlDeclaration) + body.toUtf8();
}

QString relationship(int id, const QString& type, const QString& target)
{
    return QStringLiteral("<Relationship Id=\"rId%1\" Type=\"%2\" Target=\"%3\"/>").arg(id).arg(type, target);
}

QString style(const QString& type, const QString& id, const QString& name, const QString& inner, bool isDefault = false)
{
    return QStringLiteral("<w:style w:type=\"%1\"%2 w:styleId=\"%3\"><w:name w:val=\"%4\"/>%5</w:style>")
        .arg(type, isDefault ? QStringLiteral(" w:default=\"1\"") : QString(), id, name, inner);
}

QString singleBorders(const QString& element)
{
    QString edges;
    for (const char* edge : {"top", "left", "bottom", "right", "insideH", "insideV"})
        edges += QStringLiteral("<w:%1 w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"auto\"/>").arg(QLatin1String(edge));
    return QStringLiteral("<w:%1>%2</w:%1>").arg(element, edges);
}

} // namespace

QByteArray contentTypesPart()
{
    const QString main = QStringLiteral("application/vnd.openxmlformats-officedocument.wordprocessingml.");
    return part(QStringLiteral(
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
        "<Override PartName=\"/word/document.xml\" ContentType=\"%1document.main+xml\"/>"
        "<Override PartName=\"/word/styles.xml\" ContentType=\"%1styles+xml\"/>"
        "<Override PartName=\"/word/numbering.xml\" ContentType=\"%1numbering+xml\"/>"
        "<Override PartName=\"/word/settings.xml\" ContentType=\"%1settings+xml\"/>"
        "<Override PartName=\"/docProps/app.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.extended-properties+xml\"/>"
        "<Override PartName=\"/docProps/core.xml\" ContentType=\"application/vnd.openxmlformats-package.core-properties+xml\"/>"
        "</Types>").arg(main));
}

QByteArray packageRelationshipsPart()
{
    return part(QStringLiteral("<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">")
                + relationship(1, QLatin1String(kRelTypes) + QStringLiteral("officeDocument"), QStringLiteral("word/document.xml"))
                + relationship(2, QLatin1String(kRelTypes) + QStringLiteral("extended-properties"), QStringLiteral("docProps/app.xml"))
                + relationship(3, QStringLiteral("http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties"),
                               QStringLiteral("docProps/core.xml"))
                + QStringLiteral("</Relationships>"));
}

QByteArray documentRelationshipsPart()
{
    return part(QStringLiteral("<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">")
                + relationship(1, QLatin1String(kRelTypes) + QStringLiteral("styles"), QStringLiteral("styles.xml"))
                + relationship(2, QLatin1String(kRelTypes) + QStringLiteral("numbering"), QStringLiteral("numbering.xml"))
                + relationship(3, QLatin1String(kRelTypes) + QStringLiteral("settings"), QStringLiteral("settings.xml"))
                + QStringLiteral("</Relationships>"));
}

QByteArray stylesPart()
{
    const QString heading = QStringLiteral(
        "<w:basedOn w:val=\"Normal\"/><w:next w:val=\"Normal\"/><w:qFormat/>"
        "<w:pPr><w:keepNext/><w:spacing w:before=\"240\" w:after=\"120\"/><w:outlineLvl w:val=\"%1\"/></w:pPr>"
        "<w:rPr><w:b/><w:sz w:val=\"%2\"/></w:rPr>");
    return part(QStringLiteral("<w:styles xmlns:w=\"%1\">").arg(QLatin1String(kW))
                + QStringLiteral("<w:docDefaults><w:rPrDefault><w:rPr><w:sz w:val=\"22\"/><w:lang w:val=\"en-US\"/></w:rPr>"
                                 "</w:rPrDefault><w:pPrDefault><w:pPr><w:spacing w:after=\"120\"/></w:pPr></w:pPrDefault></w:docDefaults>")
                + style(QStringLiteral("paragraph"), QStringLiteral("Normal"), QStringLiteral("Normal"), QStringLiteral("<w:qFormat/>"), true)
                + style(QStringLiteral("paragraph"), QStringLiteral("Heading1"), QStringLiteral("heading 1"), heading.arg(0).arg(32))
                + style(QStringLiteral("paragraph"), QStringLiteral("Heading2"), QStringLiteral("heading 2"), heading.arg(1).arg(26))
                + style(QStringLiteral("paragraph"), QStringLiteral("ListParagraph"), QStringLiteral("List Paragraph"),
                        QStringLiteral("<w:basedOn w:val=\"Normal\"/><w:qFormat/><w:pPr><w:ind w:left=\"720\"/>"
                                       "<w:contextualSpacing/></w:pPr>"))
                + style(QStringLiteral("character"), QStringLiteral("DefaultParagraphFont"),
                        QStringLiteral("Default Paragraph Font"), QStringLiteral("<w:uiPriority w:val=\"1\"/>"), true)
                + style(QStringLiteral("table"), QStringLiteral("TableNormal"), QStringLiteral("Normal Table"),
                        QStringLiteral("<w:tblPr><w:tblInd w:w=\"0\" w:type=\"dxa\"/><w:tblCellMar>"
                                       "<w:left w:w=\"108\" w:type=\"dxa\"/><w:right w:w=\"108\" w:type=\"dxa\"/>"
                                       "</w:tblCellMar></w:tblPr>"), true)
                + style(QStringLiteral("table"), QStringLiteral("TableGrid"), QStringLiteral("Table Grid"),
                        QStringLiteral("<w:basedOn w:val=\"TableNormal\"/><w:pPr><w:spacing w:after=\"0\"/></w:pPr><w:tblPr>")
                            + singleBorders(QStringLiteral("tblBorders")) + QStringLiteral("</w:tblPr>"))
                + style(QStringLiteral("numbering"), QStringLiteral("NoList"), QStringLiteral("No List"), QString(), true)
                + QStringLiteral("</w:styles>"));
}

QByteArray settingsPart()
{
    return part(QStringLiteral("<w:settings xmlns:w=\"%1\"><w:defaultTabStop w:val=\"720\"/><w:compat>"
                               "<w:compatSetting w:name=\"compatibilityMode\" w:uri=\"http://schemas.microsoft.com/office/word\" w:val=\"15\"/>"
                               "</w:compat></w:settings>").arg(QLatin1String(kW)));
}

QByteArray appPropertiesPart()
{
    return part(QStringLiteral("<Properties xmlns=\"http://schemas.openxmlformats.org/officeDocument/2006/extended-properties\">"
                               "<Application>Veldra</Application></Properties>"));
}

QByteArray corePropertiesPart()
{
    const QString now = QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
    return part(QStringLiteral("<cp:coreProperties xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
                               "xmlns:dcterms=\"http://purl.org/dc/terms/\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">"
                               "<dcterms:created xsi:type=\"dcterms:W3CDTF\">%1</dcterms:created>"
                               "<dcterms:modified xsi:type=\"dcterms:W3CDTF\">%1</dcterms:modified>"
                               "</cp:coreProperties>").arg(now));
}

QByteArray numberingPart(const QList<bool>& listIsBulleted)
{
    const QString decimal = QStringLiteral(
        "<w:abstractNum w:abstractNumId=\"0\"><w:multiLevelType w:val=\"singleLevel\"/>"
        "<w:lvl w:ilvl=\"0\"><w:start w:val=\"1\"/><w:numFmt w:val=\"decimal\"/><w:lvlText w:val=\"%1.\"/>"
        "<w:lvlJc w:val=\"left\"/><w:pPr><w:ind w:left=\"720\" w:hanging=\"360\"/></w:pPr></w:lvl></w:abstractNum>");
    const QString bullet = QStringLiteral(
        "<w:abstractNum w:abstractNumId=\"1\"><w:multiLevelType w:val=\"singleLevel\"/>"
        "<w:lvl w:ilvl=\"0\"><w:start w:val=\"1\"/><w:numFmt w:val=\"bullet\"/><w:lvlText w:val=\"\u2022\"/>"
        "<w:lvlJc w:val=\"left\"/><w:pPr><w:ind w:left=\"720\" w:hanging=\"360\"/></w:pPr></w:lvl></w:abstractNum>");
    QString nums;
    for (qsizetype i = 0; i < listIsBulleted.size(); ++i)
        nums += QStringLiteral("<w:num w:numId=\"%1\"><w:abstractNumId w:val=\"%2\"/>"
                               "<w:lvlOverride w:ilvl=\"0\"><w:startOverride w:val=\"1\"/></w:lvlOverride></w:num>")
                    .arg(i + 1)
                    .arg(listIsBulleted[i] ? 1 : 0);
    return part(QStringLiteral("<w:numbering xmlns:w=\"%1\">").arg(QLatin1String(kW)) + decimal + bullet + nums
                + QStringLiteral("</w:numbering>"));
}

} // namespace veldra::word::detail
