#include "imaging/read/TiffCodec.h"

#include "imaging/model/Bitmap.h"

#include <tiffio.h>

#include <cstring>
#include <memory>
#include <unordered_set>

namespace plenoria {

namespace {

struct MemoryFile {
    const char* data = nullptr;
    toff_t size = 0;
    toff_t position = 0;
};

tmsize_t readProc(thandle_t handle, void* buffer, tmsize_t count)
{
    auto* file = static_cast<MemoryFile*>(handle);
    if (count <= 0 || file->position >= file->size)
        return 0;
    const tmsize_t available = tmsize_t(std::min<toff_t>(toff_t(count), file->size - file->position));
    std::memcpy(buffer, file->data + file->position, size_t(available));
    file->position += toff_t(available);
    return available;
}

tmsize_t writeProc(thandle_t, void*, tmsize_t)
{
    return 0;
}

toff_t seekProc(thandle_t handle, toff_t offset, int whence)
{
    auto* file = static_cast<MemoryFile*>(handle);
    toff_t base = 0;
    if (whence == SEEK_CUR)
        base = file->position;
    else if (whence == SEEK_END)
        base = file->size;
    file->position = base + offset;
    return file->position;
}

int closeProc(thandle_t)
{
    return 0;
}
toff_t sizeProc(thandle_t handle)
{
    return static_cast<MemoryFile*>(handle)->size;
}
int mapProc(thandle_t, void**, toff_t*)
{
    return 0;
}
void unmapProc(thandle_t, void*, toff_t)
{ }

// libtiff reports through handlers; a damaged file is an ordinary outcome here, not worth a log line.
int quiet(TIFF*, void*, const char*, const char*, va_list)
{
    return 1;
}

struct TiffCloser {
    void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};
using Tiff = std::unique_ptr<TIFF, TiffCloser>;

Tiff openTiff(MemoryFile& file)
{
    std::unique_ptr<TIFFOpenOptions, void (*)(TIFFOpenOptions*)> options(
        TIFFOpenOptionsAlloc(), TIFFOpenOptionsFree);
    if (!options)
        return nullptr;
    TIFFOpenOptionsSetErrorHandlerExtR(options.get(), quiet, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), quiet, nullptr);
    // Bounds any single allocation a hostile header could ask for.
    TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(), tmsize_t(maxDecodedFramePixels * 4));
    // "m": never map, the bytes are ours already.
    return Tiff(TIFFClientOpenExt("memory", "rm", &file, readProc, writeProc, seekProc, closeProc, sizeProc,
        mapProc, unmapProc, options.get()));
}

// The directory offsets of the main chain, read without parsing any directory: each states its
// entry count and, after the entries, the next offset. Stops at a damaged or repeated directory,
// and at `limit` pages.
std::vector<quint64> pageOffsets(QByteArrayView data, size_t limit)
{
    const auto* bytes = reinterpret_cast<const uchar*>(data.data());
    const quint64 size = quint64(data.size());
    if (size < 8)
        return {};
    const bool little = bytes[0] == 'I';
    const auto number = [&](quint64 at, int width) {
        quint64 value = 0;
        for (int i = 0; i < width; ++i)
            value |= quint64(bytes[at + quint64(little ? i : width - 1 - i)]) << (8 * i);
        return value;
    };
    const bool big = number(2, 2) == 43;
    const int offsetWidth = big ? 8 : 4;
    const int countWidth = big ? 8 : 2;
    const quint64 entryWidth = big ? 20 : 12;
    if (big && size < 16)
        return {};
    std::vector<quint64> pages;
    std::unordered_set<quint64> seen;
    for (quint64 offset = number(big ? 8 : 4, offsetWidth); offset != 0 && pages.size() < limit;) {
        if (offset > size - quint64(countWidth) || !seen.insert(offset).second)
            break;
        pages.push_back(offset);
        const quint64 entries = number(offset, countWidth);
        if (entries > (size - offset - quint64(countWidth)) / entryWidth)
            break;
        const quint64 next = offset + quint64(countWidth) + entries * entryWidth;
        if (next > size - quint64(offsetWidth))
            break;
        offset = number(next, offsetWidth);
    }
    return pages;
}

// Page `offset` at its own size; none when it does not decode or passes the frame limit.
std::optional<QImage> readPage(TIFF* tiff, quint64 offset)
{
    uint32_t width = 0;
    uint32_t height = 0;
    if (!TIFFSetSubDirectory(tiff, offset) || !TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width)
        || !TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height) || !withinFrameLimit(width, height))
        return std::nullopt;
    QImage pixels(int(width), int(height), pixelFormat);
    // The RGBA interface writes premultiplied pixels packed with red in the low byte: RGBA byte order
    // on the little-endian hosts we build for, rows without padding.
    if (pixels.isNull() || pixels.bytesPerLine() != qsizetype(width) * 4
        || !TIFFReadRGBAImageOriented(
            tiff, width, height, reinterpret_cast<uint32_t*>(pixels.bits()), ORIENTATION_TOPLEFT, 0))
        return std::nullopt;
    return pixels;
}

// A page of another size than the first sits at the top left of the canvas, nothing behind it.
std::optional<QImage> onCanvas(QImage page, QSize canvas)
{
    if (page.size() == canvas)
        return page;
    std::optional<QImage> placed = makeCanvas(canvas);
    if (!placed)
        return std::nullopt;
    const QSize common = page.size().boundedTo(canvas);
    for (int y = 0; y < common.height(); ++y)
        std::memcpy(placed->scanLine(y), page.constScanLine(y), size_t(common.width()) * 4);
    return placed;
}

} // namespace

TiffCodec::TiffCodec(const QByteArray& data, QSize size, std::vector<quint64> pages)
    : Codec(data)
    , m_size(size)
    , m_pages(std::move(pages))
{ }

std::shared_ptr<const TiffCodec> TiffCodec::create(const QByteArray& data)
{
    MemoryFile file{data.constData(), toff_t(data.size()), 0};
    const Tiff tiff = openTiff(file);
    if (!tiff)
        return nullptr;
    uint32_t width = 0;
    uint32_t height = 0;
    if (!TIFFGetField(tiff.get(), TIFFTAG_IMAGEWIDTH, &width)
        || !TIFFGetField(tiff.get(), TIFFTAG_IMAGELENGTH, &height) || width == 0 || height == 0
        || width > INT_MAX || height > INT_MAX)
        return nullptr;
    const QSize size{int(width), int(height)};
    std::vector<quint64> pages = pageOffsets(data, size_t(maxDecodableFrames(size) + 1));
    if (pages.empty())
        return nullptr;
    return std::make_shared<const TiffCodec>(data, size, std::move(pages));
}

FrameProperties TiffCodec::frameProperties(qint64) const
{
    FrameProperties properties;
    properties.pixelSize = m_size;
    return properties;
}

void TiffCodec::decode(qint64 last, const FrameSink& sink) const
{
    MemoryFile file{m_data.constData(), toff_t(m_data.size()), 0};
    const Tiff tiff = openTiff(file);
    last = std::min(last, frameCount() - 1);
    for (qint64 index = 0; index <= last; ++index) {
        std::optional<QImage> page = tiff ? readPage(tiff.get(), m_pages[size_t(index)]) : std::nullopt;
        if (!sink(index, page ? onCanvas(std::move(*page), m_size) : std::nullopt))
            return;
    }
}

} // namespace plenoria
