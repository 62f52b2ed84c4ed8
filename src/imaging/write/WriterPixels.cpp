#include "imaging/write/WriterPixels.h"

#include "imaging/model/Bitmap.h"

#include <algorithm>

namespace plenoria {

std::optional<QImage> WriterPixels::prepared(const QImage& image)
{
    if (image.isNull())
        return std::nullopt;
    const qint64 width = image.width();
    const qint64 height = image.height();
    if (width > maxBitmapSide || height > maxBitmapSide || width * height > maxBitmapPixels)
        return std::nullopt;
    if (image.format() == pixelFormat)
        return image;
    QImage converted = image.convertToFormat(pixelFormat);
    if (converted.isNull())
        return std::nullopt;
    return converted;
}

bool WriterPixels::isOpaque(const QImage& prepared)
{
    const qint64 width = prepared.width();
    for (int y = 0; y < prepared.height(); ++y) {
        const uchar* row = prepared.constScanLine(y);
        for (qint64 x = 0; x < width; ++x)
            if (row[4 * x + 3] != 255)
                return false;
    }
    return true;
}

void WriterPixels::straightenRow(const uchar* premultiplied, uchar* straight, qint64 width)
{
    for (qint64 x = 0; x < width; ++x) {
        const uchar* in = premultiplied + 4 * x;
        uchar* out = straight + 4 * x;
        const unsigned alpha = in[3];
        if (alpha == 255 || alpha == 0) {
            // Fully transparent pixels carry no colour; clearing them keeps stray bytes out of files.
            const bool opaque = alpha == 255;
            out[0] = opaque ? in[0] : 0;
            out[1] = opaque ? in[1] : 0;
            out[2] = opaque ? in[2] : 0;
            out[3] = uchar(alpha);
            continue;
        }
        for (int c = 0; c < 3; ++c)
            out[c] = uchar(std::min(255u, (in[c] * 255u + alpha / 2) / alpha));
        out[3] = uchar(alpha);
    }
}

} // namespace plenoria
