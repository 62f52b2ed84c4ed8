#pragma once

#include "imaging/read/Filmstrip.h"

#include <QByteArray>
#include <optional>
#include <utility>

namespace plenoria {

// Animated PNG, the chunks assembled by us around frames compressed by libpng: acTL with the play
// count, then per frame an fcTL and its image data (IDAT for the first frame, fdAT after). Frame 0
// covers the canvas; every later one stores only what changed (APNGFramePlanner), in the smallest
// colour type that holds every frame losslessly: a palette when they share at most 256 colours,
// RGB when they are opaque, else RGBA. Every frame decodes to exactly the frame given. Reentrant.
class APNGWriter {
public:
    APNGWriter() = delete;

    // None when the strip is empty, its frames and delays differ in number, a frame's size differs
    // from the first's, a delay is negative or cannot be stated, or numPlays (0 = for ever) passes 2^31 − 1.
    [[nodiscard]] static std::optional<QByteArray> encode(const Filmstrip& strip, qint64 numPlays);

    // A delay in milliseconds as fcTL's delay_num / delay_den: exact where the 16-bit fields allow,
    // else the nearest value in coarser units; none beyond 65535 seconds or below 0.
    [[nodiscard]] static std::optional<std::pair<quint16, quint16>> delayFraction(qint64 milliseconds);
};

// The animated PNG of a strip, as saving an animated PNG writes it.
[[nodiscard]] inline std::optional<QByteArray> encodeAPNG(const Filmstrip& strip, qint64 numPlays)
{
    return APNGWriter::encode(strip, numPlays);
}

} // namespace plenoria
