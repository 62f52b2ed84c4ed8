#pragma once

#include "ImageSourceCodec.h"

#include <vector>

namespace plenoria {

// PNG and animated PNG. The system's libpng knows nothing of APNG, so the animation chunks are read
// here and each frame is handed to libpng as a small PNG of its own.
class PngCodec final : public ImageSource::Codec {
public:
    struct Range {
        qint64 offset = 0;
        qint64 length = 0;
    };
    struct Frame {
        QRect rect;
        int delayNumerator = 0;
        int delayDenominator = 0;
        int dispose = 0;
        int blend = 0;
        bool valid = false; // a complete frame control whose rectangle lies on the canvas
        std::vector<Range>
            data; // zlib stream pieces (IDAT payloads or fdAT payloads after the sequence number)
    };

    [[nodiscard]] static std::shared_ptr<const PngCodec> create(const QByteArray& data);

    ImageType type() const override { return ImageType::PNG; }
    QSize canvasSize() const override { return m_size; }
    qint64 frameCount() const override { return m_frames.empty() ? 1 : qint64(m_frames.size()); }
    FrameProperties frameProperties(qint64 index) const override;
    qint64 fileLoopCount() const override { return m_frames.empty() ? 0 : m_plays; }
    bool isLossless() const override { return true; }
    void decode(qint64 last, const FrameSink& sink) const override;

    explicit PngCodec(const QByteArray& data);

private:
    bool parse();
    void decodeAnimation(qint64 last, const FrameSink& sink) const;
    // A stand-alone PNG holding one animation frame: the file's own header chunks around its data.
    QByteArray framePng(const Frame& frame) const;

    QSize m_size;
    Range m_header; // IHDR payload
    std::vector<Range>
        m_ancillary; // whole chunks between IHDR and the image data (palette, transparency, colour)
    std::vector<Frame> m_frames; // empty for a still PNG
    qint64 m_plays = 0;
};

} // namespace plenoria
