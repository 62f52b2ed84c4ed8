#pragma once

#include "imaging/read/ImageSourceCodec.h"

namespace plenoria {

// BMP: the size from the header, the pixels from Qt's reader (which keeps the alpha of 32-bit files
// with V4 and V5 headers).
class BmpCodec final : public ImageSource::Codec {
public:
    [[nodiscard]] static std::shared_ptr<const BmpCodec> create(const QByteArray& data);

    ImageType type() const override { return ImageType::BMP; }
    QSize canvasSize() const override { return m_size; }
    qint64 frameCount() const override { return 1; }
    FrameProperties frameProperties(qint64 index) const override;
    bool isLossless() const override { return true; }
    void decode(qint64 last, const FrameSink& sink) const override;

    BmpCodec(const QByteArray& data, QSize size);

private:
    QSize m_size;
};

} // namespace plenoria
