#include "imaging/write/BmpWriter.h"

#include "imaging/write/WriterPixels.h"

#include <QtEndian>

#include <algorithm>
#include <new>
#include <vector>

namespace plenoria {

namespace {

constexpr qint64 fileHeaderSize = 14;
constexpr qint64 v4HeaderSize = 108;
constexpr quint32 biBitfields = 3;
constexpr quint32 lcsSRGB = 0x73524742; // 'sRGB'
constexpr qint32 pixelsPerMetre = 2835; // 72 dpi

class LittleEndianWriter {
public:
    explicit LittleEndianWriter(uchar* to)
        : m_to(to)
    { }
    void u16(quint16 value) { put(value); }
    void u32(quint32 value) { put(value); }
    void i32(qint32 value) { put(value); }
    void zeros(qint64 count)
    {
        std::fill(m_to, m_to + count, uchar(0));
        m_to += count;
    }

private:
    template <typename T> void put(T value)
    {
        qToLittleEndian(value, m_to);
        m_to += sizeof(T);
    }
    uchar* m_to;
};

void writeHeaders(uchar* to, qint64 width, qint64 height, qint64 pixelBytes)
{
    LittleEndianWriter out(to);
    out.u16(0x4D42); // "BM"
    out.u32(quint32(fileHeaderSize + v4HeaderSize + pixelBytes));
    out.u32(0);
    out.u32(quint32(fileHeaderSize + v4HeaderSize));

    out.u32(quint32(v4HeaderSize));
    out.i32(qint32(width));
    out.i32(qint32(height)); // positive: bottom-up rows
    out.u16(1);
    out.u16(32);
    out.u32(biBitfields);
    out.u32(quint32(pixelBytes));
    out.i32(pixelsPerMetre);
    out.i32(pixelsPerMetre);
    out.u32(0); // colours used
    out.u32(0); // important colours
    out.u32(0x00FF0000); // red mask
    out.u32(0x0000FF00);
    out.u32(0x000000FF);
    out.u32(0xFF000000); // alpha mask
    out.u32(lcsSRGB);
    out.zeros(36 + 12); // endpoints and gamma, unused with sRGB
}

} // namespace

std::optional<QByteArray> BmpWriter::encode(const QImage& image)
{
    const auto prepared = WriterPixels::prepared(image);
    if (!prepared)
        return std::nullopt;
    const qint64 width = prepared->width();
    const qint64 height = prepared->height();
    const qint64 rowBytes = 4 * width;
    const qint64 pixelBytes = rowBytes * height;
    QByteArray bytes;
    std::vector<uchar> straight;
    try {
        bytes.resize(fileHeaderSize + v4HeaderSize + pixelBytes);
        straight.resize(size_t(rowBytes));
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    auto* to = reinterpret_cast<uchar*>(bytes.data());
    writeHeaders(to, width, height, pixelBytes);
    uchar* pixels = to + fileHeaderSize + v4HeaderSize;
    for (qint64 y = 0; y < height; ++y) {
        WriterPixels::straightenRow(prepared->constScanLine(int(y)), straight.data(), width);
        uchar* row = pixels + (height - 1 - y) * rowBytes;
        for (qint64 x = 0; x < width; ++x) {
            const uchar* rgba = straight.data() + 4 * x;
            row[4 * x] = rgba[2];
            row[4 * x + 1] = rgba[1];
            row[4 * x + 2] = rgba[0];
            row[4 * x + 3] = rgba[3];
        }
    }
    return bytes;
}

} // namespace plenoria
