#include "imaging/write/WebPFramePicture.h"

#include "imaging/model/Bitmap.h"
#include "imaging/write/WriterPixels.h"

#include <QtEndian>

#include <new>

namespace plenoria {

WebPFramePicture::WebPFramePicture(QSize size)
{
    if (!WebPPictureInit(&m_picture) || size.isEmpty() || size.width() > WEBP_MAX_DIMENSION
        || size.height() > WEBP_MAX_DIMENSION || qint64(size.width()) * size.height() > maxBitmapPixels)
        return;
    m_picture.width = size.width();
    m_picture.height = size.height();
    m_picture.use_argb = 1;
    m_valid = WebPPictureAlloc(&m_picture) != 0;
}

WebPFramePicture::~WebPFramePicture()
{
    WebPPictureFree(&m_picture);
}

bool WebPFramePicture::load(const QImage& frame)
{
    if (!m_valid || frame.size() != size())
        return false;
    // A frame already in the pixel convention (every rendered one) is shared here, not copied.
    const std::optional<QImage> prepared = WriterPixels::prepared(frame);
    if (!prepared)
        return false;
    const int width = m_picture.width;
    for (int y = 0; y < m_picture.height; ++y) {
        uint32_t* row = m_picture.argb + qsizetype(y) * m_picture.argb_stride;
        // Straight RGBA bytes first, then each word turned in place into libwebp's 0xAARRGGBB.
        auto* bytes = reinterpret_cast<uchar*>(row);
        WriterPixels::straightenRow(prepared->constScanLine(y), bytes, width);
        for (int x = 0; x < width; ++x) {
            const quint32 abgr = qFromLittleEndian<quint32>(bytes + 4 * x);
            row[x] = (abgr & 0xFF00FF00u) | ((abgr >> 16) & 0xFFu) | ((abgr & 0xFFu) << 16);
        }
    }
    return true;
}

std::optional<QByteArray> WebPFramePicture::encode(const WebPConfig& config)
{
    if (!m_valid)
        return std::nullopt;
    WebPMemoryWriter writer;
    WebPMemoryWriterInit(&writer);
    m_picture.writer = WebPMemoryWrite;
    m_picture.custom_ptr = &writer;
    std::optional<QByteArray> result;
    try {
        if (WebPEncode(&config, &m_picture) && writer.size > 0)
            result = QByteArray(reinterpret_cast<const char*>(writer.mem), qsizetype(writer.size));
    } catch (const std::bad_alloc&) {
        result.reset();
    }
    m_picture.writer = nullptr;
    m_picture.custom_ptr = nullptr;
    WebPMemoryWriterClear(&writer);
    return result;
}

} // namespace plenoria
