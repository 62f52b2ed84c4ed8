// Hostile files against the scan, the preview and the bench: time, and the peak memory each
// operation adds to the process (VmHWM, reset before every run), beside the file's own size. A scan
// must finish in well under a second and stay under about 2 × the file size plus 64 MB.

#include "ApngBuilder.h"
#include "BenchmarkRunner.h"
#include "HostileFiles.h"
#include "PeerTools.h"
#include "imaging/read/GIFAnimation.h"
#include "imaging/read/ImageItem.h"
#include "imaging/read/ImageSource.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QUrl>
#include <benchmark/benchmark.h>

#include <functional>

using namespace plenoria;

namespace {

QTemporaryDir& folder()
{
    static QTemporaryDir dir;
    return dir;
}

// The file, written once per run: generating the large ones takes longer than reading them.
QString hostileFile(const QString& name, const std::function<QByteArray()>& make)
{
    const QString path = folder().filePath(name);
    if (!QFile::exists(path) && !test::writeFileBytes(path, make()))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

qint64 statusKilobytes(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qsizetype(strlen(field))).trimmed().split(' ').front().toLongLong();
    return 0;
}

void resetPeak()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

// Runs `operation` once per iteration; reports the most memory one run added above the process's
// resident size before it, and the file's size, in MB.
void measure(benchmark::State& state, const QString& path, const std::function<void()>& operation)
{
    qint64 peakAdded = 0;
    for (auto _ : state) {
        state.PauseTiming();
        resetPeak();
        const qint64 before = statusKilobytes("VmRSS:");
        state.ResumeTiming();
        operation();
        state.PauseTiming();
        peakAdded = std::max(peakAdded, statusKilobytes("VmHWM:") - before);
        state.ResumeTiming();
    }
    state.counters["fileMB"] = double(QFileInfo(path).size()) / 1e6;
    state.counters["peakAddedMB"] = double(peakAdded) / 1e3;
}

QString manyFrameWebP()
{
    return hostileFile(QStringLiteral("frames-100000.webp"), [] { return test::manyFrameWebP(100000); });
}

QString manyDescriptorGif()
{
    return hostileFile(
        QStringLiteral("descriptors-5000000.gif"), [] { return test::manyDescriptorGif(5000000); });
}

void BM_ScanWebPOf100000Frames(benchmark::State& state)
{
    const QUrl url = QUrl::fromLocalFile(manyFrameWebP());
    measure(state, url.toLocalFile(), [&] { benchmark::DoNotOptimize(ImageItem::fromUrl(url)); });
}

void BM_PreviewWebPOf100000Frames(benchmark::State& state)
{
    const QUrl url = QUrl::fromLocalFile(manyFrameWebP());
    measure(state, url.toLocalFile(), [&] { benchmark::DoNotOptimize(GIFAnimation::load(url)); });
}

void BM_ScanGifOf5000000Descriptors(benchmark::State& state)
{
    const QUrl url = QUrl::fromLocalFile(manyDescriptorGif());
    measure(state, url.toLocalFile(), [&] { benchmark::DoNotOptimize(ImageItem::fromUrl(url)); });
}

void BM_OpenApngOf4000000EmptyFrameControls(benchmark::State& state)
{
    const QString path
        = hostileFile(QStringLiteral("fctl-4000000.png"), [] { return test::fcTLFloodApng(4000000); });
    measure(state, path, [&] {
        const std::optional<ImageSource> source = ImageSource::open(path);
        benchmark::DoNotOptimize(source ? source->decodeFrames() : std::nullopt);
    });
}

void BM_PreviewApngOf9000FramesWithAPrivateChunk(benchmark::State& state)
{
    const QString path = hostileFile(QStringLiteral("private-9000.png"), [] {
        QImage pixel(1, 1, QImage::Format_ARGB32);
        pixel.fill(Qt::red);
        const std::vector<test::ApngFrame> frames(9000, test::ApngFrame{pixel, {}});
        return test::withChunkAfterHeader(test::makeApng(frames), "prVt", QByteArray(500000, 'x'));
    });
    const QUrl url = QUrl::fromLocalFile(path);
    measure(state, path, [&] { benchmark::DoNotOptimize(GIFAnimation::load(url)); });
}

BENCHMARK(BM_ScanWebPOf100000Frames)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_PreviewWebPOf100000Frames)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_ScanGifOf5000000Descriptors)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_OpenApngOf4000000EmptyFrameControls)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5);
BENCHMARK(BM_PreviewApngOf9000FramesWithAPrivateChunk)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    plenoria::bench::useOffscreenPlatform();
    QGuiApplication app(argc, argv);
    return plenoria::bench::runBenchmarks(argc, argv);
}
