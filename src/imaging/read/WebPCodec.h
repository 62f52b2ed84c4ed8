#pragma once

#include "imaging/read/ImageSourceCodec.h"

#include <vector>

namespace plenoria {

// WebP, still and animated: the chunk structure comes from our own walk, each frame is decoded by
// libwebp by itself and composited here, so a damaged frame costs only itself.
class WebPCodec final : public ImageSource::Codec {
public:
    struct Frame {
        QRect rect;
        qint32 durationMs = 0;
        bool disposeToBackground = false;
        bool blend = false;
        bool lossless = false;
        bool valid = false; // complete, and on the canvas
        qint64 offset = 0; // the frame's bitstream (ALPH + VP8, or VP8L) within the file
        qint64 length = 0;
    };

    [[nodiscard]] static std::shared_ptr<const WebPCodec> create(const QByteArray& data);

    ImageType type() const override { return ImageType::WebP; }
    QSize canvasSize() const override { return m_canvas; }
    qint64 frameCount() const override { return qint64(m_frames.size()); }
    FrameProperties frameProperties(qint64 index) const override;
    qint64 fileLoopCount() const override { return m_animated ? m_loopCount : 0; }
    bool isLossless() const override;
    void decode(qint64 last, const FrameSink& sink) const override;

    explicit WebPCodec(const QByteArray& data);

private:
    bool parse();
    std::optional<QImage> framePixels(const Frame& frame) const;

    QSize m_canvas;
    bool m_animated = false;
    qint64 m_loopCount = 0;
    std::vector<Frame> m_frames;
};

} // namespace plenoria
