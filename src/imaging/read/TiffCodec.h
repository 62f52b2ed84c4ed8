#pragma once

#include "imaging/read/ImageSourceCodec.h"

#include <vector>

namespace plenoria {

// TIFF through libtiff: every page of the main chain is a frame, on the first page's canvas.
class TiffCodec final : public ImageSource::Codec {
public:
    [[nodiscard]] static std::shared_ptr<const TiffCodec> create(const QByteArray& data);

    ImageType type() const override { return ImageType::TIFF; }
    QSize canvasSize() const override { return m_size; }
    qint64 frameCount() const override { return qint64(m_pages.size()); }
    FrameProperties frameProperties(qint64 index) const override;
    bool isLossless() const override { return true; }
    void decode(qint64 last, const FrameSink& sink) const override;

    TiffCodec(const QByteArray& data, QSize size, std::vector<quint64> pages);

private:
    QSize m_size;
    std::vector<quint64> m_pages; // the offset of each page's directory, first page first
};

} // namespace plenoria
