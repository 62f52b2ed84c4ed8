#include "imaging/model/Bitmap.h"

#include <algorithm>

namespace plenoria {

std::optional<QImage> makeBitmap(qint64 width, qint64 height)
{
    width = std::max<qint64>(1, width);
    height = std::max<qint64>(1, height);
    if (width > maxBitmapSide || height > maxBitmapSide || width * height > maxBitmapPixels)
        return std::nullopt;
    QImage bitmap(int(width), int(height), pixelFormat);
    if (bitmap.isNull())
        return std::nullopt;
    bitmap.fill(Qt::transparent);
    return bitmap;
}

} // namespace plenoria
