#include "FuzzEntryPoints.h"

#include "imaging/gif/GIFWriter.h"
#include "imaging/model/Bitmap.h"
#include "imaging/model/Rounding.h"
#include "imaging/read/Filmstrip.h"
#include "imaging/read/FrameDelay.h"
#include "imaging/read/GIFAnimation.h"
#include "imaging/read/ImageItem.h"
#include "imaging/read/ImageSourceCodec.h"
#include "imaging/render/Renderer.h"
#include "imaging/write/ExportFormat.h"
#include "store/BackupRecords.h"

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

// The bench's sources are kept smaller still: every input is rendered and then encoded four times.
constexpr qint64 affordableBenchPixels = 1LL << 18;
constexpr qint64 widestBenchSide = 4096; // within what every writer takes

bool benchAffordable(const ImageSource& source)
{
    const std::optional<QSize> canvas = source.frameProperties(0).pixelSize;
    const qint64 count = source.frameCount();
    if (!canvas || canvas->isEmpty() || count <= 0)
        return true;
    if (canvas->width() > widestBenchSide || canvas->height() > widestBenchSide)
        return false;
    return qint64(canvas->width()) * canvas->height() <= affordableBenchPixels / count;
}

// Reads the bytes as a stream of choices, from the end backwards so that the source's header
// stays as the seeds made it; runs out into zeros.
class Choices {
public:
    explicit Choices(const QByteArray& bytes)
        : m_bytes(bytes)
    { }
    qint64 next() { return m_used < m_bytes.size() ? uchar(m_bytes[m_bytes.size() - 1 - m_used++]) : 0; }
    double unit() { return double(next()) / 127.5 - 1; } // -1 … 1

private:
    const QByteArray& m_bytes;
    qsizetype m_used = 0;
};

FramesSpec drawnFrames(Choices& choose, qint64 frameCount, bool inPlace)
{
    FramesSpec spec;
    const qint64 count = inPlace ? frameCount : frameCount + choose.next() % 3 - 1;
    for (qint64 k = 0; k < count; ++k) {
        FrameEdit edit;
        edit.input = inPlace ? k : choose.next() % (frameCount + 1); // now and then out of range
        edit.delay = delayInSteps(choose.next() * choose.next() * 10);
        edit.isSkipped = !inPlace && choose.next() % 4 == 0;
        spec.edits.push_back(edit);
    }
    return spec;
}

// A record the bench could hold for `data`, a source of `canvas` and `frameCount` frames: the last
// byte of `drawn` picks the rows, the bytes before it their settings. The top bit alone asks for a
// re-timing in place, which a GIF saves by patching its own bytes.
TreatmentRecord benchRecord(const QByteArray& drawn, const QByteArray& data, QSize canvas, qint64 frameCount)
{
    Choices choose(drawn);
    const qint64 rows = choose.next();
    TreatmentRecord record;
    const auto add = [&](Treatment treatment) { record.emplace_back(std::move(treatment)); };
    if (rows == 0x80) {
        add(drawnFrames(choose, frameCount, true));
        return record;
    }
    const qint64 w = canvas.width(), h = canvas.height();
    if (rows & 0x01)
        add(CropSpec{choose.next() % (w + 2) - 1, choose.next() % (h + 2) - 1, 1 + choose.next() % (w + 1),
            1 + choose.next() % (h + 1)});
    if (rows & 0x02)
        add(ExtendSpec{w + choose.next() % 7, h + choose.next() % 5, {choose.next() % 3, choose.next() % 3}});
    if (rows & 0x04)
        add(ResizeSpec{1 + choose.next() % 160});
    if (rows & 0x08) {
        GroundSpec ground;
        const QString hex
            = QString::asprintf("#%02X%02X%02X", int(choose.next()), int(choose.next()), int(choose.next()));
        ground.key = ColorKey{hex, choose.next() % 2 ? KeyReach::fromTheBorder : KeyReach::everywhere,
            double(choose.next()) / 255, double(choose.next()) / 255};
        if (choose.next() % 2)
            ground.fill = ColorFill{hex};
        add(ground);
    }
    if (rows & 0x10)
        add(ToneSpec{choose.unit(), choose.unit(), choose.unit(), choose.unit(), choose.unit(), choose.unit(),
            choose.unit()});
    if (rows & 0x20) {
        // A stamp is always prepared from a picked file: here, the source itself.
        if (std::optional<QByteArray> prepared = Renderer::preparedStamp(data, 24))
            add(StampSpec{*prepared, QStringLiteral("stamp.png"),
                QPointF(choose.unit() * w, choose.unit() * h), double(choose.next() % 40),
                choose.unit() * 180, double(choose.next()) / 255});
    }
    if (rows & 0x40)
        add(drawnFrames(choose, frameCount, false));
    return record;
}

qint64 frameCountOf(const QByteArray& file)
{
    const std::optional<ImageSource> source = ImageSource::fromData(file);
    return source ? source->frameCount() : 0;
}

// The file reads back as `type` and its first frame as `size`.
void checkWritten(const std::optional<QByteArray>& file, ImageType type, QSize size)
{
    require(file.has_value(), "a rendered strip is written");
    const std::optional<ImageSource> source = ImageSource::fromData(*file);
    require(source && source->type() == type, "a written file reads back as its type");
    const std::optional<QImage> first = source->decodeFrame(0);
    require(first && first->size() == size, "a written file's first frame is the rendered size");
}

} // namespace

void benchBytes(QByteArrayView bytes)
{
    const QByteArray data = withPngChecksums(bytes);
    const std::optional<ImageSource> source = ImageSource::fromData(data);
    if (!source || !benchAffordable(*source))
        return;
    const std::optional<Filmstrip> decoded = Filmstrip::fromData(data);
    const QSize canvas = decoded ? decoded->frames.front().size() : QSize(0, 0);
    // Drawn from the bytes as given: the checksums just made would fix a PNG's last bytes.
    const TreatmentRecord record
        = benchRecord(bytes.toByteArray(), data, canvas, decoded ? qint64(decoded->frames.size()) : 0);
    const std::optional<Filmstrip> strip = Renderer::renderFilmstrip(data, record);
    require(strip.has_value() == decoded.has_value(), "a source that decodes renders");
    const std::optional<QByteArray> saved = Renderer::renderForSave(data, record);
    if (!strip) {
        require(!saved, "a source that does not decode saves nothing");
        return;
    }
    checkStrip(strip, strip->frames.front().size());
    const QSize size = strip->frames.front().size();
    const qint64 frames = qint64(strip->frames.size());

    // Saved in the source's own type where it can be written, else as PNG; an animation stays one.
    require(saved.has_value(), "a rendered strip is saved");
    const std::optional<ImageSource> reread = ImageSource::fromData(*saved);
    require(reread && (reread->type() == source->type() || reread->type() == ImageType::PNG),
        "a save keeps the source's type or falls back to PNG");
    checkWritten(saved, reread->type(), size);
    if (frames >= 2 && (source->type() == ImageType::GIF || source->type() == ImageType::PNG))
        require(reread->frameCount() == frames, "a saved animation keeps every rendered frame");

    // The export settings from a byte in the middle, which the record leaves alone in small files.
    const qint64 setting = uchar(data[data.size() / 2]);
    const GIFPalette palette
        = setting % 3 == 0 ? GIFPalette::system() : GIFPalette::limited(1 + setting % 256, setting % 2);
    for (const ExportFormat format : ExportFormat::allCases()) {
        const std::optional<QByteArray> exported = format.encode(*strip, palette, double(setting % 101));
        switch (format) {
        case ExportFormat::webp:
            require(exported && ImageSource::fromData(*exported)
                    && ImageSource::fromData(*exported)->type() == ImageType::WebP,
                "an export reads back as WebP");
            break;
        case ExportFormat::gif:
            checkWritten(exported, ImageType::GIF, size);
            require(frameCountOf(*exported) == frames, "a GIF export keeps every rendered frame");
            break;
        case ExportFormat::png:
            checkWritten(exported, ImageType::PNG, size);
            break;
        }
    }
}

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

void recordsBytes(QByteArrayView bytes)
{
    const QByteArray text = bytes.toByteArray();
    if (const std::optional<QList<BackupRecords::Content>> listed = BackupRecords::parse(text))
        require(BackupRecords::text(*listed) == text, "a record that parses is written back as it was");
}

} // namespace plenoria::fuzz
