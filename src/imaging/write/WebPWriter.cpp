#include "imaging/write/WebPWriter.h"

#include "imaging/model/Geometry.h"
#include "imaging/model/PixelConventions.h"
#include "imaging/write/WebPAnimationEncoder.h"
#include "imaging/write/WebPFramePicture.h"

#include <algorithm>

namespace plenoria {

namespace {

float heldQuality(double quality)
{
    // NaN is no quality: it takes libwebp's default rather than reaching the encoder.
    return quality != quality ? 75.0f : float(std::clamp(quality, 0.0, 100.0));
}

// The export's settings: `config` with libwebp allowed a second thread, on which it compresses the
// alpha plane beside the colour planes. The file is the same byte for byte, written sooner at the
// export's method 4 (not at the save's method 1, where the thread costs what it saves).
std::optional<WebPConfig> exportConfig(WebPConfig config)
{
    config.thread_level = 1;
    if (!WebPValidateConfig(&config))
        return std::nullopt;
    return config;
}

qint64 longerSide(const QImage& image)
{
    return std::max(image.width(), image.height());
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
        if (auto scaled = PixelConventions::resampled(frame, target.width, target.height))
            frame = *scaled;
    }
    return fitted;
}

std::optional<QByteArray> WebPWriter::encodeAnimatedWebP(
    const std::vector<QImage>& frames, const std::vector<qint64>& delays, qint64 loopCount, double quality)
{
    WebPConfig config;
    if (!WebPConfigInit(&config))
        return std::nullopt;
    config.quality = heldQuality(quality);
    const std::optional<WebPConfig> settings = exportConfig(config);
    if (!settings)
        return std::nullopt;
    // A negative delay shows its frame for no time at all.
    std::vector<qint64> shown(delays.size());
    std::transform(
        delays.begin(), delays.end(), shown.begin(), [](qint64 delay) { return std::max<qint64>(0, delay); });
    return WebPAnimationEncoder::encode(frames, shown, loopCount, *settings);
}

std::optional<QByteArray> WebPWriter::encodeStillWebP(const QImage& image, double quality)
{
    QImage source = image;
    if (longerSide(image) > sizeLimit)
        source = PixelConventions::scaledToFit(image, sizeLimit).value_or(image);
    WebPConfig config;
    if (!WebPConfigPreset(&config, WEBP_PRESET_DEFAULT, heldQuality(quality)))
        return std::nullopt;
    const std::optional<WebPConfig> settings = exportConfig(config);
    WebPFramePicture picture(source.size());
    if (!settings || !picture.load(source))
        return std::nullopt;
    return picture.encode(*settings);
}

} // namespace plenoria
