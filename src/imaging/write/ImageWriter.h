#pragma once

#include "imaging/model/ImageType.h"

#include <QByteArray>
#include <QImage>
#include <optional>

namespace plenoria {

// Our image writer: one image as a single-image file of a type, without properties. The image may
// be in any QImage format. None when encoding fails or the image passes the bitmap limits; never
// partial bytes. Types without alpha (JPEG) write the image over black. Reentrant.
class ImageWriter {
public:
    [[nodiscard]] static std::optional<QByteArray> encode(const QImage& image, ImageType type);
};

} // namespace plenoria
