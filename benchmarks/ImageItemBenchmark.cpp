// Scanning speed: ImageItems for a folder of 2,000 emoji-sized images, beside ImageMagick's
// `identify -ping` over the same files. compare-identify.sh runs both and reports the ratio.

#include "ApngBuilder.h"
#include "GifBuilder.h"
#include "ImageItem.h"
#include "BenchmarkRunner.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QProcess>
#include <QUrl>
#include <benchmark/benchmark.h>
#include <webp/encode.h>
#include <webp/mux.h>

using namespace plenoria;

namespace {

constexpr int fileCount = 2000;

QString folderPath()
{
    const QString chosen = qEnvironmentVariable("PLENORIA_BENCH_FOLDER");
    return chosen.isEmpty() ? QDir::temp().filePath(QStringLiteral("plenoria-imageitem-bench")) : chosen;
}

QImage emojiFrame(int side, int index, int frame)
{
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromHsv((index * 37) % 360, 180, 230));
    painter.drawEllipse(QRectF(side * 0.1, side * 0.1, side * 0.8, side * 0.8));
    painter.setBrush(QColor::fromHsv((index * 37 + 180) % 360, 200, 120));
    const double angle = frame * 0.4;
    painter.drawEllipse(
        QPointF(side / 2.0 + std::cos(angle) * side / 4.0, side / 2.0 + std::sin(angle) * side / 4.0),
        side / 8.0, side / 8.0);
    return image;
}

QByteArray webpStill(const QImage& frame)
{
    const QImage rgba = frame.convertToFormat(QImage::Format_RGBA8888);
    uint8_t* output = nullptr;
    const size_t size = WebPEncodeRGBA(
        rgba.constBits(), rgba.width(), rgba.height(), int(rgba.bytesPerLine()), 80, &output);
    QByteArray bytes(reinterpret_cast<const char*>(output), qsizetype(size));
    WebPFree(output);
    return bytes;
}

QByteArray webpAnimation(const std::vector<QImage>& frames, int delayMs)
{
    WebPAnimEncoderOptions options;
    WebPAnimEncoderOptionsInit(&options);
    const int side = frames.front().width();
    WebPAnimEncoder* encoder = WebPAnimEncoderNew(side, side, &options);
    WebPConfig config;
    WebPConfigInit(&config);
    config.quality = 80;
    int timestamp = 0;
    for (const QImage& frame : frames) {
        const QImage rgba = frame.convertToFormat(QImage::Format_RGBA8888);
        WebPPicture picture;
        WebPPictureInit(&picture);
        picture.width = side;
        picture.height = side;
        picture.use_argb = 1;
        WebPPictureImportRGBA(&picture, rgba.constBits(), int(rgba.bytesPerLine()));
        WebPAnimEncoderAdd(encoder, &picture, timestamp, &config);
        WebPPictureFree(&picture);
        timestamp += delayMs;
    }
    WebPAnimEncoderAdd(encoder, nullptr, timestamp, nullptr);
    WebPData data;
    WebPDataInit(&data);
    WebPAnimEncoderAssemble(encoder, &data);
    QByteArray bytes(reinterpret_cast<const char*>(data.bytes), qsizetype(data.size));
    WebPDataClear(&data);
    WebPAnimEncoderDelete(encoder);
    return bytes;
}

// PNG stills, GIF stills and animations of 5–60 frames, WebP stills and animations, 64–128 px.
QByteArray generate(int index, QString* extension)
{
    const int side = 64 + (index * 13) % 65;
    const int frames = 5 + (index * 7) % 56;
    const int delay = 2 + index % 9;
    switch (index % 8) {
    case 2:
        *extension = QStringLiteral("gif");
        return test::makeGif({{emojiFrame(side, index, 0), {}, delay}});
    case 3:
    case 4: {
        *extension = QStringLiteral("gif");
        std::vector<test::GifFrame> gifFrames;
        for (int f = 0; f < frames; ++f)
            gifFrames.push_back({emojiFrame(side, index, f), {}, delay, 2});
        return test::makeGif(gifFrames, {QSize(side, side), 0});
    }
    case 5:
        *extension = QStringLiteral("webp");
        return webpStill(emojiFrame(side, index, 0));
    case 6: {
        *extension = QStringLiteral("webp");
        std::vector<QImage> images;
        for (int f = 0; f < frames; ++f)
            images.push_back(emojiFrame(side, index, f));
        return webpAnimation(images, delay * 10);
    }
    default:
        *extension = QStringLiteral("png");
        return test::encodePng(emojiFrame(side, index, 0));
    }
}

QStringList ensureFolder()
{
    QDir dir(folderPath());
    const QString marker = dir.filePath(QStringLiteral(".complete"));
    if (!QFile::exists(marker)) {
        dir.removeRecursively();
        QDir().mkpath(dir.path());
        for (int i = 0; i < fileCount; ++i) {
            QString extension;
            const QByteArray bytes = generate(i, &extension);
            QFile file(
                dir.filePath(QStringLiteral("emoji-%1.%2").arg(i, 4, 10, QLatin1Char('0')).arg(extension)));
            if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
                qFatal("cannot write the benchmark folder %s", qPrintable(dir.path()));
        }
        QFile(marker).open(QIODevice::WriteOnly);
    }
    QStringList paths;
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name))
        paths << dir.filePath(name);
    return paths;
}

void BM_ImageItemsForFolder(benchmark::State& state)
{
    const QStringList paths = ensureFolder();
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << QUrl::fromLocalFile(path);
    qint64 animated = 0;
    for (auto _ : state) {
        animated = 0;
        for (const QUrl& url : urls) {
            const std::optional<ImageItem> item = ImageItem::fromUrl(url);
            animated += item && !item->gifTiming.isStill();
            benchmark::DoNotOptimize(item);
        }
    }
    state.SetItemsProcessed(state.iterations() * urls.size());
    state.counters["files"] = double(urls.size());
    state.counters["animatedGifs"] = double(animated);
}

void BM_IdentifyPingFolder(benchmark::State& state)
{
    const QStringList paths = ensureFolder();
    for (auto _ : state) {
        QProcess identify;
        identify.setStandardOutputFile(QProcess::nullDevice());
        identify.setStandardErrorFile(QProcess::nullDevice());
        identify.start(QStringLiteral("identify"), QStringList{QStringLiteral("-ping")} + paths);
        if (!identify.waitForFinished(-1) || identify.exitCode() != 0) {
            state.SkipWithError("identify -ping failed");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * paths.size());
}

BENCHMARK(BM_ImageItemsForFolder)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_IdentifyPingFolder)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv); // QPainter and the image plugins need it; no window is shown
    return plenoria::bench::runBenchmarks(argc, argv);
}
