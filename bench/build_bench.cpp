#include "BenchMain.h"
// How long the SPL build of a whole real label takes (the Rx label of the fixtures: four
// products, about a hundred sections, a dozen tables), schema check included, next to a plain
// libxml2 read and write of the same SPL output: the ratio of the two shows what the engine
// adds to the unavoidable XML work. Logging is off, so the log window's cost is not counted.
// The settings document is written from the label the way the tests write theirs.
#include "../tests/generation/SettingsFromSPL.cpp"
#include "app/Log.h"
#include "generation/build/TransformSPLR4ToSPL.h"
#include "platform/core/AppPaths.h"
#include "platform/xml/ResourceResolver.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

namespace {

const QString label = QStringLiteral(VELDRA_FIXTURES_DIR "/spl-documents/openfda-lipitor-rx/lipitor-orig.xml");

struct BuildSetup {
    QTemporaryDir out;
    veldra::xml::Document settings;
    QString splFile;

    BuildSetup()
    {
        // The program folder the build made beside the benchmarks (data/ copied to bin/).
        veldra::app_paths::setProgramFolderForTesting(QDir(QCoreApplication::applicationDirPath()).filePath("../bin"));
        veldra::xml::setLocalRootForTesting(veldra::xml::ResourceKind::Schema, QStringLiteral(VELDRA_FIXTURES_DIR "/spl-schema"));
        veldra::NoLogging = true;
        settings = veldra::test::settingsFromSPL(label);
        splFile = out.filePath(QStringLiteral("lipitor.xml"));
    }
};

BuildSetup& setup()
{
    static BuildSetup shared;
    return shared;
}

void BuildWholeRxLabel(benchmark::State& state)
{
    BuildSetup& s = setup();
    for (auto _ : state)
        veldra::TransformSPLR4ToSPL(s.settings, s.splFile);
    state.counters["settings elements"] = double(s.settings.selectNodes(QStringLiteral("//*")).length());
}

// The same output read and written by libxml2 alone.
void PlainLibxml2CopyOfTheOutput(benchmark::State& state)
{
    BuildSetup& s = setup();
    veldra::TransformSPLR4ToSPL(s.settings, s.splFile);
    const QByteArray in = s.splFile.toUtf8();
    const QByteArray copy = (s.splFile + QStringLiteral(".copy")).toUtf8();
    for (auto _ : state) {
        xmlDocPtr doc = xmlReadFile(in.constData(), nullptr, XML_PARSE_NONET);
        xmlSaveFormatFileEnc(copy.constData(), doc, "UTF-8", 1);
        xmlFreeDoc(doc);
    }
}

BENCHMARK(BuildWholeRxLabel)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(PlainLibxml2CopyOfTheOutput)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace

int main(int argc, char** argv)
{
    return runQtBenchmarks(argc, argv);
}
