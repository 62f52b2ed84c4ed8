#include "WebPWriter.h"

#include "Geometry.h"
#include "Renderer.h"
#include "Rounding.h"

#include <webp/encode.h>
#include <webp/mux.h>

#include <algorithm>
#include <limits>
#include <memory>

namespace plenoria {

namespace {

float heldQuality(double quality)
{
    // NaN is no quality: it takes libwebp's default rather than reaching the encoder.
    return quality != quality ? 75.0f : float(std::clamp(quality, 0.0, 100.0));
}

qint64 longerSide(const QImage& image)
{
    return std::max(image.width(), image.height());
}

struct AnimEncoderDeleter {
    void operator()(WebPAnimEncoder* encoder) const { WebPAnimEncoderDelete(encoder); }
};

// Imports one frame and adds it at `timestamp`; the picture is freed whatever happens.
bool addFrame(WebPAnimEncoder* encoder, const QImage& frame, int timestamp, const WebPConfig& config)
{
    const std::optional<StraightPixels> pixels = WebPWriter::straightRGBA(frame);
    if (!pixels)
        return false;
    WebPPicture picture;
    if (!WebPPictureInit(&picture))
        return false;
    picture.width = int(pixels->width);
    picture.height = int(pixels->height);
    picture.use_argb = 1;
    const bool imported = WebPPictureImportRGBA(
        &picture, reinterpret_cast<const uint8_t*>(pixels->bytes.constData()), int(4 * pixels->width));
    const bool added = imported && WebPAnimEncoderAdd(encoder, &picture, timestamp, &config);
    WebPPictureFree(&picture);
    return added;
}

} // namespace

Filmstrip WebPWriter::fitFramesForWebP(const Filmstrip& strip)
{
    if (strip.frames.empty() || longerSide(strip.frames.front()) <= sizeLimit)
        return strip;
    Filmstrip fitted = strip;
    for (QImage& frame : fitted.frames) {
        if (longerSide(frame) <= sizeLimit)
            continue;
        const IntSize target = fitToLongestEdge(sizeLimit, QSizeF(frame.size()));
        if (target.width <= 0 || target.height <= 0
            || (target.width == frame.width() && target.height == frame.height()))
            continue;
        if (auto scaled = Renderer::resampled(frame, target.width, target.height))
            frame = *scaled;
    }
    return fitted;
}

std::optional<StraightPixels> WebPWriter::straightRGBA(const QImage& image)
{
    const std::optional<QImage> normal = Renderer::normalized(image);
    if (!normal)
        return std::nullopt;
    std::optional<QByteArray> bytes = Renderer::pixelBytes(*normal);
    if (!bytes)
        return std::nullopt;
    auto* p = reinterpret_cast<uchar*>(bytes->data());
    const qint64 count = qint64(normal->width()) * normal->height();
    for (qint64 i = 0; i < count; ++i, p += 4) {
        const int a = p[3];
        if (a == 0 || a == 255)
            continue;
        for (int c = 0; c < 3; ++c)
            p[c] = uchar(clampByte(p[c] * 255.0 / a));
    }
    return StraightPixels{normal->width(), normal->height(), std::move(*bytes)};
}

std::optional<QByteArray> WebPWriter::encodeAnimatedWebP(
    const std::vector<QImage>& frames, const std::vector<qint64>& delays, qint64 loopCount, double quality)
{
    constexpr qint64 intMax = std::numeric_limits<int>::max();
    if (frames.empty() || delays.size() != frames.size() || loopCount < 0 || loopCount > intMax)
        return std::nullopt;
    WebPAnimEncoderOptions options;
    if (!WebPAnimEncoderOptionsInit(&options))
        return std::nullopt;
    options.anim_params.loop_count = int(loopCount);

    const QImage& first = frames.front();
    std::unique_ptr<WebPAnimEncoder, AnimEncoderDeleter> encoder(
        WebPAnimEncoderNew(first.width(), first.height(), &options));
    if (!encoder)
        return std::nullopt;

    WebPConfig config;
    if (!WebPConfigInit(&config))
        return std::nullopt;
    config.quality = heldQuality(quality);
    if (!WebPValidateConfig(&config))
        return std::nullopt;

    // Timestamps are summed in 64 bits; libwebp takes 32-bit ones, so a timeline beyond them fails cleanly.
    qint64 timestamp = 0;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        if (!addFrame(encoder.get(), frames[i], int(timestamp), config))
            return std::nullopt;
        timestamp += std::max<qint64>(0, delays[i]);
        if (timestamp > intMax)
            return std::nullopt;
    }
    if (!WebPAnimEncoderAdd(encoder.get(), nullptr, int(timestamp), nullptr))
        return std::nullopt;

    WebPData data;
    WebPDataInit(&data);
    if (!WebPAnimEncoderAssemble(encoder.get(), &data))
        return std::nullopt;
    std::optional<QByteArray> result;
    if (data.bytes && data.size > 0)
        result = QByteArray(reinterpret_cast<const char*>(data.bytes), qsizetype(data.size));
    WebPFree(const_cast<uint8_t*>(data.bytes));
    return result;
}

std::optional<QByteArray> WebPWriter::encodeStillWebP(const QImage& image, double quality)
{
    QImage source = image;
    if (longerSide(image) > sizeLimit)
        source = Renderer::scaledToFit(image, sizeLimit).value_or(image);
    const std::optional<StraightPixels> pixels = straightRGBA(source);
    if (!pixels)
        return std::nullopt;
    uint8_t* output = nullptr;
    const std::size_t size = WebPEncodeRGBA(reinterpret_cast<const uint8_t*>(pixels->bytes.constData()),
        int(pixels->width), int(pixels->height), int(4 * pixels->width), heldQuality(quality), &output);
    std::optional<QByteArray> result;
    if (size > 0 && output)
        result = QByteArray(reinterpret_cast<const char*>(output), qsizetype(size));
    WebPFree(output);
    return result;
}

} // namespace plenoria
