#include "imaging/read/BmpCodec.h"

#include "imaging/model/Bitmap.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>

namespace plenoria {

BmpCodec::BmpCodec(const QByteArray& data, QSize size)
    : Codec(data)
    , m_size(size)
{ }

std::shared_ptr<const BmpCodec> BmpCodec::create(const QByteArray& data)
{
    if (data.size() < 26)
        return nullptr;
    const char* bytes = data.constData();
    const quint32 headerSize = qFromLittleEndian<quint32>(bytes + 14);
    qint64 width = 0;
    qint64 height = 0;
    if (headerSize == 12) { // OS/2 core header: 16-bit sides
        width = qFromLittleEndian<quint16>(bytes + 18);
        height = qFromLittleEndian<quint16>(bytes + 20);
    } else if (headerSize >= 40 && data.size() >= 26) {
        width = qFromLittleEndian<qint32>(bytes + 18);
        height = qFromLittleEndian<qint32>(bytes + 22);
        height = height < 0 ? -height : height; // negative: rows stored top-down
    }
    if (width <= 0 || height <= 0 || width > INT_MAX || height > INT_MAX)
        return nullptr;
    return std::make_shared<const BmpCodec>(data, QSize(int(width), int(height)));
}

FrameProperties BmpCodec::frameProperties(qint64) const
{
    FrameProperties properties;
    properties.pixelSize = m_size;
    return properties;
}

void BmpCodec::decode(qint64, const FrameSink& sink) const
{
    if (!withinFrameLimit(m_size.width(), m_size.height())) {
        sink(0, std::nullopt);
        return;
    }
    QByteArray bytes = m_data; // shares, never copies: the buffer only reads
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    QImage image = reader.read();
    if (image.isNull() || image.size() != m_size) {
        sink(0, std::nullopt);
        return;
    }
    image.convertTo(pixelFormat);
    sink(0, std::move(image));
}

} // namespace plenoria
