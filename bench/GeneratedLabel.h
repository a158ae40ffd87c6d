#pragma once
// A generated 300-page label-like Word document (18 sections of a prescription label with
// subsections, numbered lists, formatted runs, citations and internal links, 50 tables, 30
// pictures), shared by the benchmarks of the .docx reader and of the Word import, and the
// walk over it that the converter makes.
#include "platform/word/Document.h"
#include "platform/word/PackageWriter.h"

#include <QBuffer>
#include <QImage>
#include <QStringList>

#include <cstdint>

namespace generated_label {

inline constexpr int kParagraphs = 300 * 20;  // about 20 paragraphs of ~60 words a page
inline constexpr int kTables = 50;
inline constexpr int kPictures = 30;

inline const QStringList kSections{"BOXED WARNING", "INDICATIONS AND USAGE", "DOSAGE AND ADMINISTRATION",
                            "DOSAGE FORMS AND STRENGTHS", "CONTRAINDICATIONS", "WARNINGS AND PRECAUTIONS",
                            "ADVERSE REACTIONS", "DRUG INTERACTIONS", "USE IN SPECIFIC POPULATIONS",
                            "DRUG ABUSE AND DEPENDENCE", "OVERDOSAGE", "DESCRIPTION", "CLINICAL PHARMACOLOGY",
                            "NONCLINICAL TOXICOLOGY", "CLINICAL STUDIES", "REFERENCES",
                            "HOW SUPPLIED/STORAGE AND HANDLING", "PATIENT COUNSELING INFORMATION"};

inline QString run(const QString& text, const char* properties = "")
{
    return QStringLiteral("<w:r><w:rPr>%1</w:rPr><w:t xml:space=\"preserve\">%2</w:t></w:r>").arg(QLatin1String(properties), text);
}

inline QString styled(const char* style, const QString& content, const QString& numbering = QString())
{
    return QStringLiteral("<w:p><w:pPr><w:pStyle w:val=\"%1\"/>%2</w:pPr>%3</w:p>").arg(QLatin1String(style), numbering, content);
}

inline QString numbered(int numId, int level)
{
    return QStringLiteral("<w:numPr><w:ilvl w:val=\"%1\"/><w:numId w:val=\"%2\"/></w:numPr>").arg(level).arg(numId);
}

inline QString labelParagraph(int n)
{
    const QString words = QStringLiteral("The recommended starting dose is 10 mg once daily with or without food, "
                                         "adjusted at intervals of 2 to 4 weeks according to the response of patient %1. ")
                              .arg(n);
    if (n % 3 == 0)
        return QStringLiteral("<w:p>") + run(words) + run(words) + QStringLiteral("</w:p>");
    if (n % 7 == 0)  // a citation of reference 2 and a link to the first subsection
        return QStringLiteral("<w:p>") + run(words + "[") +
               QStringLiteral("<w:fldSimple w:instr=\" REF _Ref2 \\h \">%1</w:fldSimple>").arg(run("2")) + run("] see (") +
               QStringLiteral("<w:hyperlink w:anchor=\"Subsection_1\">%1</w:hyperlink>").arg(run("1.1")) + run(").") +
               QStringLiteral("</w:p>");
    return QStringLiteral("<w:p>") + run(words) + run(QStringLiteral("Warning"), "<w:b/>") + run(QStringLiteral(" see ")) +
           run(QStringLiteral("2"), "<w:vertAlign w:val=\"superscript\"/>") + run(words, "<w:i/>") + QStringLiteral("</w:p>");
}

inline QString table()
{
    QString xml = QStringLiteral("<w:tbl><w:tblPr><w:tblStyle w:val=\"TableGrid\"/></w:tblPr>");
    for (int r = 0; r < 6; ++r) {
        xml += QStringLiteral("<w:tr>");
        for (int c = 0; c < 4; ++c)
            xml += QStringLiteral("<w:tc><w:p>%1</w:p></w:tc>").arg(run(QStringLiteral("Value %1,%2 mg/dL").arg(r).arg(c)));
        xml += QStringLiteral("</w:tr>");
    }
    return xml + QStringLiteral("</w:tbl>");
}

inline QString picture()
{
    return QStringLiteral("<w:p><w:r><w:drawing><wp:inline><wp:extent cx=\"1905000\" cy=\"952500\"/><wp:docPr id=\"1\" name=\"p\"/>"
                          "<a:graphic><a:graphicData uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\"><pic:pic>"
                          "<pic:blipFill><a:blip r:embed=\"rIdImg\"/></pic:blipFill></pic:pic></a:graphicData></a:graphic>"
                          "</wp:inline></w:drawing></w:r></w:p>");
}

inline QByteArray documentXml()
{
    QString body;
    const int perSection = kParagraphs / kSections.size();
    int tables = 0, pictures = 0;
    for (const QString& title : kSections) {
        body += styled("Heading1", run(title), numbered(1, 0));
        for (int p = 0; p < perSection; ++p) {
            if (p % 50 == 1)
                body += styled("Heading2", run(QStringLiteral("Subsection %1").arg(p / 50 + 1)), numbered(1, 1));
            if (title == QLatin1String("REFERENCES") && p < 10)
                body += QStringLiteral("<w:p><w:pPr>%1</w:pPr>%2</w:p>").arg(numbered(2, 0), run(QStringLiteral("Author %1 et al.").arg(p)));
            else if (p % 10 == 5)
                body += QStringLiteral("<w:p><w:pPr>%1</w:pPr>%2</w:p>").arg(numbered(3, 0), run(QStringLiteral("Numbered item")));
            else
                body += labelParagraph(p);
            if (p % 40 == 20 && tables < kTables && ++tables)
                body += table();
            if (p % 40 == 30 && pictures < kPictures && ++pictures)
                body += picture();
        }
    }
    const char* namespaces =
        "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" "
        "xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\" "
        "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
        "xmlns:pic=\"http://schemas.openxmlformats.org/drawingml/2006/picture\"";
    return (QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><w:document %1><w:body>").arg(QLatin1String(namespaces)) +
            body + QStringLiteral("</w:body></w:document>"))
        .toUtf8();
}

inline QByteArray package()
{
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    const QByteArray rels = "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    const QByteArray type = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
    const QByteArray w = "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"";
    const QByteArray level = "<w:lvl w:ilvl=\"%L\"><w:start w:val=\"%S\"/><w:numFmt w:val=\"decimal\"/><w:lvlText w:val=\"%T\"/></w:lvl>";
    const auto lvl = [&](int l, int start, const char* text) {
        return QByteArray(level).replace("%L", QByteArray::number(l)).replace("%S", QByteArray::number(start)).replace("%T", text);
    };
    veldra::word::PackageWriter writer;
    writer.add(QStringLiteral("[Content_Types].xml"),
               "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
               "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
               "<Default Extension=\"xml\" ContentType=\"application/xml\"/><Default Extension=\"png\" ContentType=\"image/png\"/>"
               "<Override PartName=\"/word/document.xml\" "
               "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/></Types>");
    writer.add(QStringLiteral("_rels/.rels"),
               rels + "<Relationship Id=\"r1\" Type=\"" + type + "officeDocument\" Target=\"word/document.xml\"/></Relationships>");
    writer.add(QStringLiteral("word/_rels/document.xml.rels"),
               rels + "<Relationship Id=\"rIdImg\" Type=\"" + type + "image\" Target=\"media/p.png\"/>"
               "<Relationship Id=\"rS\" Type=\"" + type + "styles\" Target=\"styles.xml\"/>"
               "<Relationship Id=\"rN\" Type=\"" + type + "numbering\" Target=\"numbering.xml\"/></Relationships>");
    writer.add(QStringLiteral("word/styles.xml"),
               "<w:styles " + w + "><w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\"><w:name w:val=\"Normal\"/>"
               "</w:style><w:style w:type=\"paragraph\" w:styleId=\"Heading1\"><w:name w:val=\"heading 1\"/><w:basedOn w:val=\"Normal\"/>"
               "<w:rPr><w:b/></w:rPr></w:style><w:style w:type=\"paragraph\" w:styleId=\"Heading2\"><w:name w:val=\"heading 2\"/>"
               "</w:style><w:style w:type=\"table\" w:styleId=\"TableGrid\"><w:name w:val=\"Table Grid\"/>"
               "<w:tblPr><w:tblBorders><w:top w:val=\"single\"/><w:bottom w:val=\"single\"/><w:insideH w:val=\"single\"/>"
               "</w:tblBorders></w:tblPr></w:style></w:styles>");
    writer.add(QStringLiteral("word/numbering.xml"),
               "<w:numbering " + w + "><w:abstractNum w:abstractNumId=\"0\"><w:multiLevelType w:val=\"multilevel\"/>" +
               lvl(0, 1, "%1") + lvl(1, 1, "%1.%2") + "</w:abstractNum><w:abstractNum w:abstractNumId=\"1\">" + lvl(0, 1, "%1.") +
               "</w:abstractNum><w:abstractNum w:abstractNumId=\"2\">" + lvl(0, 1, "%1.") + "</w:abstractNum>"
               "<w:num w:numId=\"1\"><w:abstractNumId w:val=\"0\"/></w:num><w:num w:numId=\"2\"><w:abstractNumId w:val=\"1\"/></w:num>"
               "<w:num w:numId=\"3\"><w:abstractNumId w:val=\"2\"/></w:num></w:numbering>");
    writer.add(QStringLiteral("word/document.xml"), documentXml());
    writer.add(QStringLiteral("word/media/p.png"), png);
    return writer.bytes();
}

// What the converter reads, alone: per paragraph its style, text, list number and
// whole-range formatting; for a formatted paragraph every character's formatting, fields
// and links. Returns a sum so the work cannot be dropped; `characters` counts the
// characters read one by one.
inline int64_t converterWalk(const veldra::word::Document& doc, int64_t* characters = nullptr)
{
    int64_t sum = 0;
    for (const veldra::word::Paragraph& paragraph : doc.paragraphs()) {
        const veldra::word::Range range = paragraph.range();
        sum += paragraph.style().size() + range.text().size() + range.listFormat().listString().size() +
               range.inlineShapes().count() + range.tables().count() + range.bookmarks().count();
        const veldra::word::Font font = range.font();
        if (font.bold() == 0 && font.italic() == 0 && font.underline() == 0 && font.subscript() == 0 && font.superscript() == 0)
            continue;
        for (const veldra::word::Range& character : range.characters()) {
            const veldra::word::Font f = character.font();
            sum += character.hyperlinks().count() + character.fields().count() + f.bold() + f.italic() + f.underline() +
                   f.superscript() + f.subscript() + character.text().size();
            if (characters)
                ++*characters;
        }
    }
    return sum;
}

} // namespace generated_label
