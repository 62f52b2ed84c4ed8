#pragma once

#include <QByteArrayView>
#include <QString>
#include <optional>

namespace plenoria {

// The image file types Plenoria reads and writes. A file's type always comes from its content.
enum class ImageType { PNG, GIF, JPEG, WebP, HEIC, AVIF, TIFF, BMP };

// Upper-case display name: "PNG", "GIF", "JPEG", "WebP", "HEIC", "AVIF", "TIFF", "BMP".
QString imageTypeName(ImageType type);

// The type of the bytes from their magic numbers (and ISO-BMFF brands for HEIC/AVIF); none when
// the bytes are no image type we know. Needs at most the first 64 bytes.
std::optional<ImageType> detectImageType(QByteArrayView head);

} // namespace plenoria
