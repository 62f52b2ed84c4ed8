#pragma once

#include "write/WebPFramePicture.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <memory>
#include <optional>
#include <webp/mux.h>

namespace plenoria {

// libwebp's animation encoder fed one frame at a time through a single picture reused for every
// frame: libwebp keeps only what it has encoded, and the frames are read where they lie.
class WebPAnimationEncoder {
public:
    // Invalid when libwebp refuses the canvas or the loop count (0 = for ever).
    WebPAnimationEncoder(QSize canvas, int loopCount);

    bool isValid() const { return m_encoder && m_picture.isValid(); }

    // Adds a frame of the canvas's size, shown from `timestamp` milliseconds; false when it has
    // another size, cannot be read or libwebp fails.
    [[nodiscard]] bool add(const QImage& frame, int timestamp, const WebPConfig& config);

    // The animation, its last frame shown until `end` milliseconds; none when libwebp fails.
    [[nodiscard]] std::optional<QByteArray> finish(int end);

private:
    struct Deleter {
        void operator()(WebPAnimEncoder* encoder) const { WebPAnimEncoderDelete(encoder); }
    };
    std::unique_ptr<WebPAnimEncoder, Deleter> m_encoder;
    WebPFramePicture m_picture;
};

} // namespace plenoria
