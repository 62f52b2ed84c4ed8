#include "imaging/read/JpegCodec.h"

#include "imaging/model/Bitmap.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace plenoria {

namespace {

// A progressive file may split its data into thousands of tiny scans, each costing a pass over the
// whole image: far more than any real encoder writes, and a way to stall a decode for minutes.
constexpr int maxScans = 1000;

struct ErrorManager {
    jpeg_error_mgr manager;
    jpeg_progress_mgr progress;
    std::jmp_buf jump;
};

[[noreturn]] void onFatalError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void onMessage(j_common_ptr)
{ }

void onProgress(j_common_ptr info)
{
    if (info->is_decompressor && reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > maxScans)
        onFatalError(info);
}

// Where libjpeg writes the decoded rows; provided by the caller once the size is known.
struct Target {
    QImage image;
};

using Allocate = bool (*)(void* context, int width, int height, uchar** pixels, qsizetype* bytesPerLine);

// Only trivially destructible objects live in this frame: libjpeg leaves it by longjmp on errors.
bool runDecoder(const uchar* data, size_t size, Allocate allocate, void* context, bool* cmyk, bool* inverted)
{
    jpeg_decompress_struct info;
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = onFatalError;
    errors.manager.output_message = onMessage;
    errors.progress.progress_monitor = onProgress;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    info.progress = &errors.progress;
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    *cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    *inverted = *cmyk && info.saw_Adobe_marker;
    info.out_color_space = *cmyk ? JCS_CMYK : JCS_EXT_RGBA;
    uchar* pixels = nullptr;
    qsizetype bytesPerLine = 0;
    if (!withinFrameLimit(info.image_width, info.image_height)
        || !allocate(context, int(info.image_width), int(info.image_height), &pixels, &bytesPerLine)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels + qsizetype(info.output_scanline) * bytesPerLine;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

bool allocateTarget(void* context, int width, int height, uchar** pixels, qsizetype* bytesPerLine)
{
    auto* target = static_cast<Target*>(context);
    target->image = QImage(width, height, pixelFormat);
    if (target->image.isNull())
        return false;
    *pixels = target->image.bits();
    *bytesPerLine = target->image.bytesPerLine();
    return true;
}

// CMYK rows were written into the RGBA buffer four bytes a pixel; turn them into opaque RGB.
void convertCmyk(QImage& image, bool inverted)
{
    for (int y = 0; y < image.height(); ++y) {
        uchar* p = image.scanLine(y);
        for (int x = 0; x < image.width(); ++x, p += 4) {
            int c = p[0], m = p[1], ye = p[2], k = p[3];
            if (!inverted) {
                c = 255 - c;
                m = 255 - m;
                ye = 255 - ye;
                k = 255 - k;
            }
            p[0] = uchar((c * k + 127) / 255);
            p[1] = uchar((m * k + 127) / 255);
            p[2] = uchar((ye * k + 127) / 255);
            p[3] = 255;
        }
    }
}

} // namespace

JpegCodec::JpegCodec(const QByteArray& data, QSize size)
    : Codec(data)
    , m_size(size)
{ }

std::optional<QSize> JpegCodec::frameHeaderSize(QByteArrayView data)
{
    const auto* bytes = reinterpret_cast<const uchar*>(data.data());
    const qint64 size = data.size();
    qint64 offset = 2;
    while (offset + 4 <= size) {
        if (bytes[offset] != 0xFF)
            return std::nullopt;
        const uchar marker = bytes[offset + 1];
        if (marker == 0xFF) { // fill byte
            ++offset;
            continue;
        }
        if (marker == 0xD8 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            offset += 2;
            continue;
        }
        const qint64 length = (bytes[offset + 2] << 8) | bytes[offset + 3];
        const bool startOfFrame
            = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (startOfFrame) {
            if (offset + 9 > size || length < 7)
                return std::nullopt;
            const int height = (bytes[offset + 5] << 8) | bytes[offset + 6];
            const int width = (bytes[offset + 7] << 8) | bytes[offset + 8];
            if (width == 0 || height == 0)
                return std::nullopt;
            return QSize(width, height);
        }
        if (marker == 0xDA || marker == 0xD9 || length < 2)
            return std::nullopt;
        offset += 2 + length;
    }
    return std::nullopt;
}

std::shared_ptr<const JpegCodec> JpegCodec::create(const QByteArray& data)
{
    const std::optional<QSize> size = frameHeaderSize(data);
    if (!size)
        return nullptr;
    return std::make_shared<const JpegCodec>(data, *size);
}

FrameProperties JpegCodec::frameProperties(qint64) const
{
    FrameProperties properties;
    properties.pixelSize = m_size;
    return properties;
}

void JpegCodec::decode(qint64, const FrameSink& sink) const
{
    Target target;
    bool cmyk = false;
    bool inverted = false;
    if (!runDecoder(reinterpret_cast<const uchar*>(m_data.constData()), size_t(m_data.size()), allocateTarget,
            &target, &cmyk, &inverted)) {
        sink(0, std::nullopt);
        return;
    }
    if (target.image.size() != m_size) {
        sink(0, std::nullopt);
        return;
    }
    if (cmyk)
        convertCmyk(target.image, inverted);
    sink(0, std::move(target.image));
}

} // namespace plenoria
