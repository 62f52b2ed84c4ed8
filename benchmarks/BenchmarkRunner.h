#pragma once

#include <QByteArray>
#include <QDir>
#include <QtGlobal>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <optional>
#include <utility>

namespace plenoria::bench {

// Benchmarks draw and decode but show no window.
inline void useOffscreenPlatform()
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// `--start`: the process starts and exits at once, so that a script can tell how much of a
// whole-process figure is the process's own start (loading Qt and the libraries, setting up).
inline bool startOnly(int argc, char** argv)
{
    return argc == 2 && std::strcmp(argv[1], "--start") == 0;
}

// The folder a `--dump-…` mode writes into, made when missing; none, after saying why on stderr,
// when it cannot be made.
inline std::optional<QDir> dumpFolder(const char* path)
{
    const QString name = QString::fromLocal8Bit(path);
    if (!QDir().mkpath(name)) {
        std::fprintf(stderr, "cannot create the folder %s\n", path);
        return std::nullopt;
    }
    return QDir(name);
}

// Says on stderr which file a `--dump-…` mode could not write; returns 1, the exit status.
inline int cannotWrite(const QString& path)
{
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return 1;
}

// Registers named cases timed in milliseconds, each shown as the aggregates of ten repetitions
// (--benchmark_out still writes every repetition, for the scripts' ranges).
inline void registerCases(
    std::initializer_list<std::pair<const char*, std::function<void(benchmark::State&)>>> cases)
{
    for (const auto& [name, function] : cases) {
        benchmark::RegisterBenchmark(name, function)
            ->Unit(benchmark::kMillisecond)
            ->Repetitions(10)
            ->DisplayAggregatesOnly(true);
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
