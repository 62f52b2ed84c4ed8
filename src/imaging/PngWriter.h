#pragma once

#include <QByteArray>
#include <QImage>
#include <optional>

namespace plenoria {

// PNG through libpng: 8-bit RGBA, or RGB when every pixel is opaque. Reentrant; a libpng error
// ends the encode with no bytes.
class PngWriter {
public:
    PngWriter() = delete;

    [[nodiscard]] static std::optional<QByteArray> encode(const QImage& image);

    // An image already in the pixel convention, written with or without its alpha channel (without
    // it the colours are the premultiplied ones, that is composited over black).
    [[nodiscard]] static std::optional<QByteArray> encodePrepared(const QImage& prepared, bool withAlpha);
};

} // namespace plenoria
