// The .docx reader on a generated 300-page label-like document (GeneratedLabel.h): the open,
// and the character walk the converter makes, each next to libxml2 alone parsing the same
// word/document.xml.
#include "GeneratedLabel.h"

#include <benchmark/benchmark.h>
#include <libxml/parser.h>

using namespace veldra::word;

namespace {

struct Generated {
    QByteArray documentPart;
    QByteArray package;
};

const Generated& generated()
{
    static const Generated g{generated_label::documentXml(), generated_label::package()};
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
        const int64_t sum = generated_label::converterWalk(doc, &characters);
        benchmark::DoNotOptimize(sum);
    }
    state.counters["characters"] = benchmark::Counter(static_cast<double>(characters), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_OpenAndCharacterWalk)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
