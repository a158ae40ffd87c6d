// The .docx reader on a generated 300-page label-like document (headings, numbered lists,
// formatted runs, 50 tables, 30 pictures): the open, and the character walk the converter
// makes, each next to libxml2 alone parsing the same word/document.xml.
#include "platform/word/Document.h"
#include "platform/word/PackageWriter.h"

#include <QBuffer>
#include <QImage>

#include <benchmark/benchmark.h>
#include <libxml/parser.h>

using namespace veldra::word;

namespace {

constexpr int kSections = 30;
constexpr int kTables = 50;
constexpr int kPictures = 30;
// About 20 paragraphs of ~60 words per page.
constexpr int kParagraphs = 300 * 20;

const char* const kNamespaces =
    "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" "
    "xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\" "
    "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
    "xmlns:pic=\"http://schemas.openxmlformats.org/drawingml/2006/picture\"";

QString run(const QString& text, const char* properties = "")
{
    return QStringLiteral("<w:r><w:rPr>%1</w:rPr><w:t xml:space=\"preserve\">%2</w:t></w:r>").arg(QLatin1String(properties), text);
}

QString labelParagraph(int n)
{
    const QString words = QStringLiteral("The recommended starting dose is 10 mg once daily with or without food, "
                                         "adjusted at intervals of 2 to 4 weeks according to the response of patient %1. ")
                              .arg(n);
    if (n % 3 == 0)
        return QStringLiteral("<w:p>") + run(words) + run(words) + QStringLiteral("</w:p>");
    return QStringLiteral("<w:p>") + run(words) + run(QStringLiteral("Warning"), "<w:b/>") + run(QStringLiteral(" see "), "") +
           run(QStringLiteral("2"), "<w:vertAlign w:val=\"superscript\"/>") + run(words, "<w:i/>") + QStringLiteral("</w:p>");
}

QString table()
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

QString picture()
{
    return QStringLiteral("<w:p><w:r><w:drawing><wp:inline><wp:extent cx=\"1905000\" cy=\"952500\"/><wp:docPr id=\"1\" name=\"p\"/>"
                          "<a:graphic><a:graphicData uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\"><pic:pic>"
                          "<pic:blipFill><a:blip r:embed=\"rIdImg\"/></pic:blipFill></pic:pic></a:graphicData></a:graphic>"
                          "</wp:inline></w:drawing></w:r></w:p>");
}

QByteArray documentXml()
{
    QString body;
    const int perSection = kParagraphs / kSections;
    int tables = 0, pictures = 0;
    for (int s = 0; s < kSections; ++s) {
        body += QStringLiteral("<w:p><w:pPr><w:pStyle w:val=\"Heading1\"/><w:numPr><w:ilvl w:val=\"0\"/><w:numId w:val=\"1\"/>"
                               "</w:numPr></w:pPr>%1</w:p>").arg(run(QStringLiteral("SECTION %1").arg(s)));
        for (int p = 0; p < perSection; ++p) {
            if (p % 10 == 5)
                body += QStringLiteral("<w:p><w:pPr><w:numPr><w:ilvl w:val=\"1\"/><w:numId w:val=\"1\"/></w:numPr></w:pPr>%1</w:p>")
                            .arg(run(QStringLiteral("Numbered item")));
            else
                body += labelParagraph(p);
            if (p % 40 == 20 && tables < kTables && ++tables)
                body += table();
            if (p % 40 == 30 && pictures < kPictures && ++pictures)
                body += picture();
        }
    }
    return (QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><w:document %1><w:body>").arg(QLatin1String(kNamespaces)) +
            body + QStringLiteral("</w:body></w:document>"))
        .toUtf8();
}

struct Generated {
    QByteArray documentPart;
    QByteArray package;
};

const Generated& generated()
{
    static const Generated g = [] {
        Generated result;
        result.documentPart = documentXml();
        QImage image(200, 100, QImage::Format_RGB32);
        image.fill(Qt::blue);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        const QByteArray rels = "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
        const QByteArray type = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
        PackageWriter writer;
        writer.add(QStringLiteral("[Content_Types].xml"),
                   "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                   "<Default Extension=\"png\" ContentType=\"image/png\"/></Types>");
        writer.add(QStringLiteral("_rels/.rels"),
                   rels + "<Relationship Id=\"r1\" Type=\"" + type + "officeDocument\" Target=\"word/document.xml\"/></Relationships>");
        writer.add(QStringLiteral("word/_rels/document.xml.rels"),
                   rels + "<Relationship Id=\"rIdImg\" Type=\"" + type + "image\" Target=\"media/p.png\"/>"
                   "<Relationship Id=\"rS\" Type=\"" + type + "styles\" Target=\"styles.xml\"/>"
                   "<Relationship Id=\"rN\" Type=\"" + type + "numbering\" Target=\"numbering.xml\"/></Relationships>");
        const QByteArray w = "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"";
        writer.add(QStringLiteral("word/styles.xml"),
                   "<w:styles " + w + "><w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\"><w:name w:val=\"Normal\"/>"
                   "</w:style><w:style w:type=\"paragraph\" w:styleId=\"Heading1\"><w:name w:val=\"heading 1\"/><w:basedOn w:val=\"Normal\"/>"
                   "<w:rPr><w:b/></w:rPr></w:style><w:style w:type=\"table\" w:styleId=\"TableGrid\"><w:name w:val=\"Table Grid\"/>"
                   "<w:tblPr><w:tblBorders><w:top w:val=\"single\"/><w:bottom w:val=\"single\"/><w:insideH w:val=\"single\"/>"
                   "</w:tblBorders></w:tblPr></w:style></w:styles>");
        writer.add(QStringLiteral("word/numbering.xml"),
                   "<w:numbering " + w + "><w:abstractNum w:abstractNumId=\"0\"><w:multiLevelType w:val=\"multilevel\"/>"
                   "<w:lvl w:ilvl=\"0\"><w:numFmt w:val=\"decimal\"/><w:lvlText w:val=\"%1\"/></w:lvl>"
                   "<w:lvl w:ilvl=\"1\"><w:numFmt w:val=\"decimal\"/><w:lvlText w:val=\"%1.%2\"/></w:lvl></w:abstractNum>"
                   "<w:num w:numId=\"1\"><w:abstractNumId w:val=\"0\"/></w:num></w:numbering>");
        writer.add(QStringLiteral("word/document.xml"), result.documentPart);
        writer.add(QStringLiteral("word/media/p.png"), png);
        result.package = writer.bytes();
        return result;
    }();
    return g;
}

void BM_Libxml2ParseOfTheDocumentPart(benchmark::State& state)
{
    const QByteArray& part = generated().documentPart;
    for (auto _ : state) {
        xmlDocPtr doc = xmlReadMemory(part.constData(), static_cast<int>(part.size()), nullptr, nullptr, XML_PARSE_NONET);
        benchmark::DoNotOptimize(doc);
        xmlFreeDoc(doc);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * part.size());
}
BENCHMARK(BM_Libxml2ParseOfTheDocumentPart)->Unit(benchmark::kMillisecond);

void BM_OpenDocx(benchmark::State& state)
{
    const QByteArray& package = generated().package;
    for (auto _ : state) {
        Document doc;
        if (!doc.openBytes(package))
            state.SkipWithError("the generated document did not open");
        benchmark::DoNotOptimize(doc);
    }
}
BENCHMARK(BM_OpenDocx)->Unit(benchmark::kMillisecond);

// What the converter reads: per paragraph its style, text, list number and whole-range
// formatting; for a formatted paragraph every character's formatting, fields and links.
void BM_OpenAndCharacterWalk(benchmark::State& state)
{
    const QByteArray& package = generated().package;
    int64_t characters = 0;
    for (auto _ : state) {
        Document doc;
        if (!doc.openBytes(package))
            state.SkipWithError("the generated document did not open");
        int64_t sum = 0;
        for (const Paragraph& paragraph : doc.paragraphs()) {
            const Range range = paragraph.range();
            sum += paragraph.style().size() + range.text().size() + range.listFormat().listString().size() +
                   range.inlineShapes().count() + range.tables().count() + range.bookmarks().count();
            const Font font = range.font();
            if (font.bold() == 0 && font.italic() == 0 && font.underline() == 0 && font.subscript() == 0 && font.superscript() == 0)
                continue;
            for (const Range& character : range.characters()) {
                const Font f = character.font();
                sum += character.hyperlinks().count() + character.fields().count() + f.bold() + f.italic() + f.underline() +
                       f.superscript() + f.subscript() + character.text().size();
                ++characters;
            }
        }
        benchmark::DoNotOptimize(sum);
    }
    state.counters["characters"] = benchmark::Counter(static_cast<double>(characters), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_OpenAndCharacterWalk)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
