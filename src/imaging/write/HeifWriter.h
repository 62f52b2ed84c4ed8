#pragma once

#include <QByteArray>
#include <QImage>
#include <optional>

namespace plenoria {

// HEIC (HEVC through x265) and AVIF (AV1 through aom), both through libheif at quality 90. An opaque
// image gets no alpha plane. Reentrant; none when libheif has no encoder for the format.
class HeifWriter {
public:
    HeifWriter() = delete;

    enum class Compression { HEVC, AV1 };
    static constexpr int quality = 90;

    [[nodiscard]] static std::optional<QByteArray> encode(const QImage& image, Compression compression);
};

} // namespace plenoria
