#pragma once

#include <QByteArray>
#include <QImage>
#include <optional>
#include <vector>
#include <webp/encode.h>

namespace plenoria {

// The one path by which an animated WebP is written, for saving and exporting alike; they differ
// only in the libwebp settings they pass. libwebp's animation encoder takes the frames one after
// another from two pictures allocated once: while it encodes one frame, the next is read into the
// other on a pool thread. Reentrant.
class WebPAnimationEncoder {
public:
    WebPAnimationEncoder() = delete;

    static constexpr qint64 maxLoopCount = 65535; // ANIM stores the loop count in 16 bits

    // The frames on the first frame's canvas, each shown for its delay in milliseconds, looping
    // `loopCount` times (0 = for ever). None when there are no frames, frames and delays differ in
    // number, a frame has another size or passes WebP's limit, a delay is negative, the running
    // time leaves libwebp's 32-bit timestamps, the loop count leaves 0 … maxLoopCount, or libwebp fails.
    [[nodiscard]] static std::optional<QByteArray> encode(const std::vector<QImage>& frames,
        const std::vector<qint64>& delays, qint64 loopCount, const WebPConfig& config);
};

} // namespace plenoria
