#pragma once

#include <QImage>
#include <optional>

namespace plenoria {

// The pixel preparation every writer shares: images of any format and size come in, and only
// images in the pixel convention (Bitmap.h) within the bitmap limits go on to a codec.
class WriterPixels {
public:
    WriterPixels() = delete;

    // The image in the pixel convention; none for a null image or one beyond the bitmap limits.
    [[nodiscard]] static std::optional<QImage> prepared(const QImage& image);

    // Whether every pixel's alpha is 255.
    static bool isOpaque(const QImage& prepared);

    // One row of `width` premultiplied RGBA pixels as straight RGBA, each colour c × 255 ÷ alpha
    // rounded half away from zero, so that premultiplying again gives back the same bytes.
    static void straightenRow(const uchar* premultiplied, uchar* straight, qint64 width);
};

} // namespace plenoria
