#include "imaging/render/Renderer.h"

#include "imaging/model/PixelConventions.h"
#include "imaging/write/ImageWriter.h"

namespace plenoria {

// The renderer's callers keep these names; the conventions themselves sit below every encoder.
std::optional<QImage> Renderer::normalized(const QImage& image)
{
    return PixelConventions::normalized(image);
}

std::optional<QByteArray> Renderer::pixelBytes(const QImage& image)
{
    return PixelConventions::pixelBytes(image);
}

std::optional<QImage> Renderer::resampled(const QImage& image, qint64 width, qint64 height)
{
    return PixelConventions::resampled(image, width, height);
}

std::optional<QImage> Renderer::scaledToFit(const QImage& image, qint64 longestEdge)
{
    return PixelConventions::scaledToFit(image, longestEdge);
}

std::optional<QImage> Renderer::cropOrPad(const QImage& image, qint64 x, qint64 y, qint64 width, qint64 height)
{
    return PixelConventions::cropOrPad(image, x, y, width, height);
}

std::optional<QByteArray> Renderer::encode(const QImage& image, ImageType type)
{
    return ImageWriter::encode(image, type);
}

} // namespace plenoria
