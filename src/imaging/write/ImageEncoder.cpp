#include "write/ImageEncoder.h"

#include "write/ImageWriter.h"

namespace plenoria {

std::optional<QByteArray> ImageEncoder::encode(const QImage& image, ImageType type) const
{
    return ImageWriter::encode(image, type);
}

} // namespace plenoria
