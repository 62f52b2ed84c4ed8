#include "imaging/write/ImageEncoder.h"

#include "imaging/write/ImageWriter.h"

namespace plenoria {

std::optional<QByteArray> ImageEncoder::encode(const QImage& image, ImageType type) const
{
    return ImageWriter::encode(image, type);
}

} // namespace plenoria
