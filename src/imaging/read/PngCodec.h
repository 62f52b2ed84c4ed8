#pragma once

#include "imaging/read/ImageSourceCodec.h"

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
    // Kept small: a hostile file may state a million frames, each costing this much.
    struct Frame {
        QRect rect;
        quint16 delayNumerator = 0;
        quint16 delayDenominator = 0;
        quint8 dispose = 0;
        quint8 blend = 0;
        bool valid = false; // a complete frame control whose rectangle lies on the canvas
        quint32 firstPiece = 0; // the frame's zlib stream pieces in m_pieces
        quint32 pieceCount = 0;
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

    // A stand-alone PNG holding animation frame `index`: the chunks libpng needs around its data.
    QByteArray framePng(qint64 index) const;

private:
    bool parse();
    void keepForFrames(const char* type, qint64 offset, qint64 length);
    void limitProfile();
    void decodeAnimation(qint64 last, const FrameSink& sink) const;

    QSize m_size;
    Range m_header; // IHDR payload
    // Whole chunks before the image data that every frame's PNG repeats (palette, transparency,
    // colour space), at most one of each type.
    std::vector<Range> m_carried;
    std::vector<Frame> m_frames; // empty for a still PNG
    std::vector<Range> m_pieces; // IDAT payloads, or fdAT payloads after the sequence number
    qint64 m_plays = 0;
};

} // namespace plenoria
