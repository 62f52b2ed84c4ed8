#pragma once

#include "ImageSourceCodec.h"

namespace plenoria {

// TIFF through libtiff: the first page only, as one frame.
class TiffCodec final : public ImageSource::Codec {
public:
    [[nodiscard]] static std::shared_ptr<const TiffCodec> create(const QByteArray& data);

    ImageType type() const override { return ImageType::TIFF; }
    QSize canvasSize() const override { return m_size; }
    qint64 frameCount() const override { return 1; }
    FrameProperties frameProperties(qint64 index) const override;
    bool isLossless() const override { return true; }
    void decode(qint64 last, const FrameSink& sink) const override;

    TiffCodec(const QByteArray& data, QSize size);

private:
    QSize m_size;
};

} // namespace plenoria
