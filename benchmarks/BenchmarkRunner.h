#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <benchmark/benchmark.h>

#include <functional>
#include <initializer_list>
#include <utility>

namespace plenoria::bench {

// Benchmarks draw and decode but show no window.
inline void useOffscreenPlatform()
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// Registers named cases timed in milliseconds, each reported as the aggregates of ten repetitions.
inline void registerCases(
    std::initializer_list<std::pair<const char*, std::function<void(benchmark::State&)>>> cases)
{
    for (const auto& [name, function] : cases) {
        benchmark::RegisterBenchmark(name, function)
            ->Unit(benchmark::kMillisecond)
            ->Repetitions(10)
            ->ReportAggregatesOnly(true);
    }
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
