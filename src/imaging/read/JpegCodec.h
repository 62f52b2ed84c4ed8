#pragma once

#include "imaging/read/ImageSourceCodec.h"

namespace plenoria {

// JPEG through libjpeg-turbo. The size comes from the frame header found by walking the markers;
// pixels are stored orientation as the file has them (no EXIF rotation).
class JpegCodec final : public ImageSource::Codec {
public:
    [[nodiscard]] static std::shared_ptr<const JpegCodec> create(const QByteArray& data);

    ImageType type() const override { return ImageType::JPEG; }
    QSize canvasSize() const override { return m_size; }
    qint64 frameCount() const override { return 1; }
    FrameProperties frameProperties(qint64 index) const override;
    bool isLossless() const override { return false; }
    void decode(qint64 last, const FrameSink& sink) const override;

    JpegCodec(const QByteArray& data, QSize size);

    // The size in the first start-of-frame marker; none when the markers end before one.
    static std::optional<QSize> frameHeaderSize(QByteArrayView data);

private:
    QSize m_size;
};

} // namespace plenoria
