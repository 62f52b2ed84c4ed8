#pragma once

#include "imaging/read/Filmstrip.h"

#include <QByteArray>
#include <QImage>
#include <optional>
#include <vector>

namespace plenoria {

// Lossy WebP for export and its size estimate. Stateless and reentrant: each call owns its libwebp objects.
class WebPWriter {
public:
    WebPWriter() = delete;

    // Longest side of an exported frame, in pixels.
    static constexpr qint64 sizeLimit = 1024;

    // The strip with frames above sizeLimit scaled down to it; only looked into when the first frame is
    // too large. Delays and loop count unchanged.
    [[nodiscard]] static Filmstrip fitFramesForWebP(const Filmstrip& strip);

    // An animation on the first frame's canvas through the save's encoder (WebPAnimationEncoder) at
    // the export's settings; quality held to 0 … 100, a negative delay taken as 0, loop count 0 meaning
    // for ever. None when a frame has another size, a delay is missing, the timeline leaves 32-bit
    // milliseconds, the loop count passes 65535 or libwebp fails.
    [[nodiscard]] static std::optional<QByteArray> encodeAnimatedWebP(const std::vector<QImage>& frames,
        const std::vector<qint64>& delays, qint64 loopCount, double quality);

    // A still, scaled down to sizeLimit first when larger; none when libwebp fails.
    [[nodiscard]] static std::optional<QByteArray> encodeStillWebP(const QImage& image, double quality);
};

} // namespace plenoria
