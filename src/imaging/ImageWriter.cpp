#include "ImageWriter.h"

#include <QBuffer>

namespace plenoria {

std::optional<QByteArray> ImageWriter::encode(const QImage& image, ImageType type)
{
    if (image.isNull() || type != ImageType::PNG)
        return std::nullopt;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return std::nullopt;
    return bytes;
}

} // namespace plenoria
