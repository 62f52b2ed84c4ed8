// Saving a 100-frame 256 × 256 animation, as the bench's save does on the main thread, in each
// animated type. save_writers_peers.sh times the same encodes as whole processes in turn with the
// peers, img2webp (same lossless/lossy settings) and apngasm with plain zlib, using the modes
//   --dump-frames DIR [COUNT]     write the frames (100 unless COUNT) as frame000.png …
//   --encode KIND FRAMES_DIR OUT  read those PNGs and write one encoding (apng, webp-lossless, webp-lossy)
#include "BenchmarkRunner.h"
#include "SyntheticImages.h"
#include "TranslucentImages.h"
#include "imaging/model/Bitmap.h"
#include "imaging/write/APNGWriter.h"
#include "imaging/write/AnimatedWebPWriter.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <cstdlib>

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

// The frames a peer reads, read back from their files in the pixel convention, as the renderer
// hands frames to a save.
int encodeFromFiles(const QString& kind, const QString& framesDir, const QString& out)
{
    Filmstrip strip;
    for (const QString& name :
        QDir(framesDir).entryList({QStringLiteral("frame*.png")}, QDir::Files, QDir::Name)) {
        strip.frames.push_back(QImage(QDir(framesDir).filePath(name)).convertToFormat(pixelFormat));
        strip.delays.push_back(40);
    }
    std::optional<QByteArray> bytes;
    if (kind == QLatin1String("apng"))
        bytes = encodeAPNG(strip, 0);
    else if (kind == QLatin1String("webp-lossless") || kind == QLatin1String("webp-lossy"))
        bytes = encodeAnimatedWebPForSave(strip, kind == QLatin1String("webp-lossless"), 0);
    QFile file(out);
    return bytes && file.open(QIODevice::WriteOnly) && file.write(*bytes) == bytes->size() ? 0 : 1;
}

} // namespace

BENCHMARK(animatedWebPLossless)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(animatedWebPLossy)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(animatedPNG)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv)
{
    plenoria::bench::useOffscreenPlatform();
    QGuiApplication app(argc, argv);
    // `--dump-frames DIR [COUNT]` writes the frames as frame000.png … for the peers' side of the comparison.
    if ((argc == 3 || argc == 4) && QByteArray(argv[1]) == "--dump-frames") {
        const std::optional<QDir> folder = plenoria::bench::dumpFolder(argv[2]);
        if (!folder)
            return 1;
        const Filmstrip strip
            = argc == 4 ? test::animatedEmojiStrip(std::atoi(argv[3]), 40) : hundredFrames();
        for (size_t i = 0; i < strip.frames.size(); ++i) {
            const QString name
                = folder->filePath(QStringLiteral("frame%1.png").arg(i, 3, 10, QLatin1Char('0')));
            if (!strip.frames[i].save(name, "PNG"))
                return plenoria::bench::cannotWrite(name);
        }
        return 0;
    }
    if (plenoria::bench::startOnly(argc, argv))
        return 0;
    if (argc == 5 && QByteArray(argv[1]) == "--encode")
        return encodeFromFiles(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
            QString::fromLocal8Bit(argv[4]));
    return plenoria::bench::runBenchmarks(argc, argv);
}
