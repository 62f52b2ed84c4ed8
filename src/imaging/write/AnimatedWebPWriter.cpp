#include "imaging/write/AnimatedWebPWriter.h"

#include "imaging/write/WebPAnimationEncoder.h"

namespace plenoria {

namespace {

std::optional<WebPConfig> frameConfig(bool lossless)
{
    WebPConfig config;
    if (!WebPConfigInit(&config))
        return std::nullopt;
    config.lossless = lossless ? 1 : 0;
    config.method = AnimatedWebPWriter::method;
    // For lossless, quality is the effort spent on compression; the lossy figure is the save quality.
    config.quality = lossless ? 50.0f : float(AnimatedWebPWriter::lossyQuality);
    if (!WebPValidateConfig(&config))
        return std::nullopt;
    return config;
}

} // namespace

std::optional<QByteArray> AnimatedWebPWriter::encode(const Filmstrip& strip, bool lossless, qint64 loopCount)
{
    const auto config = frameConfig(lossless);
    if (!config)
        return std::nullopt;
    return WebPAnimationEncoder::encode(strip.frames, strip.delays, loopCount, *config);
}

} // namespace plenoria
