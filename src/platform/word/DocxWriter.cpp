#include "platform/word/DocxWriter.h"

#include "platform/word/PackageWriter.h"
#include "platform/word/detail/WriterParts.h"

#include <QHash>

namespace veldra::word {

namespace {

constexpr const char* kW = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
// Letter paper with one-inch margins, in twentieths of a point.
constexpr int kTextWidth = 12240 - 2 * 1440;

QString escaped(const QString& text)
{
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '&': result += QStringLiteral("&amp;"); break;
        case '<': result += QStringLiteral("&lt;"); break;
        case '>': result += QStringLiteral("&gt;"); break;
        case '"': result += QStringLiteral("&quot;"); break;
        default:
            // Characters XML cannot carry are dropped rather than corrupting the part.
            if (c.unicode() >= 0x20 || c == QLatin1Char('\t') || c == QLatin1Char('\n'))
                result += c;
        }
    }
    return result;
}

// A run for text that may hold tabs and line breaks.
QString runs(const QString& text)
{
    QString result = QStringLiteral("<w:r>");
    QString pending;
    auto flush = [&] {
        if (!pending.isEmpty())
            result += QStringLiteral("<w:t xml:space=\"preserve\">") + escaped(pending) + QStringLiteral("</w:t>");
        pending.clear();
    };
    for (const QChar c : text) {
        if (c == QLatin1Char('\t') || c == QLatin1Char('\n')) {
            flush();
            result += c == QLatin1Char('\t') ? QStringLiteral("<w:tab/>") : QStringLiteral("<w:br/>");
        } else if (c != QLatin1Char('\r')) {
            pending += c;
        }
    }
    flush();
    return result + QStringLiteral("</w:r>");
}

QString styleIdOf(const QString& uiName)
{
    static const QHash<QString, QString> ids{
        {QStringLiteral("Heading 1"), QStringLiteral("Heading1")},
        {QStringLiteral("Heading 2"), QStringLiteral("Heading2")},
        {QStringLiteral("List Paragraph"), QStringLiteral("ListParagraph")},
    };
    return ids.value(uiName);
}

QString paragraph(const QString& properties, const QString& text)
{
    const QString pPr = properties.isEmpty() ? QString() : QStringLiteral("<w:pPr>") + properties + QStringLiteral("</w:pPr>");
    return QStringLiteral("<w:p>") + pPr + (text.isEmpty() ? QString() : runs(text)) + QStringLiteral("</w:p>");
}

} // namespace

DocxWriter::DocxWriter() = default;

void DocxWriter::addBlock(const QString& xml, bool isTable)
{
    body_ += xml;
    endsWithTable_ = isTable;
}

void DocxWriter::addParagraph(const QString& style, const QString& text)
{
    const QString id = styleIdOf(style);
    addBlock(paragraph(id.isEmpty() ? QString() : QStringLiteral("<w:pStyle w:val=\"%1\"/>").arg(id), text), false);
}

int DocxWriter::addList(ListKind kind)
{
    lists_.push_back(kind);
    return static_cast<int>(lists_.size());
}

void DocxWriter::addListParagraph(int list, const QString& text)
{
    addBlock(paragraph(QStringLiteral("<w:pStyle w:val=\"ListParagraph\"/><w:numPr><w:ilvl w:val=\"0\"/>"
                                      "<w:numId w:val=\"%1\"/></w:numPr>").arg(list),
                       text),
             false);
}

void DocxWriter::addTable(const std::vector<QStringList>& cells)
{
    qsizetype columns = 1;
    for (const QStringList& row : cells)
        columns = std::max(columns, row.size());
    const int width = static_cast<int>(kTextWidth / columns);
    QString xml = QStringLiteral("<w:tbl><w:tblPr><w:tblStyle w:val=\"TableGrid\"/><w:tblW w:w=\"0\" w:type=\"auto\"/>"
                                 "<w:tblBorders>");
    for (const char* edge : {"top", "left", "bottom", "right", "insideH", "insideV"})
        xml += QStringLiteral("<w:%1 w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"auto\"/>").arg(QLatin1String(edge));
    xml += QStringLiteral("</w:tblBorders><w:tblLook w:val=\"04A0\" w:firstRow=\"1\" w:lastRow=\"0\" w:firstColumn=\"1\" "
                          "w:lastColumn=\"0\" w:noHBand=\"0\" w:noVBand=\"1\"/></w:tblPr><w:tblGrid>");
    for (qsizetype c = 0; c < columns; ++c)
        xml += QStringLiteral("<w:gridCol w:w=\"%1\"/>").arg(width);
    xml += QStringLiteral("</w:tblGrid>");
    for (const QStringList& row : cells) {
        xml += QStringLiteral("<w:tr>");
        for (qsizetype c = 0; c < columns; ++c)
            xml += QStringLiteral("<w:tc><w:tcPr><w:tcW w:w=\"%1\" w:type=\"dxa\"/></w:tcPr>").arg(width)
                   + paragraph(QString(), c < row.size() ? row[c] : QString()) + QStringLiteral("</w:tc>");
        xml += QStringLiteral("</w:tr>");
    }
    addBlock(xml + QStringLiteral("</w:tbl>"), true);
}

void DocxWriter::addPageBreak()
{
    addBlock(QStringLiteral("<w:p><w:r><w:br w:type=\"page\"/></w:r></w:p>"), false);
}

bool DocxWriter::save(const QString& path, QString* error) const
{
    // A document cannot end with a table: the word processor needs a paragraph after it.
    const QString body = body_ + (endsWithTable_ ? paragraph(QString(), QString()) : QString());
    const QString document =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<w:document xmlns:w=\"%1\"><w:body>")
            .arg(QLatin1String(kW))
        + body
        + QStringLiteral("<w:sectPr><w:pgSz w:w=\"12240\" w:h=\"15840\"/><w:pgMar w:top=\"1440\" w:right=\"1440\" "
                         "w:bottom=\"1440\" w:left=\"1440\" w:header=\"720\" w:footer=\"720\" w:gutter=\"0\"/></w:sectPr>"
                         "</w:body></w:document>");
    QList<bool> bulleted;
    for (ListKind kind : lists_)
        bulleted.append(kind == ListKind::Bulleted);

    PackageWriter package;
    package.add(QStringLiteral("[Content_Types].xml"), detail::contentTypesPart());
    package.add(QStringLiteral("_rels/.rels"), detail::packageRelationshipsPart());
    package.add(QStringLiteral("word/document.xml"), document.toUtf8());
    package.add(QStringLiteral("word/_rels/document.xml.rels"), detail::documentRelationshipsPart());
    package.add(QStringLiteral("word/styles.xml"), detail::stylesPart());
    package.add(QStringLiteral("word/numbering.xml"), detail::numberingPart(bulleted));
    package.add(QStringLiteral("word/settings.xml"), detail::settingsPart());
    package.add(QStringLiteral("docProps/app.xml"), detail::appPropertiesPart());
    package.add(QStringLiteral("docProps/core.xml"), detail::corePropertiesPart());
    return package.save(path, error);
}

} // namespace veldra::word
