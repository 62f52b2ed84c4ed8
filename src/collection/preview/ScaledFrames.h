#pragma once

#include "imaging/read/GIFAnimation.h"

#include <QImage>
#include <QSize>
#include <optional>
#include <stop_token>
#include <vector>

namespace plenoria {

// An animation's frames scaled once, with high interpolation, to fit a square of `pixelSide`
// device pixels, so that playback only blits. Made off the main thread.
struct ScaledFrames {
    qint64 pixelSide = 0;
    std::vector<QImage> frames;

    // None when a stop is requested on `stop` (seen between two frames): a newer size or image
    // made the work pointless, or the application quits.
    [[nodiscard]] static std::optional<ScaledFrames> make(
        const GIFAnimation& animation, qint64 pixelSide, std::stop_token stop = {});
};

// The size of `image` fitted into a square of `side` with its aspect ratio kept (at least 1 × 1);
// larger and smaller images alike fill the square along their longer side.
QSize fittedInSquare(const QSize& image, qint64 side);

} // namespace plenoria
