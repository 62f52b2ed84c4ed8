#pragma once

#include <QByteArray>
#include <QImage>
#include <optional>

namespace plenoria {

// TIFF through libtiff: Deflate-compressed 8-bit RGB, with an associated (premultiplied) alpha
// sample unless every pixel is opaque. Reentrant: libtiff's messages go to a per-file handler.
class TiffWriter {
public:
    TiffWriter() = delete;

    [[nodiscard]] static std::optional<QByteArray> encode(const QImage& image);
};

} // namespace plenoria
