#include "ImageWriter.h"

#include "BmpWriter.h"
#include "HeifWriter.h"
#include "JpegWriter.h"
#include "PngWriter.h"
#include "TiffWriter.h"
#include "WebPLosslessWriter.h"

namespace plenoria {

std::optional<QByteArray> ImageWriter::encode(const QImage& image, ImageType type)
{
    switch (type) {
    case ImageType::PNG:
        return PngWriter::encode(image);
    case ImageType::JPEG:
        return JpegWriter::encode(image);
    case ImageType::TIFF:
        return TiffWriter::encode(image);
    case ImageType::BMP:
        return BmpWriter::encode(image);
    case ImageType::WebP:
        return WebPLosslessWriter::encode(image);
    case ImageType::HEIC:
        return HeifWriter::encode(image, HeifWriter::Compression::HEVC);
    case ImageType::AVIF:
        return HeifWriter::encode(image, HeifWriter::Compression::AV1);
    case ImageType::GIF:
        return std::nullopt;
    }
    return std::nullopt;
}

} // namespace plenoria
