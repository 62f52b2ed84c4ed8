#include "imaging/write/PngWriter.h"

#include "imaging/model/Bitmap.h"
#include "imaging/write/WriterPixels.h"

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
    const PngWriter::Rows* rows = nullptr;
    const png_color* palette = nullptr;
    const png_byte* alphas = nullptr;
    int alphaCount = 0;
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
    const PngWriter::Rows& rows = *job->rows;
    png_set_write_fn(png, job, appendBytes, flushNothing);
    png_set_IHDR(png, info, png_uint_32(rows.size.width()), png_uint_32(rows.size.height()), 8,
        int(rows.colorType), PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (rows.colorType == PngWriter::ColorType::palette) {
        png_set_PLTE(png, info, job->palette, int(rows.palette.size()));
        if (job->alphaCount > 0)
            png_set_tRNS(png, info, job->alphas, job->alphaCount, nullptr);
    }
    // Larger IDAT chunks than libpng's 8 KiB default cost nothing and keep the chunk overhead down;
    // emoji are mostly flat colour, where zlib's default strategy beats the filtered one in time and size.
    png_set_compression_buffer_size(png, 64 * 1024);
    png_set_compression_strategy(png, Z_DEFAULT_STRATEGY);
    png_write_info(png, info);
    for (int y = 0; y < rows.size.height(); ++y) {
        rows.fill(y, job->row);
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
    const qint64 width = prepared.width();
    Rows rows{prepared.size(), withAlpha ? ColorType::rgba : ColorType::rgb, {}, [&](int y, uchar* row) {
                  const uchar* source = prepared.constScanLine(y);
                  if (withAlpha) {
                      WriterPixels::straightenRow(source, row, width);
                      return;
                  }
                  for (qint64 x = 0; x < width; ++x) {
                      row[3 * x] = source[4 * x];
                      row[3 * x + 1] = source[4 * x + 1];
                      row[3 * x + 2] = source[4 * x + 2];
                  }
              }};
    return encodeRows(rows);
}

std::optional<QByteArray> PngWriter::encodeRows(const Rows& rows)
{
    if (rows.size.isEmpty() || !rows.fill
        || (rows.colorType == ColorType::palette && (rows.palette.empty() || rows.palette.size() > 256)))
        return std::nullopt;
    std::vector<uchar> row;
    std::vector<png_color> palette;
    std::vector<png_byte> alphas;
    QByteArray out;
    try {
        row.resize(size_t(4) * size_t(rows.size.width()));
        out.reserve(qsizetype(rows.size.width()) * rows.size.height());
        for (quint32 entry : rows.palette) {
            palette.push_back({png_byte(entry), png_byte(entry >> 8), png_byte(entry >> 16)});
            alphas.push_back(png_byte(entry >> 24));
        }
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    // tRNS stops at the last entry that is not opaque; entries beyond it are opaque by definition.
    int alphaCount = int(alphas.size());
    while (alphaCount > 0 && alphas[size_t(alphaCount) - 1] == 255)
        --alphaCount;
    PngJob job{&rows, palette.data(), alphas.data(), alphaCount, row.data(), &out};

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
