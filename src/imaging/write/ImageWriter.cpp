#include "imaging/write/ImageWriter.h"

#include "imaging/gif/GIFWriter.h"
#include "imaging/write/BmpWriter.h"
#include "imaging/write/HeifWriter.h"
#include "imaging/write/JpegWriter.h"
#include "imaging/write/PngWriter.h"
#include "imaging/write/TiffWriter.h"
#include "imaging/write/WebPLosslessWriter.h"
#include "imaging/write/WriterPixels.h"

namespace plenoria {

std::optional<QByteArray> ImageWriter::encode(const QImage& image, ImageType type)
{
    // One size rule for every type, the codecs' own limits aside.
    const auto prepared = WriterPixels::prepared(image);
    if (!prepared)
        return std::nullopt;
    switch (type) {
    case ImageType::PNG:
        return PngWriter::encode(*prepared);
    case ImageType::JPEG:
        return JpegWriter::encode(*prepared);
    case ImageType::TIFF:
        return TiffWriter::encode(*prepared);
    case ImageType::BMP:
        return BmpWriter::encode(*prepared);
    case ImageType::WebP:
        return WebPLosslessWriter::encode(*prepared);
    case ImageType::HEIC:
        return HeifWriter::encode(*prepared, HeifWriter::Compression::HEVC);
    case ImageType::AVIF:
        return HeifWriter::encode(*prepared, HeifWriter::Compression::AV1);
    case ImageType::GIF:
        return GIFWriter::encodeStill(*prepared);
    }
    return std::nullopt;
}

} // namespace plenoria
