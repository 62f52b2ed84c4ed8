#include "imaging/render/Renderer.h"

#include "imaging/gif/GIFWriter.h"
#include "imaging/read/ImageSource.h"
#include "imaging/write/APNGWriter.h"
#include "imaging/write/AnimatedWebPWriter.h"

#include <algorithm>
#include <unordered_map>

namespace plenoria {

namespace {

constexpr qint64 largestPngCount = 0x7FFFFFFF;

bool isFramesEntry(const TreatmentEntry& entry)
{
    return entry.treatment.kind() == TreatmentKind::frames;
}

// The animated encoding of a strip in the source's own type; none for types without one here, which
// keep their first frame. A writer's failure is reported as an empty result, never as a still.
struct AnimatedSave {
    bool applies = false;
    std::optional<QByteArray> bytes;
};

AnimatedSave encodeAnimated(const Filmstrip& strip, const ImageSource& source)
{
    switch (source.type()) {
    case ImageType::GIF:
        return {true, GIFWriter::encodeGIF(strip, GIFPalette::system())};
    case ImageType::WebP:
        // The strip's own loop count is GIF's only; an animated WebP states its own.
        return {true, encodeAnimatedWebPForSave(strip, source.isLossless(), source.fileLoopCount())};
    case ImageType::PNG:
        // A play count past 2^31 − 1 is no PNG value, but refusing it would leave the animation
        // unsavable: the largest one a PNG states plays as long.
        return {true, encodeAPNG(strip, std::min<qint64>(source.fileLoopCount(), largestPngCount))};
    case ImageType::JPEG:
    case ImageType::HEIC:
    case ImageType::AVIF:
    case ImageType::TIFF:
    case ImageType::BMP:
        break;
    }
    return {};
}

} // namespace

std::optional<Filmstrip> Renderer::renderFilmstrip(
    const QByteArray& data, std::span<const TreatmentEntry> record)
{
    std::optional<Filmstrip> decoded = Filmstrip::fromData(data);
    if (!decoded || record.empty())
        return decoded;

    const std::vector<FramePlan> plan = framePlan(record, decoded->delays);
    std::vector<TreatmentEntry> stillRecord;
    for (const TreatmentEntry& entry : record) {
        if (!isFramesEntry(entry))
            stillRecord.push_back(entry);
    }

    // A frame shown several times (a hold, a ping-pong) is rendered once: rendering is the costly part.
    // Once rendered, its decoded form is let go, so that the strip is held about once, not twice.
    std::unordered_map<qint64, QImage> rendered;
    Filmstrip strip;
    strip.loopCount = decoded->loopCount;
    for (const FramePlan& entry : plan) {
        if (entry.source < 0 || entry.source >= qint64(decoded->frames.size()))
            continue;
        auto found = rendered.find(entry.source);
        if (found == rendered.end()) {
            QImage& source = decoded->frames[size_t(entry.source)];
            found = rendered.emplace(entry.source, render(source, stillRecord)).first;
            source = QImage();
        }
        strip.frames.push_back(found->second);
        strip.delays.push_back(entry.delay);
    }
    if (strip.frames.empty())
        return std::nullopt;
    return strip;
}

std::optional<QByteArray> Renderer::retimedOriginal(
    const QByteArray& data, std::span<const TreatmentEntry> record)
{
    if (record.empty())
        return std::nullopt;
    for (const TreatmentEntry& entry : record) {
        const FramesSpec* frames = std::get_if<FramesSpec>(&entry.treatment.spec);
        if (!frames)
            return std::nullopt;
        for (size_t k = 0; k < frames->edits.size(); ++k) {
            const FrameEdit& edit = frames->edits[k];
            if (edit.isSkipped || edit.input != qint64(k))
                return std::nullopt;
        }
    }
    // The delays as stated, without decoding a pixel. Should a frame not decode, the record (built
    // on the decoded frames) is one position short of the file and the patch refuses it.
    const std::optional<ImageSource> source = ImageSource::fromData(data);
    if (!source || source->type() != ImageType::GIF)
        return std::nullopt;
    std::vector<qint64> sourceDelays;
    for (qint64 index = 0; index < source->frameCount(); ++index)
        sourceDelays.push_back(stripDelay(*source, index));
    const std::vector<FramePlan> plan = framePlan(record, sourceDelays);
    std::vector<qint64> delays;
    delays.reserve(plan.size());
    for (size_t l = 0; l < plan.size(); ++l) {
        if (plan[l].source != qint64(l))
            return std::nullopt;
        delays.push_back(plan[l].delay);
    }
    return GIFWriter::rewriteGIFDelays(data, delays);
}

std::optional<QByteArray> Renderer::renderForSave(
    const QByteArray& data, std::span<const TreatmentEntry> record)
{
    const std::optional<ImageSource> source = ImageSource::fromData(data);
    const ImageType type = source ? source->type() : ImageType::PNG;
    if (type == ImageType::GIF) {
        if (std::optional<QByteArray> retimed = retimedOriginal(data, record))
            return retimed;
    }

    const std::optional<Filmstrip> strip = renderFilmstrip(data, record);
    if (!strip)
        return std::nullopt;
    if (strip->frames.size() >= 2 && source) {
        // Falling back to one frame would overwrite the user's animation with a still.
        if (const AnimatedSave animated = encodeAnimated(*strip, *source); animated.applies)
            return animated.bytes;
    }
    const QImage& first = strip->frames.front();
    if (std::optional<QByteArray> own = encode(first, type))
        return own;
    return encode(first, ImageType::PNG);
}

bool Renderer::hasTransparency(const QImage& image)
{
    const std::optional<QImage> normal = normalized(image);
    if (!normal)
        return false;
    const std::optional<QByteArray> bytes = pixelBytes(*normal);
    if (!bytes)
        return false;
    const char* pixels = bytes->constData();
    for (qint64 i = 3; i < bytes->size(); i += 4) {
        if (quint8(pixels[i]) != 255)
            return true;
    }
    return false;
}

bool Renderer::keepsTransparency(const QImage& image, ImageType type, const ImageEncoder& encoder)
{
    const std::optional<QImage> normal = normalized(image);
    if (!normal || !pixelBytes(*normal))
        return true;
    if (!hasTransparency(*normal))
        return true;
    const std::optional<QByteArray> encoded = encoder.encode(*normal, type);
    if (!encoded)
        return false;
    const std::optional<ImageSource> source = ImageSource::fromData(*encoded);
    if (!source)
        return false;
    const std::optional<QImage> decoded = source->decodeFrame(0);
    return decoded && hasTransparency(*decoded);
}

std::optional<QRect> Renderer::contentBounds(const QImage& image)
{
    const std::optional<QImage> normal = normalized(image);
    if (!normal || image.height() == 0)
        return std::nullopt;
    const std::optional<QByteArray> bytes = pixelBytes(*normal);
    if (!bytes)
        return std::nullopt;
    const qint64 width = normal->width();
    const qint64 height = normal->height();
    const char* pixels = bytes->constData();
    qint64 minX = width, minY = height, maxX = -1, maxY = -1;
    for (qint64 y = 0; y < height; ++y) {
        const char* row = pixels + y * width * 4;
        for (qint64 x = 0; x < width; ++x) {
            if (row[x * 4 + 3] == 0)
                continue;
            minX = std::min(minX, x);
            maxX = std::max(maxX, x);
            minY = std::min(minY, y);
            maxY = y;
        }
    }
    if (maxX < 0)
        return std::nullopt;
    return QRect(int(minX), int(minY), int(maxX - minX + 1), int(maxY - minY + 1));
}

std::optional<QByteArray> Renderer::preparedStamp(const QByteArray& data, qint64 longestEdge)
{
    const std::optional<ImageSource> source = ImageSource::fromData(data);
    if (!source)
        return std::nullopt;
    std::optional<QImage> image = source->decodeFrame(0);
    if (!image)
        return std::nullopt;
    if (std::max(image->width(), image->height()) > longestEdge) {
        if (std::optional<QImage> scaled = scaledToFit(*image, longestEdge))
            image = std::move(scaled);
    }
    return encode(*image, ImageType::PNG);
}

} // namespace plenoria
