// The main of a benchmark program that needs a QApplication. Include it in
// the program's one source file, after its benchmarks.
#pragma once

#include <QApplication>

#include <benchmark/benchmark.h>

int main(int argc, char** argv)
{
    // No display: Qt draws into memory all the same.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
