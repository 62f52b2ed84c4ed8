#include "imaging/read/GIFAnimation.h"

#include "imaging/read/FrameDelay.h"
#include "imaging/read/ImageSource.h"

#include <cmath>

namespace plenoria {

namespace {

// Seconds between the Unix epoch and the reference date of the animation clock, 2001-01-01 00:00 UTC.
constexpr double referenceDateOffset = 978307200.0;

constexpr double shortestDuration = 0.02;
constexpr double missingDelay = 0.1;

} // namespace

std::optional<GIFAnimation> GIFAnimation::load(
    const QUrl& url, const std::function<void(const QImage&)>& firstFrame, std::stop_token stop)
{
    if (!url.isLocalFile())
        return std::nullopt;
    const std::optional<ImageSource> source = ImageSource::open(url.toLocalFile());
    if (!source || source->frameCount() < 1)
        return std::nullopt;
    bool reported = !firstFrame || source->frameCount() < 2;
    std::optional<std::vector<DecodedFrame>> decoded = source->decodeFrames(
        [&](const DecodedFrame& frame) {
            if (!reported)
                firstFrame(frame.image);
            reported = true;
        },
        stop);
    if (!decoded || decoded->empty())
        return std::nullopt;

    GIFAnimation animation;
    for (DecodedFrame& frame : *decoded) {
        const double delay = frameDelay(*source, frame.index).value_or(missingDelay);
        // A NaN delay fails every comparison; it plays as the shortest frame.
        const double duration = delay >= shortestDuration ? delay : shortestDuration;
        animation.frames.push_back(std::move(frame.image));
        animation.durations.push_back(duration);
        animation.totalDuration += duration;
    }
    return animation;
}

const QImage& GIFAnimation::frame(const QDateTime& at) const
{
    return frameAtSecondsSinceReferenceDate(double(at.toMSecsSinceEpoch()) / 1000.0 - referenceDateOffset);
}

const QImage& GIFAnimation::frameAtSecondsSinceReferenceDate(double seconds) const
{
    // Only a loaded animation is sure to have a frame; an empty value shows nothing rather than crash.
    static const QImage none;
    if (frames.empty())
        return none;
    if (frames.size() < 2 || !(totalDuration > 0))
        return frames.front();
    double t = std::fmod(seconds, totalDuration);
    for (size_t i = 0; i < frames.size() && i < durations.size(); ++i) {
        if (durations[i] > t)
            return frames[i];
        t -= durations[i];
    }
    return frames.back();
}

} // namespace plenoria
