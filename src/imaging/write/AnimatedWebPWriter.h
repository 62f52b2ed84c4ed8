#pragma once

#include "imaging/read/Filmstrip.h"

#include <QByteArray>
#include <optional>

namespace plenoria {

// An animated WebP as saving an animated WebP writes it: the export's encoder (WebPAnimationEncoder)
// set to lossless (VP8L) or lossy at quality 90, at a fast method because saves run on the main
// thread. Reentrant. libwebp merges identical consecutive frames into one with their delays summed.
class AnimatedWebPWriter {
public:
    AnimatedWebPWriter() = delete;

    static constexpr int lossyQuality = 90;
    static constexpr int method = 1;

    // None when the strip is empty, its frames and delays differ in number, a frame's size differs
    // from the first's or passes WebP's limit, a delay is negative, the running time leaves libwebp's
    // 32-bit millisecond timestamps, or loopCount (0 = for ever) leaves 0 … 65535.
    [[nodiscard]] static std::optional<QByteArray> encode(
        const Filmstrip& strip, bool lossless, qint64 loopCount);
};

// The animated WebP of a strip, as saving an animated WebP writes it.
[[nodiscard]] inline std::optional<QByteArray> encodeAnimatedWebPForSave(
    const Filmstrip& strip, bool lossless, qint64 loopCount)
{
    return AnimatedWebPWriter::encode(strip, lossless, loopCount);
}

} // namespace plenoria
