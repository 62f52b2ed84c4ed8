#include "PngWriter.h"

#include "Bitmap.h"
#include "WriterPixels.h"

#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <new>
#include <vector>

namespace plenoria {

namespace {

// Everything libpng's callbacks and the guarded section touch. It lives outside the setjmp frame,
// so a longjmp out of libpng skips no destructor and leaves nothing half-owned.
struct PngJob {
    const QImage* image = nullptr;
    bool withAlpha = true;
    uchar* row = nullptr;
    QByteArray* out = nullptr;
};

[[noreturn]] void failPng(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void ignoreWarning(png_structp, png_const_charp)
{ }

void appendBytes(png_structp png, png_bytep data, size_t length)
{
    auto* job = static_cast<PngJob*>(png_get_io_ptr(png));
    bool appended = true;
    try {
        job->out->append(reinterpret_cast<const char*>(data), qsizetype(length));
    } catch (const std::bad_alloc&) {
        appended = false;
    }
    if (!appended)
        png_error(png, "out of memory");
}

void flushNothing(png_structp)
{ }

// Only trivially destructible state lives in this frame, so libpng's longjmp back to it is safe.
bool writeGuarded(png_structp png, png_infop info, PngJob* job)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    const QImage& image = *job->image;
    png_set_write_fn(png, job, appendBytes, flushNothing);
    png_set_IHDR(png, info, png_uint_32(image.width()), png_uint_32(image.height()), 8,
        job->withAlpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
        PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // Larger IDAT chunks than libpng's 8 KiB default cost nothing and keep the chunk overhead down;
    // emoji are mostly flat colour, where zlib's default strategy beats the filtered one in time and size.
    png_set_compression_buffer_size(png, 64 * 1024);
    png_set_compression_strategy(png, Z_DEFAULT_STRATEGY);
    png_write_info(png, info);
    const qint64 width = image.width();
    for (int y = 0; y < image.height(); ++y) {
        const uchar* source = image.constScanLine(y);
        if (job->withAlpha) {
            WriterPixels::straightenRow(source, job->row, width);
        } else {
            for (qint64 x = 0; x < width; ++x) {
                job->row[3 * x] = source[4 * x];
                job->row[3 * x + 1] = source[4 * x + 1];
                job->row[3 * x + 2] = source[4 * x + 2];
            }
        }
        png_write_row(png, job->row);
    }
    png_write_end(png, info);
    return true;
}

} // namespace

std::optional<QByteArray> PngWriter::encode(const QImage& image)
{
    const auto prepared = WriterPixels::prepared(image);
    if (!prepared)
        return std::nullopt;
    return encodePrepared(*prepared, !WriterPixels::isOpaque(*prepared));
}

std::optional<QByteArray> PngWriter::encodePrepared(const QImage& prepared, bool withAlpha)
{
    if (prepared.isNull() || prepared.format() != pixelFormat)
        return std::nullopt;
    std::vector<uchar> row;
    QByteArray out;
    try {
        row.resize(size_t(4) * size_t(prepared.width()));
        out.reserve(qsizetype(prepared.width()) * prepared.height());
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    PngJob job{&prepared, withAlpha, row.data(), &out};

    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, failPng, ignoreWarning);
    if (!png)
        return std::nullopt;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return std::nullopt;
    }
    const bool written = writeGuarded(png, info, &job);
    png_destroy_write_struct(&png, &info);
    if (!written)
        return std::nullopt;
    return out;
}

} // namespace plenoria
