#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <benchmark/benchmark.h>

namespace plenoria::bench {

// Benchmarks draw and decode but show no window.
inline void useOffscreenPlatform()
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// Runs the benchmarks the command line selects; 1 for arguments Google Benchmark does not know.
inline int runBenchmarks(int& argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace plenoria::bench
