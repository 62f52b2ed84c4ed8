#include "imaging/write/JpegWriter.h"

#include "imaging/write/WriterPixels.h"

#include <cstdio> // jpeglib.h needs FILE declared first
#include <jpeglib.h>

#include <csetjmp>
#include <cstdlib>
#include <new>

namespace plenoria {

namespace {

// libjpeg's error manager extended with the jump target; it and the output buffer live outside the
// setjmp frame so that nothing is lost or destroyed twice when libjpeg bails out.
struct JpegJob {
    jpeg_error_mgr errors{};
    std::jmp_buf jump{};
    const QImage* image = nullptr;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
};

[[noreturn]] void failJpeg(j_common_ptr info)
{
    auto* job = reinterpret_cast<JpegJob*>(info->err);
    std::longjmp(job->jump, 1);
}

void ignoreMessage(j_common_ptr)
{ }

bool compressGuarded(jpeg_compress_struct* info, JpegJob* job)
{
    if (setjmp(job->jump))
        return false;
    jpeg_create_compress(info);
    jpeg_mem_dest(info, &job->buffer, &job->size);
    const QImage& image = *job->image;
    info->image_width = JDIMENSION(image.width());
    info->image_height = JDIMENSION(image.height());
    // Premultiplied colours with the alpha byte skipped are exactly the image over black.
    info->input_components = 4;
    info->in_color_space = JCS_EXT_RGBX;
    jpeg_set_defaults(info);
    jpeg_set_quality(info, JpegWriter::quality, TRUE);
    jpeg_start_compress(info, TRUE);
    while (info->next_scanline < info->image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(image.constScanLine(int(info->next_scanline)));
        jpeg_write_scanlines(info, &row, 1);
    }
    jpeg_finish_compress(info);
    return true;
}

} // namespace

std::optional<QByteArray> JpegWriter::encode(const QImage& image)
{
    // The bitmap limits keep both sides far below JPEG's own limit of 65500.
    const auto prepared = WriterPixels::prepared(image);
    if (!prepared)
        return std::nullopt;
    JpegJob job;
    job.image = &*prepared;
    jpeg_compress_struct info{};
    info.err = jpeg_std_error(&job.errors);
    job.errors.error_exit = failJpeg;
    job.errors.output_message = ignoreMessage;

    const bool written = compressGuarded(&info, &job);
    jpeg_destroy_compress(&info);
    std::optional<QByteArray> result;
    try {
        if (written && job.buffer && job.size > 0)
            result = QByteArray(reinterpret_cast<const char*>(job.buffer), qsizetype(job.size));
    } catch (const std::bad_alloc&) {
        result.reset();
    }
    std::free(job.buffer);
    return result;
}

} // namespace plenoria
