// The XML layer's cost over plain libxml2 on the largest real SPL document: parse alone,
// the layer's load (parse, whitespace pass), queries in the program's dialect, serialisation
// (as it is and indented), and the whole load + query + serialise round a build or a preview makes.
#include "platform/xml/tree/Document.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <benchmark/benchmark.h>
#include <libxml/parser.h>

#include <stdexcept>

using namespace veldra::xml;

namespace {

QString largestSplDocument()
{
    QString largest;
    qint64 size = -1;
    QDirIterator it(QStringLiteral(VELDRA_FIXTURES_DIR "/spl-documents"), {QStringLiteral("*.xml")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        if (info.size() > size) {
            size = info.size();
            largest = info.filePath();
        }
    }
    if (largest.isEmpty())
        throw std::runtime_error("no SPL fixture found");
    return largest;
}

const QString& fixturePath()
{
    static const QString path = largestSplDocument();
    return path;
}

QByteArray fixtureBytes()
{
    QFile file(fixturePath());
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read the SPL fixture");
    return file.readAll();
}

Document loadedFixture()
{
    Document doc;
    if (!doc.load(fixturePath()))
        throw std::runtime_error("the SPL fixture does not load");
    return doc;
}

void BM_PlainLibxml2Parse(benchmark::State& state)
{
    const QByteArray bytes = fixtureBytes();
    for (auto _ : state) {
        xmlDocPtr doc = xmlReadMemory(bytes.constData(), static_cast<int>(bytes.size()), nullptr, nullptr,
                                      XML_PARSE_NONET | XML_PARSE_NODICT | XML_PARSE_BIG_LINES);
        benchmark::DoNotOptimize(doc);
        xmlFreeDoc(doc);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_PlainLibxml2Parse)->Unit(benchmark::kMicrosecond);

void BM_LayerLoad(benchmark::State& state)
{
    for (auto _ : state) {
        Document doc;
        benchmark::DoNotOptimize(doc.load(fixturePath()));
    }
}
BENCHMARK(BM_LayerLoad)->Unit(benchmark::kMicrosecond);

void BM_LayerQuerySections(benchmark::State& state)
{
    const Document doc = loadedFixture();
    for (auto _ : state)
        benchmark::DoNotOptimize(doc.selectNodes(QStringLiteral("//section/code/@code")).length());
}
BENCHMARK(BM_LayerQuerySections)->Unit(benchmark::kMicrosecond);

void BM_LayerQueryPositional(benchmark::State& state)
{
    const Document doc = loadedFixture();
    for (auto _ : state)
        benchmark::DoNotOptimize(doc.selectSingleNode(QStringLiteral("document/component/structuredBody/component[1]")));
}
BENCHMARK(BM_LayerQueryPositional)->Unit(benchmark::kMicrosecond);

void BM_LayerSerialise(benchmark::State& state)
{
    const Document doc = loadedFixture();
    for (auto _ : state)
        benchmark::DoNotOptimize(doc.xml().size());
}
BENCHMARK(BM_LayerSerialise)->Unit(benchmark::kMicrosecond);

// The layout a saved label gets: element content indented, one element a line.
void BM_LayerSerialiseIndented(benchmark::State& state)
{
    const Document doc = loadedFixture();
    for (auto _ : state)
        benchmark::DoNotOptimize(doc.xmlBytes(Layout::Indented).size());
}
BENCHMARK(BM_LayerSerialiseIndented)->Unit(benchmark::kMicrosecond);

void BM_LayerLoadQuerySerialise(benchmark::State& state)
{
    for (auto _ : state) {
        Document doc;
        doc.load(fixturePath());
        int total = doc.selectNodes(QStringLiteral("//section")).length();
        for (const Node& name : doc.selectNodes(QStringLiteral("//manufacturedProduct/name")))
            total += static_cast<int>(name.text().size());
        total += static_cast<int>(doc.xml().size());
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_LayerLoadQuerySerialise)->Unit(benchmark::kMicrosecond);

} // namespace

// A file whose elements all sit under `declarations` namespace declarations in scope, one
// element declaring them and 900,000 empty ones below: the shape that makes libxml2's
// lookups per element costly, at the count the readers admit (255 beside the default one: 256) and below it. Its load,
// and the import of its subtree into another document as Add SPL from File makes it.
QByteArray declaredFile(int declarations)
{
    QByteArray text = "<document xmlns=\"urn:hl7-org:v3\"><section";
    for (int i = 0; i < declarations; ++i)
        text += " xmlns:p" + QByteArray::number(i) + "=\"urn:p" + QByteArray::number(i) + "\"";
    return text + ">" + QByteArray("<br/>").repeated(900000) + "</section></document>";
}

QString declaredFilePath(int declarations)
{
    const QString path = QDir::temp().filePath(QStringLiteral("veldra-bench-declared-%1.xml").arg(declarations));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(declaredFile(declarations)) < 0)
        throw std::runtime_error("cannot write the generated file");
    return path;
}

void BM_LoadUnderDeclarations(benchmark::State& state)
{
    const QString path = declaredFilePath(int(state.range(0)));
    for (auto _ : state) {
        Document doc;
        if (!doc.load(path, OutsideFile))
            throw std::runtime_error("the generated file does not load");
    }
    QFile::remove(path);
}
BENCHMARK(BM_LoadUnderDeclarations)->Arg(16)->Arg(255)->Unit(benchmark::kMillisecond);

void BM_ImportUnderDeclarations(benchmark::State& state)
{
    const QString path = declaredFilePath(int(state.range(0)));
    Document source;
    if (!source.load(path, OutsideFile))
        throw std::runtime_error("the generated file does not load");
    QFile::remove(path);
    const Node section = source.documentElement().firstChild();
    for (auto _ : state) {
        Document target;
        target.loadXml(QStringLiteral("<document xmlns=\"urn:hl7-org:v3\"/>"));
        target.documentElement().appendChild(target.importNode(section, true));
    }
}
BENCHMARK(BM_ImportUnderDeclarations)->Arg(16)->Arg(255)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
