#pragma once

#include <QByteArray>
#include <QImage>
#include <optional>

namespace plenoria {

// BMP of our own: 32 bits per pixel, BI_BITFIELDS with a BITMAPV4HEADER whose alpha mask keeps
// transparency (a plain BITMAPINFOHEADER drops it). Straight BGRA, rows bottom-up as most readers expect.
class BmpWriter {
public:
    BmpWriter() = delete;

    [[nodiscard]] static std::optional<QByteArray> encode(const QImage& image);
};

} // namespace plenoria
