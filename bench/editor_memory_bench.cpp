// Peak memory of opening a settings document in the editor, per element of the document,
// next to the file's own bytes per element and a plain load's peak. The editor refuses files
// above kMaxEditorDocumentBytes; this shows what the files below that limit cost.
#include "BenchMain.h"
#include "GeneratedSettings.h"
#include "editor/window/frmXMLEditor.h"
#include "platform/xml/tree/Document.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

namespace {

using generated_settings::ElementsPerProduct;
using generated_settings::productXml;

QString settingsFile(const QTemporaryDir& dir, int elements)
{
    QString text = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><SPLR4><Products>");
    for (int i = 0; i < elements / ElementsPerProduct; ++i)
        text += productXml(i);
    text += QStringLiteral("</Products></SPLR4>");
    const QString file = dir.filePath(QStringLiteral("Bench%1.xml").arg(elements));
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

double peakBytes()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) * 1024.0;
    return 0;
}

double residentBytes()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stod(line.substr(6)) * 1024.0;
    return 0;
}

template <class Open>
void measure(benchmark::State& state, Open&& open)
{
    const QTemporaryDir dir;
    const int elements = int(state.range(0));
    const QString file = settingsFile(dir, elements);
    double peak = 0;
    for (auto _ : state) {
        const double before = residentBytes();
        resetPeak();
        open(file);
        peak = peakBytes() - before;
    }
    state.counters["peakBytesPerElement"] = peak / elements;
    state.counters["fileBytesPerElement"] = double(QFile(file).size()) / elements;
}

void EditorPeakMemory(benchmark::State& state)
{
    measure(state, [](const QString& file) {
        auto* editor = new veldra::frmXMLEditor;
        editor->Mode = QStringLiteral("SPLR4");
        editor->XMLOnTreeView(editor->TreeView, file, QStringLiteral("Edit SPLR4"), false);
        delete editor;
    });
}

void PlainLoadPeakMemory(benchmark::State& state)
{
    measure(state, [](const QString& file) {
        veldra::xml::Document document;
        benchmark::DoNotOptimize(document.load(file));
    });
}

BENCHMARK(PlainLoadPeakMemory)->Arg(24000)->Arg(240000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(EditorPeakMemory)->Arg(24000)->Arg(240000)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return runQtBenchmarks(argc, argv);
}
