#pragma once

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <optional>
#include <vector>

namespace plenoria::test {

// One image of a generated GIF. Pixels with alpha below 128 become the transparent index, which needs
// a Graphic Control Extension: a frame without a delay (none) has none and draws them black.
struct GifFrame {
    QImage image;
    QPoint offset;
    std::optional<int> delayCentiseconds = 10; // none: no Graphic Control Extension at all
    int disposal = 0; // 0–3 as stored
    bool interlaced = false;
};

struct GifOptions {
    QSize screen; // empty: the first frame's size
    std::optional<int> loopCount; // none: no NETSCAPE2.0 extension
};

// A GIF89a written with giflib's encoder, one local colour table per frame (up to 255 colours are
// kept exactly, more fall back to a 3-3-2 palette).
QByteArray makeGif(const std::vector<GifFrame>& frames, const GifOptions& options = {});

// `count` opaque frames of `size`, each a different solid colour, all with `delayCentiseconds`.
QByteArray makeAnimatedGif(
    int count, QSize size, std::optional<int> delayCentiseconds = 10, std::optional<int> loopCount = 0);

// The GIF with frame `index`'s compressed data replaced by codes no decoder accepts; the block
// structure stays intact, so the frames around it still decode.
QByteArray corruptGifFrame(QByteArray gif, int index);

} // namespace plenoria::test
