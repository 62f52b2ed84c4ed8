#include "imaging/read/Filmstrip.h"

#include "imaging/read/FrameDelay.h"
#include "imaging/read/ImageSource.h"

namespace plenoria {

namespace {

constexpr qint64 missingDelayMs = 100;

} // namespace

std::optional<Filmstrip> Filmstrip::fromData(const QByteArray& data)
{
    const std::optional<ImageSource> source = ImageSource::fromData(data);
    if (!source || source->frameCount() < 1)
        return std::nullopt;
    std::optional<std::vector<DecodedFrame>> decoded = source->decodeFrames();
    if (!decoded || decoded->empty())
        return std::nullopt;

    Filmstrip strip;
    strip.frames.reserve(decoded->size());
    strip.delays.reserve(decoded->size());
    for (DecodedFrame& frame : *decoded) {
        strip.delays.push_back(stripDelay(*source, frame.index));
        strip.frames.push_back(std::move(frame.image));
    }
    strip.loopCount = gifLoopCount(*source);
    return strip;
}

qint64 stripDelay(const ImageSource& source, qint64 index)
{
    const std::optional<double> delay = frameDelay(source, index);
    // A delay beyond what milliseconds can hold is treated like a missing one.
    return delay ? delayMilliseconds(*delay).value_or(missingDelayMs) : missingDelayMs;
}

qint64 gifLoopCount(const ImageSource& source)
{
    return source.gifLoopCount().value_or(0);
}

std::optional<FramesSpec> timingFix(const Filmstrip& strip)
{
    std::vector<qint64> delays = strip.delays;
    bool changed = false;
    for (qint64& delay : delays) {
        if (delay <= 10) {
            delay = 100;
            changed = true;
        }
    }
    if (!changed)
        return std::nullopt;
    return FramesSpec::fromDelays(delays);
}

} // namespace plenoria
