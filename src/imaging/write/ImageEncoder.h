#pragma once

#include "imaging/model/ImageType.h"

#include <QByteArray>
#include <QImage>
#include <optional>

namespace plenoria {

// Writes one image as a single-image file of a type, so that a test can make a type unwritable.
// The default is our own writer (ImageWriter): none when encoding fails. Reentrant.
class ImageEncoder {
public:
    virtual ~ImageEncoder() = default;

    [[nodiscard]] virtual std::optional<QByteArray> encode(const QImage& image, ImageType type) const;
};

} // namespace plenoria
