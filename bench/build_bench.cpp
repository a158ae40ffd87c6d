#include "BenchMain.h"
// How long the SPL build takes as a label grows: a settings document made from the Rx label of
// the fixtures, its first product cloned (with fresh ids) to 1, 10, 100, 300 and 1,000
// products, with and without the label's sections. Each build is reported next to the floor
// measured in the same run: libxml2 alone parsing, saving and schema-validating that build's
// own output. The counter "x_floor" is the ratio of the two, so the figures hold on a busy
// machine; the build should stay within a small multiple of the floor and grow linearly with
// the products. Logging is off, so the log window's cost is not counted.
//
// Memory: "peak_MB" is the peak resident memory a build adds to a process that has loaded the
// settings document and built it once, and "MB_per_product" how much more that is than for
// the same label with one product, per further product. Each is measured in a process of its
// own, so the allocator's history of the other sizes does not count.
#include "ListingSettings.h"
#include "app/log/Log.h"
#include "generation/building/TransformSPLR4ToSPL.h"
#include "platform/xml/resources/ResourceResolver.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <malloc.h>
#include <string>
#include <vector>
#include <benchmark/benchmark.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlschemas.h>

namespace {

const QByteArray schema = QByteArrayLiteral(VELDRA_FIXTURES_DIR "/spl-schema/SPL.xsd");

void useProgramFolderBesideBenchmarks()
{
    listing_settings::useProgramFolderBesideBenchmarks();
    veldra::xml::setLocalRootForTesting(veldra::xml::ResourceKind::Schema, QStringLiteral(VELDRA_FIXTURES_DIR "/spl-schema"));
    veldra::NoLogging = true;
}

struct BuildSetup {
    QTemporaryDir out;
    xmlSchemaPtr splSchema = nullptr;

    BuildSetup()
    {
        useProgramFolderBesideBenchmarks();
        xmlSchemaParserCtxtPtr parser = xmlSchemaNewParserCtxt(schema.constData());
        splSchema = xmlSchemaParse(parser);
        xmlSchemaFreeParserCtxt(parser);
    }
};

BuildSetup& setup()
{
    static BuildSetup shared;
    return shared;
}

// glibc defers merging freed blocks to the next large allocation, which would charge each
// side of the comparison with what the other freed; each side settles its own instead.
void settleFreedMemory()
{
    malloc_trim(0);
}

// One pass of libxml2 alone over the build's output: parse, save, validate.
double floorSeconds(const QString& splFile)
{
    const QByteArray in = splFile.toUtf8();
    const QByteArray copy = (splFile + QStringLiteral(".copy")).toUtf8();
    QElapsedTimer timer;
    timer.start();
    xmlDocPtr doc = xmlReadFile(in.constData(), nullptr, XML_PARSE_NONET);
    xmlSaveFormatFileEnc(copy.constData(), doc, "UTF-8", 1);
    xmlSchemaValidCtxtPtr validator = xmlSchemaNewValidCtxt(setup().splSchema);
    benchmark::DoNotOptimize(xmlSchemaValidateDoc(validator, doc));
    xmlSchemaFreeValidCtxt(validator);
    xmlFreeDoc(doc);
    settleFreedMemory();
    return double(timer.nsecsElapsed()) / 1e9;
}

// Resets the process's peak resident size to the current one (Linux 4.0 and later).
void resetPeak()
{
    std::ofstream(std::string("/proc/self/clear_refs")) << "5";
}

double statusMegabytes(const char* field)
{
    std::ifstream status("/proc/self/status");
    const std::string prefix(field);
    for (std::string line; std::getline(status, line);)
        if (line.rfind(prefix, 0) == 0)
            return std::stod(line.substr(prefix.size())) / 1024.0;
    return 0;
}

const char* const peakChildOption = "--build-peak-of";

// In a process of its own: loads the settings file, builds once (the program compiles the
// schema once per session), hands back what it freed, and prints the resident memory the
// second build adds at its peak. A fresh process gives every size the same allocator history.
int printBuildPeak(const QString& settingsFile)
{
    useProgramFolderBesideBenchmarks();
    veldra::xml::Document settings;
    if (!settings.load(settingsFile))
        return 1;
    const QString splFile = settingsFile + QStringLiteral(".spl.xml");
    veldra::TransformSPLR4ToSPL(settings, splFile);
    settleFreedMemory();
    const double before = statusMegabytes("VmRSS:");
    resetPeak();
    veldra::TransformSPLR4ToSPL(settings, splFile);
    std::printf("%f\n", statusMegabytes("VmHWM:") - before);
    return 0;
}

// The resident memory a build of `settings` adds at its peak, the settings already loaded.
double buildPeakMegabytes(const veldra::xml::Document& settings, const QString& settingsFile)
{
    settings.save(settingsFile);
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(peakChildOption), settingsFile});
    child.waitForFinished(-1);
    bool ok = false;
    const double peak = child.readAllStandardOutput().trimmed().toDouble(&ok);
    QFile::remove(settingsFile);
    return ok ? peak : -1;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void BuildLabel(benchmark::State& state)
{
    const int products = int(state.range(0));
    const bool withSections = state.range(1) != 0;
    const QString splFile = setup().out.filePath(QStringLiteral("label-%1.xml").arg(products));
    const veldra::xml::Document settings = listing_settings::settingsWith(products, withSections);
    // The program compiles the schema once per session and keeps it, as the floor does; the
    // first build of the run would otherwise count that compilation.
    veldra::TransformSPLR4ToSPL(settings, splFile);
    const QString settingsFile = setup().out.filePath(QStringLiteral("settings.xml"));
    const double peak = buildPeakMegabytes(settings, settingsFile);
    const double onePeak = products == 1 ? peak : buildPeakMegabytes(listing_settings::settingsWith(1, withSections), settingsFile);
    // Each build is paired with a floor run right after it, and the medians are compared, so
    // a burst of load on a shared machine moves both sides or neither.
    std::vector<double> builds;
    std::vector<double> floors;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        veldra::TransformSPLR4ToSPL(settings, splFile);
        settleFreedMemory();
        builds.push_back(double(timer.nsecsElapsed()) / 1e9);
        state.PauseTiming();
        floors.push_back(floorSeconds(splFile));
        state.ResumeTiming();
    }
    state.counters["x_floor"] = median(builds) / median(floors);
    state.counters["build_ms"] = median(builds) * 1000;
    state.counters["floor_ms"] = median(floors) * 1000;
    state.counters["products"] = products;
    state.counters["peak_MB"] = peak;
    if (products > 1)
        state.counters["MB_per_product"] = (peak - onePeak) / (products - 1);
}

BENCHMARK(BuildLabel)
    ->ArgsProduct({{1, 10, 100, 300}, {0, 1}})
    ->ArgNames({"products", "sections"})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

// A thousand products take seconds a build: fewer pairs.
BENCHMARK(BuildLabel)
    ->ArgsProduct({{1000}, {0, 1}})
    ->ArgNames({"products", "sections"})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], peakChildOption) == 0) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        return printBuildPeak(QString::fromLocal8Bit(argv[2]));
    }
    return runQtBenchmarks(argc, argv);
}
