#include "write/AnimatedWebPWriter.h"

#include "write/WebPAnimationEncoder.h"

#include <limits>

namespace plenoria {

namespace {

constexpr qint64 maxTimestamp = std::numeric_limits<int>::max();
constexpr qint64 maxLoopCount = 65535; // ANIM stores the loop count in 16 bits

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
    if (strip.frames.empty() || strip.frames.size() != strip.delays.size() || loopCount < 0
        || loopCount > maxLoopCount)
        return std::nullopt;
    // Timestamps are checked before any pixel work: a strip that cannot be timed fails at once.
    qint64 total = 0;
    for (qint64 delay : strip.delays) {
        if (delay < 0 || delay > maxTimestamp - total)
            return std::nullopt;
        total += delay;
    }
    const auto config = frameConfig(lossless);
    if (!config)
        return std::nullopt;
    // Each frame is read into one picture that every frame reuses: memory stays at the strip and
    // what libwebp has encoded.
    WebPAnimationEncoder encoder(strip.frames.front().size(), int(loopCount));
    qint64 timestamp = 0;
    for (size_t i = 0; i < strip.frames.size(); ++i) {
        if (!encoder.add(strip.frames[i], int(timestamp), *config))
            return std::nullopt;
        timestamp += strip.delays[i];
    }
    return encoder.finish(int(timestamp));
}

} // namespace plenoria
