#pragma once

#include <QByteArray>
#include <QImage>
#include <optional>

namespace plenoria {

// JPEG through libjpeg-turbo at quality 90. JPEG has no alpha: the image is composited over black.
// Reentrant; a libjpeg error ends the encode with no bytes.
class JpegWriter {
public:
    JpegWriter() = delete;

    static constexpr int quality = 90;

    [[nodiscard]] static std::optional<QByteArray> encode(const QImage& image);
};

} // namespace plenoria
