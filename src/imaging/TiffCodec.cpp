#include "TiffCodec.h"

#include "Bitmap.h"

#include <tiffio.h>

#include <cstring>
#include <memory>

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

} // namespace

TiffCodec::TiffCodec(const QByteArray& data, QSize size)
    : Codec(data)
    , m_size(size)
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
    return std::make_shared<const TiffCodec>(data, QSize(int(width), int(height)));
}

FrameProperties TiffCodec::frameProperties(qint64) const
{
    FrameProperties properties;
    properties.pixelSize = m_size;
    return properties;
}

void TiffCodec::decode(qint64, const FrameSink& sink) const
{
    MemoryFile file{m_data.constData(), toff_t(m_data.size()), 0};
    const Tiff tiff = openTiff(file);
    std::optional<QImage> pixels = tiff ? makeCanvas(m_size) : std::nullopt;
    // The RGBA interface writes premultiplied pixels packed with red in the low byte: RGBA byte order on
    // the little-endian hosts we build for, rows without padding.
    if (!pixels || pixels->bytesPerLine() != qsizetype(m_size.width()) * 4
        || !TIFFReadRGBAImageOriented(tiff.get(), uint32_t(m_size.width()), uint32_t(m_size.height()),
            reinterpret_cast<uint32_t*>(pixels->bits()), ORIENTATION_TOPLEFT, 0)) {
        sink(0, std::nullopt);
        return;
    }
    sink(0, std::move(pixels));
}

} // namespace plenoria
