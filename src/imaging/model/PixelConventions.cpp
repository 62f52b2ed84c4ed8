#include "imaging/model/PixelConventions.h"

#include "imaging/model/Bitmap.h"
#include "imaging/model/Geometry.h"

#include <QMutex>
#include <QMutexLocker>
#include <QPainter>

namespace plenoria {

namespace {

// One entry: the source (kept alive so its cache key cannot be reused) and its normalised form.
struct NormalizationCache {
    QMutex mutex;
    QImage source;
    QImage normalized;
};

NormalizationCache& normalizationCache()
{
    static NormalizationCache cache;
    return cache;
}

} // namespace

std::optional<QImage> PixelConventions::normalized(const QImage& image)
{
    NormalizationCache& cache = normalizationCache();
    {
        QMutexLocker lock(&cache.mutex);
        if (!image.isNull() && !cache.source.isNull() && cache.source.cacheKey() == image.cacheKey())
            return cache.normalized;
    }
    // Drawn outside the lock: a slow conversion on one thread must not stall the other.
    QImage result;
    if (image.isNull()) {
        auto bitmap = makeBitmap(1, 1);
        if (!bitmap)
            return std::nullopt;
        result = *bitmap;
    } else if (image.format() == pixelFormat) {
        result = image;
    } else {
        if (!makeBitmap(image.width(), image.height()))
            return std::nullopt;
        result = image.convertToFormat(pixelFormat);
        if (result.isNull())
            return std::nullopt;
    }
    if (!image.isNull()) {
        QMutexLocker lock(&cache.mutex);
        cache.source = image;
        cache.normalized = result;
    }
    return result;
}

std::optional<QByteArray> PixelConventions::pixelBytes(const QImage& image)
{
    if (image.isNull() || image.format() != pixelFormat)
        return std::nullopt;
    const qint64 rowBytes = 4LL * image.width();
    if (image.bytesPerLine() != rowBytes || image.sizeInBytes() < rowBytes * image.height())
        return std::nullopt;
    return QByteArray(reinterpret_cast<const char*>(image.constBits()), rowBytes * image.height());
}

std::optional<QImage> PixelConventions::resampled(const QImage& image, qint64 width, qint64 height)
{
    if (!makeBitmap(width, height))
        return std::nullopt;
    // Qt's smooth scaling averages every source pixel when shrinking, which keeps small emoji crisp
    // where a plain bilinear draw would alias.
    QImage scaled = image.convertToFormat(pixelFormat)
                        .scaled(int(width), int(height), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (scaled.isNull())
        return std::nullopt;
    if (scaled.format() != pixelFormat)
        scaled = scaled.convertToFormat(pixelFormat);
    return scaled;
}

std::optional<QImage> PixelConventions::scaledToFit(const QImage& image, qint64 longestEdge)
{
    const IntSize target = fitToLongestEdge(longestEdge, QSizeF(image.size()));
    if (target.width <= 0 || target.height <= 0
        || (target.width == image.width() && target.height == image.height()))
        return image;
    if (auto scaled = resampled(image, target.width, target.height))
        return scaled;
    return image;
}

std::optional<QImage> PixelConventions::cropOrPad(
    const QImage& image, qint64 x, qint64 y, qint64 width, qint64 height)
{
    if (width < 1 || height < 1)
        return image;
    const qint64 w = image.width();
    const qint64 h = image.height();
    if (x >= 0 && y >= 0 && x + width <= w && y + height <= h)
        return image.copy(int(x), int(y), int(width), int(height));

    const bool overlaps = x < w && y < h && x + width > 0 && y + height > 0;
    if (auto canvas = makeBitmap(width, height)) {
        // Without overlap the canvas stays transparent (and offsets could leave int range).
        if (overlaps) {
            QPainter painter(&*canvas);
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.drawImage(QPoint(int(-x), int(-y)), image);
        }
        return canvas;
    }
    // The padded canvas is too large to make: keep what lies inside the image.
    if (!overlaps)
        return std::nullopt;
    const qint64 left = std::max<qint64>(x, 0);
    const qint64 top = std::max<qint64>(y, 0);
    const qint64 right = std::min(x + width, w);
    const qint64 bottom = std::min(y + height, h);
    return image.copy(int(left), int(top), int(right - left), int(bottom - top));
}

} // namespace plenoria
