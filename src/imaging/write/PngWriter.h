#pragma once

#include <QByteArray>
#include <QImage>
#include <functional>
#include <optional>
#include <vector>

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

    // 8-bit rows laid out for a colour type chosen by the caller, as the animated PNG writer needs.
    enum class ColorType { palette = 3, rgb = 2, rgba = 6 };
    struct Rows {
        QSize size;
        ColorType colorType = ColorType::rgba;
        std::vector<quint32> palette; // straight RGBA, red in the lowest byte; palette type only
        // Writes row y: one byte per pixel (palette), three (RGB) or four (RGBA).
        std::function<void(int y, uchar* row)> fill;
    };
    [[nodiscard]] static std::optional<QByteArray> encodeRows(const Rows& rows);
};

} // namespace plenoria
