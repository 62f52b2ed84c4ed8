#pragma once

#include "imaging/model/FramesSpec.h"

#include <QByteArray>
#include <QImage>
#include <optional>
#include <vector>

namespace plenoria {

class ImageSource;

// The decoded frames of an image file as the bench edits them and every encoder writes them.
// Invariant: frames and delays have the same length; a strip read from bytes has at least one frame.
struct Filmstrip {
    std::vector<QImage> frames;  // Format_RGBA8888_Premultiplied
    std::vector<qint64> delays;  // milliseconds, never negative
    qint64 loopCount = 0;        // GIF's loop count; 0 for every other type and means for ever

    // None when the bytes hold no decodable image.
    [[nodiscard]] static std::optional<Filmstrip> fromData(const QByteArray& data);
};

// The delay a strip gives frame `index` of a source, in milliseconds: the stated one, 100 when none.
qint64 stripDelay(const ImageSource& source, qint64 index);

// GIF's loop count of a source: 0 unless it is a GIF stating one.
qint64 gifLoopCount(const ImageSource& source);

// The frames spec that plays `strip` as browsers do: every delay of 10 ms or less becomes 100 ms;
// none when no delay needed it.
[[nodiscard]] std::optional<FramesSpec> timingFix(const Filmstrip& strip);

} // namespace plenoria
