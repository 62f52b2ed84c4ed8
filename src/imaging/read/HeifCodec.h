#pragma once

#include "imaging/read/ImageSourceCodec.h"

namespace plenoria {

// HEIC and AVIF through libheif: the primary image only, with the file's rotation and mirroring applied.
class HeifCodec final : public ImageSource::Codec {
public:
    [[nodiscard]] static std::shared_ptr<const HeifCodec> create(const QByteArray& data, ImageType type);

    ImageType type() const override { return m_type; }
    QSize canvasSize() const override { return m_size; }
    qint64 frameCount() const override { return 1; }
    FrameProperties frameProperties(qint64 index) const override;
    bool isLossless() const override { return false; }
    void decode(qint64 last, const FrameSink& sink) const override;

    HeifCodec(const QByteArray& data, ImageType type, QSize size);

private:
    ImageType m_type;
    QSize m_size;
};

} // namespace plenoria
