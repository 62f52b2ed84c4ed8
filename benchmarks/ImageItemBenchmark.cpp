// Scanning a folder: the store's scan of a freshly chosen folder (list it, read every file's
// header), in process, over three generated folders of 64–128 px emoji:
//   light-2000  2,000 files, about 3,700 frames (PNG, JPEG and GIF stills, some GIF and WebP animations)
//   light-8000  the same mix, 8,000 files
//   heavy-2000  2,000 files, about 24,000 frames (long GIF and WebP animations)
// BM_ScanOneByOne reads the headers one file after another, as the scan did before it used the pool.
// compare-identify.sh times the whole process against ImageMagick's `identify -ping` with the modes
//   --folder MIX COUNT   make the folder once (in the temporary directory) and print its path
//   --scan DIR           scan DIR as the store does and print the number of items; no GUI set-up

#include "BenchmarkRunner.h"
#include "GifBuilder.h"
#include "NoBookmarks.h"
#include "PeerTools.h"
#include "imaging/read/ImageSource.h"
#include "store/FolderStore.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QUrl>
#include <benchmark/benchmark.h>
#include <webp/encode.h>
#include <webp/mux.h>

#include <cmath>
#include <cstdio>
#include <cstring>

using namespace plenoria;

namespace {

enum class Mix { light, heavy };

struct Folder {
    QString path;
    qint64 files = 0;
    qint64 frames = 0;
};

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

QByteArray webpAnimation(int side, int index, int frames, int delayMs)
{
    WebPAnimEncoderOptions options;
    WebPAnimEncoderOptionsInit(&options);
    WebPAnimEncoder* encoder = WebPAnimEncoderNew(side, side, &options);
    WebPConfig config;
    WebPConfigInit(&config);
    config.quality = 80;
    int timestamp = 0;
    for (int f = 0; f < frames; ++f) {
        const QImage rgba = emojiFrame(side, index, f).convertToFormat(QImage::Format_RGBA8888);
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

QByteArray gifAnimation(int side, int index, int frames, int delay)
{
    std::vector<test::GifFrame> gifFrames;
    for (int f = 0; f < frames; ++f)
        gifFrames.push_back({emojiFrame(side, index, f), {}, delay, 2});
    return test::makeGif(gifFrames, {QSize(side, side), 0});
}

QByteArray encodedAs(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// File `index` of a folder: its bytes, with the extension to give it.
QByteArray generate(Mix mix, int index, QString* extension)
{
    const int side = 64 + (index * 13) % 65;
    const int delay = 2 + index % 9;
    const bool heavy = mix == Mix::heavy;
    const int gifFrames = heavy ? 5 + (index * 7) % 56 : 3 + (index / 16) % 7;
    const int webpFrames = heavy ? gifFrames : 2 + (index / 16) % 5;
    const int slot = heavy ? index % 8 : index % 16;
    *extension = QStringLiteral("png");
    switch (slot) {
    case 2:
    case 10:
        *extension = QStringLiteral("gif");
        return test::makeGif({{emojiFrame(side, index, 0), {}, delay}});
    case 3:
    case 4:
    case 11:
        if (!heavy && slot == 4)
            break;
        *extension = QStringLiteral("gif");
        return gifAnimation(side, index, gifFrames, delay);
    case 5:
        *extension = QStringLiteral("webp");
        return webpStill(emojiFrame(side, index, 0));
    case 6:
        *extension = QStringLiteral("webp");
        return webpAnimation(side, index, webpFrames, delay * 10);
    case 7:
        if (heavy)
            break;
        *extension = QStringLiteral("jpg");
        return encodedAs(emojiFrame(side, index, 0).convertToFormat(QImage::Format_RGB32), "JPG");
    default:
        break;
    }
    return encodedAs(emojiFrame(side, index, 0), "PNG");
}

QStringList filesOf(const QDir& dir)
{
    QStringList paths;
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name))
        paths << dir.filePath(name);
    return paths;
}

// The folder, written once: a marker file (hidden, so no scan lists it) records that it is complete.
Folder ensureFolder(Mix mix, int count)
{
    const QString name = QStringLiteral("plenoria-scan-bench-%1-%2")
                             .arg(mix == Mix::heavy ? QStringLiteral("heavy") : QStringLiteral("light"))
                             .arg(count);
    QDir dir(QDir::temp().filePath(name));
    const QString marker = dir.filePath(QStringLiteral(".complete"));
    if (!QFile::exists(marker)) {
        dir.removeRecursively();
        QDir().mkpath(dir.path());
        for (int i = 0; i < count; ++i) {
            QString extension;
            const QByteArray bytes = generate(mix, i, &extension);
            const QString file = QStringLiteral("emoji-%1.%2").arg(i, 5, 10, QLatin1Char('0')).arg(extension);
            if (!test::writeFileBytes(dir.filePath(file), bytes))
                qFatal("cannot write the benchmark folder %s", qPrintable(dir.path()));
        }
        QFile(marker).open(QIODevice::WriteOnly);
    }
    Folder folder{dir.path(), 0, 0};
    for (const QString& path : filesOf(dir)) {
        ++folder.files;
        const std::optional<ImageSource> source = ImageSource::open(path);
        folder.frames += source ? source->frameCount() : 0;
    }
    return folder;
}

// The scan a user waits for when choosing a folder: a new store lists it and reads every header.
qint64 scan(const QString& path)
{
    FolderStore store(FolderStoreServices{std::make_shared<bench::NoBookmarks>(), nullptr, nullptr, nullptr});
    store.setWorkingFolder(QUrl::fromLocalFile(path), false);
    return store.items().size();
}

void setCounters(benchmark::State& state, const Folder& folder)
{
    state.counters["files"] = double(folder.files);
    state.counters["frames"] = double(folder.frames);
}

void scanFolder(benchmark::State& state, Mix mix, int count)
{
    const Folder folder = ensureFolder(mix, count);
    for (auto _ : state)
        benchmark::DoNotOptimize(scan(folder.path));
    setCounters(state, folder);
}

void scanOneByOne(benchmark::State& state, Mix mix, int count)
{
    const Folder folder = ensureFolder(mix, count);
    for (auto _ : state) {
        for (const QFileInfo& entry :
            QDir(folder.path).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Unsorted))
            benchmark::DoNotOptimize(ImageItem::fromUrl(QUrl::fromLocalFile(entry.absoluteFilePath())));
    }
    setCounters(state, folder);
}

int printFolder(const char* mix, const char* count)
{
    const Folder folder
        = ensureFolder(std::strcmp(mix, "heavy") == 0 ? Mix::heavy : Mix::light, std::atoi(count));
    std::printf("%s %lld %lld\n", qPrintable(folder.path), folder.files, folder.frames);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    // The whole-process scan sets up no GUI: a scan draws nothing.
    if (plenoria::bench::startOnly(argc, argv))
        return 0;
    if (argc == 3 && std::strcmp(argv[1], "--scan") == 0) {
        std::printf("%lld\n", scan(QString::fromLocal8Bit(argv[2])));
        return 0;
    }
    plenoria::bench::useOffscreenPlatform();
    QGuiApplication app(argc, argv); // the folders are drawn with QPainter and saved through Qt's plugins
    if (argc == 4 && std::strcmp(argv[1], "--folder") == 0)
        return printFolder(argv[2], argv[3]);
    for (const auto& [name, mix, count] : {std::tuple{"light-2000", Mix::light, 2000},
             std::tuple{"light-8000", Mix::light, 8000}, std::tuple{"heavy-2000", Mix::heavy, 2000}}) {
        benchmark::RegisterBenchmark((std::string("BM_Scan/") + name).c_str(),
            [mix, count](benchmark::State& state) { scanFolder(state, mix, count); })
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Repetitions(7)
            ->DisplayAggregatesOnly(true);
        benchmark::RegisterBenchmark((std::string("BM_ScanOneByOne/") + name).c_str(),
            [mix, count](benchmark::State& state) { scanOneByOne(state, mix, count); })
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Repetitions(7)
            ->DisplayAggregatesOnly(true);
    }
    return plenoria::bench::runBenchmarks(argc, argv);
}
