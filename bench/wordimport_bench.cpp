// The Word label import on a generated 300-page label (headings, subsections, numbered
// lists, formatted runs, 50 tables, 30 pictures, cross references): the whole import into a
// settings document with and without picture extraction, next to the document's open and
// character walk alone and to pandoc reading the same file into HTML. The import reports its
// time as multiples of those two (x_walk, x_pandoc; the latter only where pandoc is installed).
#include "BenchMain.h"

#include "codesystems/frmSelectLOINC.h"
#include "platform/core/AppPaths.h"
#include "platform/ui/Ui.h"
#include "platform/word/Document.h"
#include "platform/word/PackageWriter.h"
#include "platform/xml/Document.h"
#include "wordimport/ProductLabelImport.h"

#include <QBuffer>
#include <QImage>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <chrono>

using namespace veldra;

namespace {

constexpr int kParagraphs = 300 * 20;  // about 20 paragraphs of ~60 words a page
constexpr int kTables = 50;
constexpr int kPictures = 30;

const QStringList kSections{"BOXED WARNING", "INDICATIONS AND USAGE", "DOSAGE AND ADMINISTRATION",
                            "DOSAGE FORMS AND STRENGTHS", "CONTRAINDICATIONS", "WARNINGS AND PRECAUTIONS",
                            "ADVERSE REACTIONS", "DRUG INTERACTIONS", "USE IN SPECIFIC POPULATIONS",
                            "DRUG ABUSE AND DEPENDENCE", "OVERDOSAGE", "DESCRIPTION", "CLINICAL PHARMACOLOGY",
                            "NONCLINICAL TOXICOLOGY", "CLINICAL STUDIES", "REFERENCES",
                            "HOW SUPPLIED/STORAGE AND HANDLING", "PATIENT COUNSELING INFORMATION"};

QString run(const QString& text, const char* properties = "")
{
    return QStringLiteral("<w:r><w:rPr>%1</w:rPr><w:t xml:space=\"preserve\">%2</w:t></w:r>").arg(QLatin1String(properties), text);
}

QString styled(const char* style, const QString& content, const QString& numbering = QString())
{
    return QStringLiteral("<w:p><w:pPr><w:pStyle w:val=\"%1\"/>%2</w:pPr>%3</w:p>").arg(QLatin1String(style), numbering, content);
}

QString numbered(int numId, int level)
{
    return QStringLiteral("<w:numPr><w:ilvl w:val=\"%1\"/><w:numId w:val=\"%2\"/></w:numPr>").arg(level).arg(numId);
}

QString labelParagraph(int n)
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

QByteArray package()
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
    word::PackageWriter writer;
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

// Answers every question of the import as a user who goes ahead would.
class GoAheadUi : public ui::Backend {
public:
    ui::Answer message(const ui::MessageRequest& request) override
    {
        return request.buttons == ui::Buttons::YesNo ? ui::Answer::Yes : ui::Answer::OK;
    }
    std::optional<QString> input(const ui::InputRequest&) override { return std::nullopt; }
    std::optional<QString> openFile(const ui::FileRequest&) override { return std::nullopt; }
    std::optional<QString> saveFile(const ui::FileRequest&) override { return std::nullopt; }
    std::optional<QString> chooseFolder(const QString&, const QString&) override { return std::nullopt; }
    std::optional<QColor> chooseColor(const QColor&) override { return std::nullopt; }
    bool shellOpen(const QString&) override { return true; }
    void setClipboardText(const QString&) override {}
    QString clipboardText() override { return {}; }
    void pumpMessages() override {}
};

struct Setup {
    QTemporaryDir dir;
    QString file;
    QString pictures;
};

Setup& setup()
{
    static Setup s = [] {
        Setup made;
        made.file = made.dir.filePath(QStringLiteral("label.docx"));
        made.pictures = made.dir.filePath(QStringLiteral("pictures"));
        QDir().mkpath(made.pictures);
        QFile out(made.file);
        out.open(QIODevice::WriteOnly);
        out.write(package());
        return made;
    }();
    return s;
}

// Per-iteration times of the yardsticks, which run first, so the import can report its
// ratios to them.
double walkSeconds = 0;
double pandocSeconds = 0;

double secondsPerIteration(const benchmark::State& state, std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / state.iterations();
}

// What the converter reads, alone: the open and the walk over styles, texts, list numbers
// and, for formatted paragraphs, every character's formatting, fields and links.
void BM_OpenAndCharacterWalk(benchmark::State& state)
{
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        word::Document doc;
        if (!doc.open(setup().file))
            state.SkipWithError("the generated document did not open");
        int64_t sum = 0;
        for (const word::Paragraph& paragraph : doc.paragraphs()) {
            const word::Range range = paragraph.range();
            sum += paragraph.style().size() + range.text().size() + range.listFormat().listString().size() +
                   range.inlineShapes().count() + range.tables().count() + range.bookmarks().count();
            const word::Font font = range.font();
            if (font.bold() == 0 && font.italic() == 0 && font.underline() == 0 && font.subscript() == 0 && font.superscript() == 0)
                continue;
            for (const word::Range& character : range.characters()) {
                const word::Font f = character.font();
                sum += character.hyperlinks().count() + character.fields().count() + f.bold() + f.italic() + f.underline() +
                       f.superscript() + f.subscript() + character.text().size();
            }
        }
        benchmark::DoNotOptimize(sum);
    }
    walkSeconds = secondsPerIteration(state, start);
}
BENCHMARK(BM_OpenAndCharacterWalk)->Unit(benchmark::kMillisecond);

// The same file read into HTML by pandoc (installed by scripts/bench), as a user could
// convert a label without this program.
void BM_PandocDocxToHtml(benchmark::State& state)
{
    const QString pandoc = QStandardPaths::findExecutable(QStringLiteral("pandoc"));
    if (pandoc.isEmpty()) {
        state.SkipWithError("pandoc is not installed (scripts/bench installs it)");
        return;
    }
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        QProcess process;
        process.start(pandoc, {QStringLiteral("-f"), QStringLiteral("docx"), QStringLiteral("-t"), QStringLiteral("html"), setup().file});
        process.waitForFinished(-1);
        benchmark::DoNotOptimize(process.readAllStandardOutput().size());
    }
    pandocSeconds = secondsPerIteration(state, start);
}
BENCHMARK(BM_PandocDocxToHtml)->Unit(benchmark::kMillisecond)->Iterations(3);

// A user who files every title the code list does not know as unclassified, at once: the
// picker is answered as soon as it shows, so no waiting of the script counts as import time.
class UnclassifiedPicker : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched == frmSelectLOINC::instance())
            QMetaObject::invokeMethod(
                this,
                [] {
                    if (frmSelectLOINC* form = frmSelectLOINC::instance(); form && form->isVisible())
                        form->cmdUnclassified->click();
                },
                Qt::QueuedConnection);
        return false;
    }
};

void BM_ImportIntoSettingsDocument(benchmark::State& state)
{
    const bool extract = state.range(0) != 0;
    GoAheadUi answers;
    ui::setBackend(&answers);
    // Subsection titles that name no LOINC section leave the picker to the user: unclassified.
    UnclassifiedPicker picker;
    qApp->installEventFilter(&picker);
    int sections = 0;
    std::chrono::steady_clock::duration imported{};
    for (auto _ : state) {
        state.PauseTiming();
        xml::Document settings;
        settings.load(app_paths::inProgram(QStringLiteral("SPLR4Definitions/DefinitionSPLR4.xml")));
        const xml::Node options = settings.selectSingleNode(QStringLiteral("SPLR4/ProductLabel/WordDocument"));
        options.selectSingleNode(QStringLiteral("File")).setText(setup().file);
        options.selectSingleNode(QStringLiteral("ImageTargetFolder")).setText(setup().pictures);
        options.selectSingleNode(QStringLiteral("EffectiveTime")).setText(QStringLiteral("20240131"));
        options.selectSingleNode(QStringLiteral("ExtractImages")).setText(extract ? QStringLiteral("Yes") : QStringLiteral("No"));
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        ImportProductLabelFromWord(nullptr, settings);
        imported += std::chrono::steady_clock::now() - start;
        sections = settings.selectNodes(QStringLiteral("SPLR4/ProductLabel/DocumentSections/Section")).length();
    }
    qApp->removeEventFilter(&picker);
    ui::setBackend(nullptr);
    if (sections != kSections.size())
        state.SkipWithError("the import did not bring every section");
    state.counters["sections"] = sections;
    const double seconds = std::chrono::duration<double>(imported).count() / state.iterations();
    if (walkSeconds > 0)
        state.counters["x_walk"] = seconds / walkSeconds;
    if (pandocSeconds > 0)
        state.counters["x_pandoc"] = seconds / pandocSeconds;
}
BENCHMARK(BM_ImportIntoSettingsDocument)->Arg(0)->Arg(1)->ArgNames({"extract"})->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    return runQtBenchmarks(argc, argv, [] {
        app_paths::setProgramFolderForTesting(QStringLiteral(VELDRA_PROGRAM_DIR));
    });
}
