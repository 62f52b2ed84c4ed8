#include "imaging/write/TiffWriter.h"

#include "imaging/write/WriterPixels.h"

#include <tiffio.h>

#include <cstring>
#include <new>
#include <vector>

namespace plenoria {

namespace {

// A growable in-memory file for libtiff, which seeks back to patch offsets as it writes.
struct MemoryFile {
    QByteArray bytes;
    qint64 position = 0;
};

tmsize_t readNothing(thandle_t, void*, tmsize_t)
{
    return 0;
}

tmsize_t writeBytes(thandle_t handle, void* data, tmsize_t size)
{
    auto* file = static_cast<MemoryFile*>(handle);
    const qint64 end = file->position + size;
    const qint64 oldSize = file->bytes.size();
    try {
        if (end > oldSize)
            file->bytes.resize(end);
    } catch (const std::bad_alloc&) {
        return -1;
    }
    // A write after a seek past the end leaves a gap, which must not carry stale memory.
    if (file->position > oldSize)
        std::memset(file->bytes.data() + oldSize, 0, size_t(file->position - oldSize));
    std::memcpy(file->bytes.data() + file->position, data, size_t(size));
    file->position = end;
    return size;
}

toff_t seekTo(thandle_t handle, toff_t offset, int whence)
{
    auto* file = static_cast<MemoryFile*>(handle);
    qint64 base = 0;
    if (whence == SEEK_CUR)
        base = file->position;
    else if (whence == SEEK_END)
        base = file->bytes.size();
    const qint64 target = base + qint64(offset);
    if (target < 0)
        return toff_t(-1);
    file->position = target;
    return toff_t(target);
}

int closeNothing(thandle_t)
{
    return 0;
}

toff_t sizeOf(thandle_t handle)
{
    return toff_t(static_cast<MemoryFile*>(handle)->bytes.size());
}

int mapNothing(thandle_t, void**, toff_t*)
{
    return 0;
}

void unmapNothing(thandle_t, void*, toff_t)
{ }

// Returning 1 keeps libtiff from handing the message to its process-wide handler (stderr).
int swallowMessage(TIFF*, void*, const char*, const char*, va_list)
{
    return 1;
}

bool writeFields(TIFF* tiff, const QImage& image, bool withAlpha)
{
    const uint16_t samples = withAlpha ? 4 : 3;
    bool ok = TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, uint32_t(image.width()))
        && TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, uint32_t(image.height()))
        && TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, uint16_t(8))
        && TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, samples)
        && TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, uint16_t(PHOTOMETRIC_RGB))
        && TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, uint16_t(PLANARCONFIG_CONTIG))
        && TIFFSetField(tiff, TIFFTAG_ORIENTATION, uint16_t(ORIENTATION_TOPLEFT))
        && TIFFSetField(tiff, TIFFTAG_COMPRESSION, uint16_t(COMPRESSION_ADOBE_DEFLATE))
        && TIFFSetField(tiff, TIFFTAG_PREDICTOR, uint16_t(PREDICTOR_HORIZONTAL))
        && TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tiff, 0));
    if (ok && withAlpha) {
        const uint16_t extra[] = {EXTRASAMPLE_ASSOCALPHA};
        ok = TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, uint16_t(1), extra);
    }
    return ok;
}

bool writeRows(TIFF* tiff, const QImage& image, bool withAlpha)
{
    const qint64 width = image.width();
    std::vector<uchar> row;
    try {
        row.resize(size_t(4 * width));
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (int y = 0; y < image.height(); ++y) {
        // Associated alpha is exactly our premultiplied convention; without alpha the colours are
        // the image over black, as for every type that drops transparency.
        const uchar* source = image.constScanLine(y);
        if (withAlpha) {
            std::memcpy(row.data(), source, size_t(4 * width));
        } else {
            for (qint64 x = 0; x < width; ++x)
                std::memcpy(row.data() + 3 * x, source + 4 * x, 3);
        }
        if (TIFFWriteScanline(tiff, row.data(), uint32_t(y), 0) < 0)
            return false;
    }
    return true;
}

} // namespace

std::optional<QByteArray> TiffWriter::encode(const QImage& image)
{
    const auto prepared = WriterPixels::prepared(image);
    if (!prepared)
        return std::nullopt;
    const bool withAlpha = !WriterPixels::isOpaque(*prepared);

    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (!options)
        return std::nullopt;
    TIFFOpenOptionsSetErrorHandlerExtR(options, swallowMessage, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options, swallowMessage, nullptr);
    MemoryFile file;
    TIFF* tiff = TIFFClientOpenExt("memory", "w", &file, readNothing, writeBytes, seekTo, closeNothing,
        sizeOf, mapNothing, unmapNothing, options);
    TIFFOpenOptionsFree(options);
    if (!tiff)
        return std::nullopt;
    bool ok = writeFields(tiff, *prepared, withAlpha) && writeRows(tiff, *prepared, withAlpha);
    ok = TIFFWriteDirectory(tiff) && ok;
    TIFFClose(tiff);
    if (!ok)
        return std::nullopt;
    return file.bytes;
}

} // namespace plenoria
