#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <optional>
#include <webp/encode.h>

namespace plenoria {

// One libwebp picture of a fixed size in straight ARGB, allocated once and filled again for every
// frame, so that an animation costs no whole-image allocation or copy per frame on our side.
// Owns its memory; neither copyable nor movable (libwebp keeps pointers into it while encoding).
class WebPFramePicture {
public:
    // Invalid when the size is empty, passes WebP's limit or the bitmap limits, or memory runs out.
    explicit WebPFramePicture(QSize size);
    ~WebPFramePicture();
    WebPFramePicture(const WebPFramePicture&) = delete;
    WebPFramePicture& operator=(const WebPFramePicture&) = delete;

    bool isValid() const { return m_valid; }
    QSize size() const { return {m_picture.width, m_picture.height}; }

    // Fills the picture with the frame as straight colours (each colour × 255 ÷ alpha, rounded;
    // fully transparent pixels cleared). False when the frame has another size or cannot be read.
    [[nodiscard]] bool load(const QImage& frame);

    // The picture libwebp reads; valid while this object lives.
    WebPPicture* picture() { return &m_picture; }
    // Pixel (x, y) as libwebp holds it: 0xAARRGGBB.
    quint32 argb(int x, int y) const { return m_picture.argb[qsizetype(y) * m_picture.argb_stride + x]; }

    // The picture alone as a WebP file; none when libwebp fails.
    [[nodiscard]] std::optional<QByteArray> encode(const WebPConfig& config);

private:
    WebPPicture m_picture{};
    bool m_valid = false;
};

} // namespace plenoria
