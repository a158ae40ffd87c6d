#pragma once

#include <QApplication>
#include <benchmark/benchmark.h>
#include <functional>

// The main of a benchmark program that needs widgets: an offscreen application,
// an optional set-up, then the registered benchmarks.
inline int runQtBenchmarks(int argc, char** argv, const std::function<void()>& setUp = {})
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (setUp)
        setUp();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
