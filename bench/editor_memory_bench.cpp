// Peak memory of opening a settings document in the editor: what an element and what an
// attribute cost, the figures the editor's limit rests on (editor/document/EditorLimit.h), and
// what a real listing of 1,000 products takes, which the editor must open within 2 GB. A plain
// load's peak per element stands beside the editor's.
#include "BenchMain.h"
#include "GeneratedSettings.h"
#include "ListingSettings.h"
#include "editor/document/EditorLimit.h"
#include "editor/window/frmXMLEditor.h"
#include "platform/xml/tree/Document.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <fstream>
#include <malloc.h>
#include <string>

namespace {

using generated_settings::ElementsPerProduct;
using generated_settings::productXml;

// Generated products of `elements` elements in all, each element with `attributes` attributes
// that the captions show.
QString settingsFile(const QTemporaryDir& dir, int elements, int attributes)
{
    QString added;
    for (int i = 0; i < attributes; ++i)
        added += QStringLiteral(" a%1=\"%1\"").arg(i);
    static const QRegularExpression startTag(QStringLiteral("<(\\w+)>"));
    QString text = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><SPLR4%1><Products%1>").arg(added);
    for (int i = 0; i < elements / ElementsPerProduct - 1; ++i)
        text += productXml(i).replace(startTag, QStringLiteral("<\\1") + added + QLatin1Char('>'));
    text += QStringLiteral("</Products></SPLR4>");
    const QString file = dir.filePath(QStringLiteral("Bench%1-%2.xml").arg(elements).arg(attributes));
    QFile out(file);
    out.open(QIODevice::WriteOnly);
    out.write(text.toUtf8());
    return file;
}

// Resets the process's peak resident size to the current one (Linux 4.0 and later).
void resetPeak()
{
    std::ofstream(std::string("/proc/self/clear_refs")) << "5";
}

double statusBytes(const char* field)
{
    std::ifstream status("/proc/self/status");
    const std::string prefix(field);
    for (std::string line; std::getline(status, line);)
        if (line.rfind(prefix, 0) == 0)
            return std::stod(line.substr(prefix.size())) * 1024.0;
    return 0;
}

void openInEditor(const QString& file)
{
    auto* editor = new veldra::frmXMLEditor;
    editor->Mode = QStringLiteral("SPLR4");
    editor->XMLOnTreeView(editor->TreeView, file, QStringLiteral("Edit SPLR4"), false);
    delete editor;
}

// The resident memory `open` adds at its peak, what it freed handed back first.
template <class Open>
double peakBytesOf(Open&& open)
{
    malloc_trim(0);
    const double before = statusBytes("VmRSS:");
    resetPeak();
    open();
    const double peak = statusBytes("VmHWM:") - before;
    malloc_trim(0);
    return peak;
}

// The editor's peak per element, over documents without attributes, and per attribute, from
// the same elements carrying that many attributes each.
void EditorPeakMemory(benchmark::State& state)
{
    const QTemporaryDir dir;
    const int elements = int(state.range(0));
    const int attributes = int(state.range(1));
    const QString bare = settingsFile(dir, elements, 0);
    const QString attributed = settingsFile(dir, elements, attributes);
    double bareBytes = 0;
    double attributedBytes = 0;
    for (auto _ : state) {
        bareBytes = peakBytesOf([&] { openInEditor(bare); });
        attributedBytes = peakBytesOf([&] { openInEditor(attributed); });
    }
    state.counters["peakBytesPerElement"] = bareBytes / elements;
    state.counters["peakBytesPerAttribute"] = (attributedBytes - bareBytes) / (double(elements) * attributes);
    state.counters["fileBytesPerElement"] = double(QFile(bare).size()) / elements;
}

void PlainLoadPeakMemory(benchmark::State& state)
{
    const QTemporaryDir dir;
    const int elements = int(state.range(0));
    const QString file = settingsFile(dir, elements, 0);
    double peak = 0;
    for (auto _ : state)
        peak = peakBytesOf([&] {
            veldra::xml::Document document;
            benchmark::DoNotOptimize(document.load(file));
        });
    state.counters["peakBytesPerElement"] = peak / elements;
}

// The label of the fixtures with 1,000 products, each carrying its definition attributes.
void ListingPeakMemory(benchmark::State& state)
{
    const QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Listing.xml"));
    veldra::DocumentSize size;
    {
        const veldra::xml::Document listing = listing_settings::settingsWith(int(state.range(0)), true);
        listing.save(file);
        size = veldra::treeSizeOf(listing.asNode());
    }
    double peak = 0;
    for (auto _ : state)
        peak = peakBytesOf([&] { openInEditor(file); });
    state.counters["peak_MB"] = peak / (1024 * 1024);
    state.counters["file_MB"] = double(QFile(file).size()) / (1024 * 1024);
    state.counters["elements"] = double(size.elements);
    state.counters["attributes"] = double(size.attributes);
}

BENCHMARK(PlainLoadPeakMemory)->Arg(24000)->Arg(240000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(EditorPeakMemory)
    ->Args({24000, 4})
    ->Args({240000, 4})
    ->ArgNames({"elements", "attributes"})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(ListingPeakMemory)->Arg(1000)->ArgName("products")->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return runQtBenchmarks(argc, argv, listing_settings::useProgramFolderBesideBenchmarks);
}
