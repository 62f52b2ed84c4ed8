#include "collection/preview/ScaledFrames.h"

#include "imaging/model/Rounding.h"

#include <algorithm>

namespace plenoria {

QSize fittedInSquare(const QSize& image, qint64 side)
{
    const qint64 longest = std::max(image.width(), image.height());
    if (longest <= 0 || side <= 0)
        return {1, 1};
    const double scale = double(side) / double(longest);
    const auto fit = [scale](int length) { return int(std::max<qint64>(1, roundHalfAway(length * scale))); };
    return {fit(image.width()), fit(image.height())};
}

std::optional<ScaledFrames> ScaledFrames::make(
    const GIFAnimation& animation, qint64 pixelSide, std::stop_token stop)
{
    ScaledFrames scaled;
    scaled.pixelSide = pixelSide;
    scaled.frames.reserve(animation.frames.size());
    for (const QImage& frame : animation.frames) {
        if (stop.stop_requested())
            return std::nullopt;
        const QSize fitted = fittedInSquare(frame.size(), pixelSide);
        // A frame already at its shown size is shared, not copied.
        if (frame.isNull() || frame.size() == fitted)
            scaled.frames.push_back(frame);
        else
            scaled.frames.push_back(frame.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    return scaled;
}

} // namespace plenoria
