// Saving a 100-frame 256 × 256 animation, as the bench's save does on the main thread, in each
// animated type. Peers side by side: img2webp (same lossless/lossy settings) and apngasm with
// plain zlib, run by the shell script beside this file.
#include "APNGWriter.h"
#include "AnimatedWebPWriter.h"
#include "TranslucentImages.h"
#include "SyntheticImages.h"
#include "BenchmarkRunner.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

using namespace plenoria;

namespace {

const Filmstrip& hundredFrames()
{
    static const Filmstrip strip = test::animatedEmojiStrip(100, 40);
    return strip;
}

void animatedWebPLossless(benchmark::State& state)
{
    qint64 bytes = 0;
    for (auto _ : state)
        bytes = encodeAnimatedWebPForSave(hundredFrames(), true, 0).value_or(QByteArray()).size();
    state.counters["bytes"] = double(bytes);
}

void animatedWebPLossy(benchmark::State& state)
{
    qint64 bytes = 0;
    for (auto _ : state)
        bytes = encodeAnimatedWebPForSave(hundredFrames(), false, 0).value_or(QByteArray()).size();
    state.counters["bytes"] = double(bytes);
}

void animatedPNG(benchmark::State& state)
{
    qint64 bytes = 0;
    for (auto _ : state)
        bytes = encodeAPNG(hundredFrames(), 0).value_or(QByteArray()).size();
    state.counters["bytes"] = double(bytes);
}

} // namespace

BENCHMARK(animatedWebPLossless)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(animatedWebPLossy)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(animatedPNG)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv)
{
    plenoria::bench::useOffscreenPlatform();
    QGuiApplication app(argc, argv);
    // `--dump-frames DIR` writes the frames as frame000.png … for the peers' side of the comparison.
    if (argc == 3 && QByteArray(argv[1]) == "--dump-frames") {
        for (size_t i = 0; i < hundredFrames().frames.size(); ++i) {
            const QString name = QStringLiteral("%1/frame%2.png")
                                     .arg(QString::fromLocal8Bit(argv[2]))
                                     .arg(i, 3, 10, QLatin1Char('0'));
            if (!hundredFrames().frames[i].save(name, "PNG"))
                return 1;
        }
        return 0;
    }
    return plenoria::bench::runBenchmarks(argc, argv);
}
