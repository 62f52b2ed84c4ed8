// The export encoders on the workload of an animated emoji: 100 RGBA frames of 256 × 256.
// Run without arguments for the Google Benchmark figures. compare-encoders.sh also uses the modes
//   --export DIR [COUNT]            write COUNT frames (100) as PNGs, a 1024 × 1024 still.png and a
//                                   2.5 MB GIF into DIR
//   --encode KIND FRAMES_DIR OUT    read the PNGs and write one encoding (gif-plain, gif-dither, webp);
//                                   webp-still reads the one PNG file FRAMES_DIR names
//   --start                         start and exit, to tell how much of a whole-process time is start
//   --rewrite IN OUT N              set the N delays of a GIF to 100 ms
//   --psnr FRAMES_DIR DECODED       PSNR over opaque pixels against PNG frames (or one PNG) and a WebP
#include "BenchmarkRunner.h"
#include "EncoderSamples.h"
#include "PeerTools.h"
#include "imaging/gif/GIFWriter.h"
#include "imaging/model/Bitmap.h"
#include "imaging/render/Renderer.h"
#include "imaging/write/WebPWriter.h"
#include "imaging/write/WriterPixels.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <benchmark/benchmark.h>
#include <webp/demux.h>

#include <cmath>
#include <cstdio>
#include <cstring>

using namespace plenoria;

namespace {

constexpr int frameCount = 100;
constexpr int side = 256;

const Filmstrip& benchStrip()
{
    static const Filmstrip strip{
        test::stickerFrames(frameCount, side, side), std::vector<qint64>(frameCount, 50), 0};
    return strip;
}

// Noisier frames than the stickers, so that the GIF reaches the 2.5 MB of the rewrite workload.
const QByteArray& bigGif()
{
    static const QByteArray gif = [] {
        std::vector<QImage> frames = test::stickerFrames(frameCount, side, side, 9);
        for (QImage& frame : frames)
            for (int y = 0; y < side; ++y)
                for (int x = 0; x < side * 4; x += 4)
                    if ((x / 4 + y) % 3 == 0)
                        frame.scanLine(y)[x + 1] ^= 0x3F;
        return GIFWriter::encodeGIF(
            {frames, std::vector<qint64>(frameCount, 50), 0}, GIFPalette::limited(256, false))
            .value_or(QByteArray());
    }();
    return gif;
}

void BM_GifLimitedPlain(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(GIFWriter::encodeGIF(benchStrip(), GIFPalette::limited(256, false)));
}
BENCHMARK(BM_GifLimitedPlain)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_GifLimitedDithered(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(GIFWriter::encodeGIF(benchStrip(), GIFPalette::limited(256, true)));
}
BENCHMARK(BM_GifLimitedDithered)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_GifSystem(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(GIFWriter::encodeGIF(benchStrip(), GIFPalette::system()));
}
BENCHMARK(BM_GifSystem)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WebPAnimatedQuality75(benchmark::State& state)
{
    const Filmstrip& strip = benchStrip();
    for (auto _ : state)
        benchmark::DoNotOptimize(WebPWriter::encodeAnimatedWebP(strip.frames, strip.delays, 0, 75));
}
BENCHMARK(BM_WebPAnimatedQuality75)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WebPStillQuality75(benchmark::State& state)
{
    const QImage still
        = test::stickerFrames(1, int(WebPWriter::sizeLimit), int(WebPWriter::sizeLimit)).front();
    for (auto _ : state)
        benchmark::DoNotOptimize(WebPWriter::encodeStillWebP(still, 75));
}
BENCHMARK(BM_WebPStillQuality75)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RewriteGIFDelays(benchmark::State& state)
{
    const QByteArray& gif = bigGif();
    const std::vector<qint64> delays(frameCount, 100);
    for (auto _ : state)
        benchmark::DoNotOptimize(GIFWriter::rewriteGIFDelays(gif, delays));
}
BENCHMARK(BM_RewriteGIFDelays)->Unit(benchmark::kMicrosecond)->UseRealTime();

std::vector<QImage> loadFrames(const QString& dir)
{
    std::vector<QImage> frames;
    for (const QString& name : QDir(dir).entryList({"*.png"}, QDir::Files, QDir::Name))
        frames.push_back(QImage(QDir(dir).filePath(name)).convertToFormat(QImage::Format_RGBA8888));
    return frames;
}

std::vector<QImage> decodeWebP(const QByteArray& bytes)
{
    std::vector<QImage> frames;
    WebPData data{reinterpret_cast<const uint8_t*>(bytes.constData()), std::size_t(bytes.size())};
    WebPAnimDecoderOptions options;
    WebPAnimDecoderOptionsInit(&options);
    options.color_mode = MODE_RGBA;
    WebPAnimDecoder* decoder = WebPAnimDecoderNew(&data, &options);
    if (!decoder)
        return frames;
    WebPAnimInfo info;
    WebPAnimDecoderGetInfo(decoder, &info);
    while (WebPAnimDecoderHasMoreFrames(decoder)) {
        uint8_t* pixels = nullptr;
        int timestamp = 0;
        if (!WebPAnimDecoderGetNext(decoder, &pixels, &timestamp))
            break;
        frames.push_back(
            QImage(pixels, int(info.canvas_width), int(info.canvas_height), QImage::Format_RGBA8888).copy());
    }
    WebPAnimDecoderDelete(decoder);
    return frames;
}

int printPsnr(const QString& framesDir, const QString& decoded)
{
    const std::vector<QImage> originals = QFileInfo(framesDir).isFile()
        ? std::vector<QImage>{QImage(framesDir).convertToFormat(QImage::Format_RGBA8888)}
        : loadFrames(framesDir);
    const std::vector<QImage> outputs
        = decoded.endsWith(".webp") ? decodeWebP(test::readFileBytes(decoded)) : loadFrames(decoded);
    if (outputs.size() != originals.size()) {
        std::fprintf(stderr, "frame count %zu, expected %zu\n", outputs.size(), originals.size());
        return 1;
    }
    double squares = 0;
    qint64 samples = 0;
    for (std::size_t i = 0; i < originals.size(); ++i) {
        const QImage out = outputs[i].convertToFormat(QImage::Format_RGBA8888);
        for (int y = 0; y < originals[i].height(); ++y) {
            const uchar* a = originals[i].constScanLine(y);
            const uchar* b = out.constScanLine(y);
            for (int x = 0; x < originals[i].width(); ++x) {
                if (a[4 * x + 3] < 128)
                    continue;
                for (int c = 0; c < 3; ++c) {
                    const double d = double(a[4 * x + c]) - double(b[4 * x + c]);
                    squares += d * d;
                }
                samples += 3;
            }
        }
    }
    const double mse = squares / double(std::max<qint64>(1, samples));
    std::printf("%.2f\n", mse == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 / mse));
    return 0;
}

// The frame in the straight colours our writers give libwebp: read back and brought into the pixel
// convention, it gives those very colours again, so that ours and the peers start from the same pixels.
QImage straight(const QImage& frame)
{
    QImage image(frame.size(), QImage::Format_RGBA8888);
    for (int y = 0; y < frame.height(); ++y)
        WriterPixels::straightenRow(frame.constScanLine(y), image.scanLine(y), frame.width());
    return image;
}

int exportAll(const QString& dir, int count)
{
    QDir(dir).mkpath("frames");
    const std::vector<QImage> frames
        = count == frameCount ? benchStrip().frames : test::stickerFrames(count, side, side);
    for (int i = 0; i < count; ++i)
        straight(frames[std::size_t(i)])
            .save(QDir(dir).filePath(QString("frames/f%1.png").arg(i, 3, 10, QChar('0'))));
    // The largest still export writes: frames above 1024 pixels are scaled down to it first.
    straight(test::stickerFrames(1, int(WebPWriter::sizeLimit), int(WebPWriter::sizeLimit)).front())
        .save(QDir(dir).filePath("still.png"));
    return test::writeFileBytes(QDir(dir).filePath("big.gif"), bigGif()) ? 0 : 1;
}

// The frames in the pixel convention, as the renderer hands them to an export.
int encodeFromFiles(const QString& kind, const QString& framesDir, const QString& out)
{
    std::optional<QByteArray> bytes;
    if (kind == "webp-still") {
        bytes = WebPWriter::encodeStillWebP(QImage(framesDir).convertToFormat(pixelFormat), 75);
        return bytes && test::writeFileBytes(out, *bytes) ? 0 : 1;
    }
    std::vector<QImage> frames;
    for (const QString& name : QDir(framesDir).entryList({"*.png"}, QDir::Files, QDir::Name))
        frames.push_back(QImage(QDir(framesDir).filePath(name)).convertToFormat(pixelFormat));
    const Filmstrip strip{frames, std::vector<qint64>(frames.size(), 50), 0};
    if (kind == "gif-plain")
        bytes = GIFWriter::encodeGIF(strip, GIFPalette::limited(256, false));
    else if (kind == "gif-dither")
        bytes = GIFWriter::encodeGIF(strip, GIFPalette::limited(256, true));
    else if (kind == "webp")
        bytes = WebPWriter::encodeAnimatedWebP(strip.frames, strip.delays, 0, 75);
    return bytes && test::writeFileBytes(out, *bytes) ? 0 : 1;
}

int rewriteFile(const QString& in, const QString& out, int frames)
{
    const std::optional<QByteArray> patched
        = GIFWriter::rewriteGIFDelays(test::readFileBytes(in), std::vector<qint64>(std::size_t(frames), 100));
    return patched && test::writeFileBytes(out, *patched) ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    const QStringList args = [&] {
        QStringList list;
        for (int i = 1; i < argc; ++i)
            list << QString::fromLocal8Bit(argv[i]);
        return list;
    }();
    if (plenoria::bench::startOnly(argc, argv))
        return 0;
    if ((args.size() == 2 || args.size() == 3) && args[0] == "--export")
        return exportAll(args[1], args.size() == 3 ? args[2].toInt() : frameCount);
    if (args.size() == 4 && args[0] == "--encode")
        return encodeFromFiles(args[1], args[2], args[3]);
    if (args.size() == 4 && args[0] == "--rewrite")
        return rewriteFile(args[1], args[2], args[3].toInt());
    if (args.size() == 3 && args[0] == "--psnr")
        return printPsnr(args[1], args[2]);
    // Generated once, outside every timing.
    benchStrip();
    bigGif();
    return plenoria::bench::runBenchmarks(argc, argv);
}
