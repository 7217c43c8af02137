#pragma once

// The main of the benchmarks that need Qt: an application (offscreen unless a platform is
// set), then Google Benchmark.

#include <QApplication>

#include <benchmark/benchmark.h>

inline int runQtBenchmarks(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
