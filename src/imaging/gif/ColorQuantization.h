#pragma once

#include <QImage>
#include <QtGlobal>
#include <optional>
#include <utility>
#include <vector>

namespace plenoria {

// A palette colour, each channel 0 … 255.
struct RGB8 {
    qint64 r = 0;
    qint64 g = 0;
    qint64 b = 0;
    bool operator==(const RGB8&) const = default;
};

// One distinct opaque colour (red << 16 | green << 8 | blue) and the number of pixels that have it.
struct ColorCount {
    qint64 color = 0;
    qint64 count = 0;
    bool operator==(const ColorCount&) const = default;
};

using ColorList = std::vector<ColorCount>;
using Palette = std::vector<RGB8>;

// Median-cut colour reduction of one GIF frame. Stateless and reentrant.
class ColorQuantization {
public:
    ColorQuantization() = delete;

    // The image with at most `colors` opaque colours (held to 1 … 256), alpha made 0 or 255 at 128, with
    // Floyd–Steinberg error diffusion when `dither`. An image with no pixel of alpha ≥ 128 comes back
    // normalised but unquantized. None when it cannot be normalised, read or redrawn.
    [[nodiscard]] static std::optional<QImage> quantize(const QImage& image, qint64 colors, bool dither);

    // The steps of quantize, in the order used; public so that each can be checked on its own.

    // A run colors[begin, end) of the colour list and the extent of each channel over its colours
    // (counts do not matter). An empty box has minimum 255 and maximum 0 on every channel.
    struct Box {
        qint64 begin = 0;
        qint64 end = 0;
        qint64 minR = 255, minG = 255, minB = 255;
        qint64 maxR = 0, maxG = 0, maxB = 0;

        [[nodiscard]] static Box over(const ColorList& colors, qint64 begin, qint64 end);
        qint64 size() const { return end - begin; }
        // The largest of the three channel extents.
        qint64 range() const;
    };
    enum class Channel { red, green, blue };

    // The distinct colours of the pixels with alpha ≥ 128 of premultiplied RGBA bytes, un-premultiplied,
    // ordered by ascending packed colour so that the palette is the same on every run.
    [[nodiscard]] static ColorList histogram(const uchar* bytes, qint64 pixelCount);
    // At most `target` colours (1 when below 2), one per box, in box order.
    [[nodiscard]] static Palette medianCut(ColorList colors, qint64 target);
    // The channel of the widest extent; ties prefer red, then green.
    [[nodiscard]] static Channel splitAxis(const Box& box);
    // Sorts the box's colours in `colors` stably by splitAxis and cuts them at the count-weighted median
    // into a lower and an upper box; each keeps at least one colour.
    [[nodiscard]] static std::pair<Box, Box> splitBox(ColorList& colors, const Box& box);
    // Every pixel of alpha ≥ 128 of premultiplied RGBA bytes (rows of 4 × width, row 0 on top) replaced by
    // its nearest palette entry at alpha 255, every other pixel by 0, 0, 0, 0. Does nothing for an empty
    // palette.
    static void remap(uchar* bytes, qint64 width, qint64 height, const Palette& palette, bool dither);
};

} // namespace plenoria
