#pragma once

#include "ImageType.h"

#include <QByteArray>
#include <QImage>
#include <optional>

namespace plenoria {

// Our image writer: one image as a single-image file of a type, without properties.
// None when encoding fails; never partial bytes. Reentrant.
class ImageWriter {
public:
    [[nodiscard]] static std::optional<QByteArray> encode(const QImage& image, ImageType type);
};

} // namespace plenoria
