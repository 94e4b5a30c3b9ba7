#pragma once

// Entry points of the benchmark programs that need a Qt application object.

#include <QApplication>

#include <benchmark/benchmark.h>

inline int runBenchmarks(int &argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// Widgets draw on the offscreen platform unless the caller chose one (e.g. under Xvfb).
inline int runWidgetBenchmarks(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    return runBenchmarks(argc, argv);
}

inline int runEventLoopBenchmarks(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    return runBenchmarks(argc, argv);
}
