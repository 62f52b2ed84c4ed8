#pragma once

#include <QByteArray>
#include <QImage>
#include <optional>

namespace plenoria {

// A still lossless WebP (VP8L) through libwebp, the form a saved WebP takes: saving never loses
// detail to a second lossy generation. Reentrant.
class WebPLosslessWriter {
public:
    WebPLosslessWriter() = delete;

    [[nodiscard]] static std::optional<QByteArray> encode(const QImage& image);
};

} // namespace plenoria
