#pragma once

#include "imaging/gif/ColorQuantization.h"

#include <QImage>
#include <optional>
#include <vector>

namespace plenoria {

// One GIF frame as palette indices.
struct IndexedFrame {
    qint64 width = 0;
    qint64 height = 0;
    Palette colors; // 1 … 256 entries, the transparent one included
    std::optional<qint64> transparentIndex; // present exactly when some pixel is transparent
    std::vector<uchar> indices; // width × height, row 0 on top
};

// The colour reduction that every GIF we write goes through. Alpha becomes two-valued at 128 (GIF has
// one transparent index); a frame whose colours fit 256 entries (255 beside transparency) keeps them
// exactly, so that re-saving a GIF never degrades it; any other frame goes through libimagequant.
// Reentrant.
class GIFColorReduction {
public:
    GIFColorReduction() = delete;

    // None when the image cannot be normalised or read, or libimagequant fails.
    [[nodiscard]] static std::optional<IndexedFrame> reduce(const QImage& image);
};

} // namespace plenoria
