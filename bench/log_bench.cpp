#include "BenchMain.h"
// How long a long job's log takes: 20,000 WriteLog lines in a row into the log
// window, with the message pump every 100 lines, as a build or a search writes them.
#include "app/log/Log.h"
#include "app/log/frmLog.h"

#include <QApplication>
#include <QTextEdit>
#include <benchmark/benchmark.h>

namespace {

const char* const categories[] = {"Processing", "Information", "Warning", "Error", "", "Load Section"};

void WriteLog20000Lines(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        veldra::ShowLogWindow(true);
        state.ResumeTiming();
        for (int i = 0; i < 20000; ++i)
            veldra::WriteLog(QLatin1String(categories[i % 6]),
                             QStringLiteral("Section %1 of the label has been converted").arg(i), i % 50 == 0);
        QApplication::processEvents();
    }
    state.counters["lines"] = benchmark::Counter(20000.0 * double(state.iterations()), benchmark::Counter::kIsRate);
    if (veldra::logWindow())
        state.counters["characters"] = double(veldra::logWindow()->txtLog->document()->characterCount());
}

BENCHMARK(WriteLog20000Lines)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    return runQtBenchmarks(argc, argv);
}
