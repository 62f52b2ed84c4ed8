#include "FuzzEntryPoints.h"

#include "Bitmap.h"
#include "Filmstrip.h"
#include "FrameDelay.h"
#include "GIFAnimation.h"
#include "GIFWriter.h"
#include "ImageItem.h"
#include "ImageSourceCodec.h"
#include "Rounding.h"

#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <QtEndian>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>

namespace plenoria::fuzz {

namespace {

// Decoding is skipped above this many canvas pixels over all frames: the budgets allow a gigabyte,
// which is sound for a user's file but would starve a fuzzer running several targets side by side.
// Files refused by the budgets are still decoded, as refusing them costs nothing.
constexpr qint64 affordablePixels = 1LL << 24;

void require(bool holds, const char* promise)
{
    if (holds)
        return;
    std::fprintf(stderr, "Broken promise: %s\n", promise);
    std::abort();
}

QString temporaryPath(const char* name)
{
    static QTemporaryDir folder;
    return folder.filePath(QString::fromLatin1(name));
}

QUrl writtenTo(const char* name, QByteArrayView bytes)
{
    const QString path = temporaryPath(name);
    QFile file(path);
    require(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "the temporary file opens");
    require(file.write(bytes.data(), bytes.size()) == bytes.size(), "the temporary file is written");
    return QUrl::fromLocalFile(path);
}

bool affordable(const ImageSource& source)
{
    const std::optional<QSize> canvas = source.frameProperties(0).pixelSize;
    const qint64 count = source.frameCount();
    if (!canvas || canvas->isEmpty() || count <= 0 || count > maxDecodableFrames(*canvas))
        return true;
    return qint64(canvas->width()) * canvas->height() <= affordablePixels / count;
}

void checkStrip(const std::optional<Filmstrip>& strip, const std::optional<QSize>& canvas)
{
    if (!strip)
        return;
    require(!strip->frames.empty(), "a strip has a frame");
    require(strip->frames.size() == strip->delays.size(), "a strip has one delay per frame");
    require(strip->loopCount >= 0, "a loop count is never negative");
    for (size_t i = 0; i < strip->frames.size(); ++i) {
        require(strip->delays[i] >= 0, "a delay is never negative");
        require(strip->frames[i].format() == pixelFormat, "frames are in the pixel convention");
        require(canvas && strip->frames[i].size() == *canvas, "every frame is the full canvas");
    }
}

void checkAnimation(const std::optional<GIFAnimation>& animation, const std::optional<QSize>& canvas)
{
    if (!animation)
        return;
    require(!animation->frames.empty(), "an animation has a frame");
    require(animation->frames.size() == animation->durations.size(), "one duration per frame");
    double total = 0;
    for (size_t i = 0; i < animation->frames.size(); ++i) {
        require(animation->durations[i] >= 0.02, "a frame plays at least 0.02 s");
        require(canvas && animation->frames[i].size() == *canvas, "every frame is the full canvas");
        total += animation->durations[i];
    }
    require(total == animation->totalDuration, "the total is the sum of the durations");
}

qint64 writtenDelay(qint64 milliseconds)
{
    return std::clamp<qint64>(roundHalfAway(double(milliseconds) / 10.0), 0, 65535) * 10;
}

} // namespace

void scanBytes(QByteArrayView bytes)
{
    const QByteArray data = withPngChecksums(bytes);
    // Only files named .gif have their timing read; odd sizes stand for every other name.
    const bool gifName = data.size() % 2 == 0;
    const std::optional<ImageItem> item
        = ImageItem::fromUrl(writtenTo(gifName ? "scan.gif" : "scan.png", data));
    require(item.has_value(), "a regular file with an image name gives an item");
    require(item->byteSize == data.size(), "the item has the file's size");
    require(!item->pixelSize || !item->pixelSize->isEmpty(), "a stated size is never empty");
    require(gifName || item->gifTiming.isStill(), "only GIF names are timed");
}

void decodeBytes(QByteArrayView bytes)
{
    const QByteArray data = withPngChecksums(bytes);
    const std::optional<ImageSource> source = ImageSource::fromData(data);
    if (!source) {
        require(!Filmstrip::fromData(data), "bytes that do not open give no strip");
        return;
    }
    const qint64 count = source->frameCount();
    for (qint64 index = 0; index < count; ++index) {
        const std::optional<double> delay = frameDelay(*source, index);
        require(!delay || !std::isnan(*delay), "a stated delay is a number");
    }
    require(source->fileLoopCount() >= 0, "a loop count is never negative");
    (void)source->isLossless();
    if (!affordable(*source))
        return;
    const std::optional<QSize> canvas = source->frameProperties(0).pixelSize;
    const std::optional<std::vector<DecodedFrame>> frames = source->decodeFrames();
    const std::optional<Filmstrip> strip = Filmstrip::fromData(data);
    checkStrip(strip, canvas);
    require(strip.has_value() == (frames && !frames->empty()), "a strip holds the frames that decode");
    checkAnimation(GIFAnimation::load(writtenTo("preview.img", data)), canvas);
}

void rewriteBytes(QByteArrayView bytes)
{
    const QByteArray data = bytes.toByteArray();
    const std::optional<ImageSource> source = ImageSource::fromData(data);
    const bool gif = source && source->type() == ImageType::GIF;
    qint64 count = gif ? source->frameCount() : 0;
    // The last byte picks the delays: now and then one too many or too few, negative, beyond what
    // GIF holds, or halfway between two hundredths.
    const uchar choice = data.isEmpty() ? 0 : uchar(data.back());
    if (choice % 8 == 0)
        ++count;
    else if (choice % 8 == 1 && count > 0)
        --count;
    std::vector<qint64> delays;
    for (qint64 i = 0; i < count; ++i) {
        const qint64 byte = data.isEmpty() ? 0 : uchar(data[qsizetype(i % data.size())]);
        delays.push_back(byte * (choice & 0x10 ? 4099 : 5) - (choice & 0x20 ? 300 : 0));
    }
    const std::optional<QByteArray> patched = GIFWriter::rewriteGIFDelays(data, delays);
    if (!patched)
        return;
    require(patched->size() == data.size(), "a patch keeps the file's size");
    if (!gif)
        return;
    const std::optional<ImageSource> after = ImageSource::fromData(*patched);
    require(after && after->frameCount() == source->frameCount(), "a patch keeps the frame count");
    for (qint64 i = 0; i < after->frameCount(); ++i)
        require(stripDelay(*after, i) == writtenDelay(delays[size_t(i)]), "each frame reads back its delay");
}

QByteArray withPngChecksums(QByteArrayView bytes)
{
    QByteArray png = bytes.toByteArray();
    if (!png.startsWith("\x89PNG\r\n\x1a\n"))
        return png;
    for (qsizetype offset = 8; offset + 12 <= png.size();) {
        const qsizetype length = qsizetype(qFromBigEndian<quint32>(png.constData() + offset));
        if (length < 0 || length > png.size() - offset - 12)
            break;
        const auto* typeAndData = reinterpret_cast<const Bytef*>(png.constData() + offset + 4);
        const quint32 crc = quint32(crc32(0, typeAndData, uInt(4 + length)));
        qToBigEndian(crc, png.data() + offset + 8 + length);
        offset += 12 + length;
    }
    return png;
}

} // namespace plenoria::fuzz
