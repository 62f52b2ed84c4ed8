#pragma once

#include "imaging/read/GifStructure.h"
#include "imaging/read/ImageSourceCodec.h"

namespace plenoria {

// GIF: the structure comes from our own block walk, pixels from giflib one image at a time, so a
// damaged frame costs only itself.
class GifCodec final : public ImageSource::Codec {
public:
    [[nodiscard]] static std::shared_ptr<const GifCodec> create(const QByteArray& data);

    ImageType type() const override { return ImageType::GIF; }
    QSize canvasSize() const override { return m_canvas; }
    qint64 frameCount() const override { return qint64(m_structure.frames.size()); }
    FrameProperties frameProperties(qint64 index) const override;
    std::optional<qint64> gifLoopCount() const override { return m_structure.loopCount; }
    qint64 fileLoopCount() const override { return m_structure.loopCount.value_or(0); }
    bool isLossless() const override { return true; }
    void decode(qint64 last, const FrameSink& sink) const override;

    GifCodec(const QByteArray& data, GifStructure structure);

private:
    // The part of one frame that falls on the canvas, transparent where the frame is; none when it
    // does not decode. A frame entirely off the canvas still decodes, to an empty image.
    std::optional<QImage> framePixels(const GifStructure::Frame& frame) const;

    GifStructure m_structure;
    QSize m_canvas;
};

} // namespace plenoria
