#include "imaging/read/FrameDelay.h"

#include "imaging/model/Rounding.h"
#include "imaging/read/ImageSource.h"

#include <cmath>
#include <map>

namespace plenoria {

namespace {

std::optional<double> stated(const std::optional<DelayProperties>& properties)
{
    if (!properties)
        return std::nullopt;
    return properties->unclamped ? properties->unclamped : properties->plain;
}

} // namespace

std::optional<double> frameDelay(const ImageSource& source, qint64 index)
{
    const FrameProperties properties = source.frameProperties(index);
    for (const auto* container : {&properties.gif, &properties.webp, &properties.apng}) {
        if (const std::optional<double> delay = stated(*container))
            return delay;
    }
    return std::nullopt;
}

std::optional<qint64> delayMilliseconds(double seconds)
{
    const double hundredths = seconds * 100;
    // Beyond this, ten times the rounded value no longer fits in 64 bits.
    if (!std::isfinite(hundredths) || std::abs(hundredths) >= 9.0e17)
        return std::nullopt;
    return std::max<qint64>(0, roundHalfAway(hundredths) * 10);
}

qint64 delayMode(const std::vector<double>& delaysInSeconds)
{
    if (delaysInSeconds.empty())
        return 100;
    std::map<qint64, qint64> counts; // ordered, so the first of the most common is the smallest
    for (const double delay : delaysInSeconds)
        ++counts[delayMilliseconds(delay).value_or(0)];
    qint64 best = 0;
    qint64 bestCount = 0;
    for (const auto& [milliseconds, count] : counts) {
        if (count > bestCount) {
            best = milliseconds;
            bestCount = count;
        }
    }
    return best;
}

} // namespace plenoria
