#include "imaging/write/HeifWriter.h"

#include "imaging/write/WriterPixels.h"

#include "imaging/read/HeifLibrary.h"

#include <cstring>
#include <memory>
#include <new>

namespace plenoria {

namespace {

struct ContextDeleter {
    void operator()(heif_context* context) const { HeifLibrary::get()->context_free(context); }
};
struct EncoderDeleter {
    void operator()(heif_encoder* encoder) const { HeifLibrary::get()->encoder_release(encoder); }
};
struct ImageDeleter {
    void operator()(heif_image* image) const { HeifLibrary::get()->image_release(image); }
};
struct HandleDeleter {
    void operator()(heif_image_handle* handle) const { HeifLibrary::get()->image_handle_release(handle); }
};
struct OptionsDeleter {
    void operator()(heif_encoding_options* options) const
    {
        HeifLibrary::get()->encoding_options_free(options);
    }
};

bool failed(const heif_error& error)
{
    return error.code != heif_error_Ok;
}

heif_error appendToBuffer(heif_context*, const void* data, size_t size, void* userData)
{
    auto* out = static_cast<QByteArray*>(userData);
    try {
        out->append(static_cast<const char*>(data), qsizetype(size));
    } catch (const std::bad_alloc&) {
        return {heif_error_Memory_allocation_error, heif_suberror_Unspecified, "out of memory"};
    }
    return {heif_error_Ok, heif_suberror_Unspecified, "ok"};
}

// The image as libheif's interleaved 8-bit RGB or RGBA (straight alpha); none when it cannot be made.
std::unique_ptr<heif_image, ImageDeleter> heifImage(
    const HeifLibrary* heif, const QImage& prepared, bool withAlpha)
{
    heif_image* raw = nullptr;
    const int width = prepared.width();
    const int height = prepared.height();
    if (failed(heif->image_create(width, height, heif_colorspace_RGB,
            withAlpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, &raw)))
        return nullptr;
    std::unique_ptr<heif_image, ImageDeleter> image(raw);
    if (failed(heif->image_add_plane(raw, heif_channel_interleaved, width, height, 8)))
        return nullptr;
    int stride = 0;
    uint8_t* plane = heif->image_get_plane(raw, heif_channel_interleaved, &stride);
    if (!plane)
        return nullptr;
    for (int y = 0; y < height; ++y) {
        uint8_t* row = plane + qint64(stride) * y;
        const uchar* source = prepared.constScanLine(y);
        if (withAlpha) {
            WriterPixels::straightenRow(source, row, width);
        } else {
            for (int x = 0; x < width; ++x)
                std::memcpy(row + 3 * x, source + 4 * x, 3);
        }
    }
    return image;
}

} // namespace

std::optional<QByteArray> HeifWriter::encode(const QImage& image, Compression compression)
{
    const auto prepared = WriterPixels::prepared(image);
    if (!prepared)
        return std::nullopt;
    const bool withAlpha = !WriterPixels::isOpaque(*prepared);
    const HeifLibrary* heif = HeifLibrary::get();
    if (!heif)
        return std::nullopt;

    std::unique_ptr<heif_context, ContextDeleter> context(heif->context_alloc());
    if (!context)
        return std::nullopt;
    heif_encoder* rawEncoder = nullptr;
    const heif_compression_format format
        = compression == Compression::HEVC ? heif_compression_HEVC : heif_compression_AV1;
    if (failed(heif->context_get_encoder_for_format(context.get(), format, &rawEncoder)))
        return std::nullopt;
    std::unique_ptr<heif_encoder, EncoderDeleter> encoder(rawEncoder);
    if (failed(heif->encoder_set_lossy_quality(rawEncoder, quality)))
        return std::nullopt;
    heif->encoder_set_logging_level(rawEncoder, 0);

    const auto picture = heifImage(heif, *prepared, withAlpha);
    if (!picture)
        return std::nullopt;
    std::unique_ptr<heif_encoding_options, OptionsDeleter> options(heif->encoding_options_alloc());
    if (!options)
        return std::nullopt;
    options->save_alpha_channel = withAlpha ? 1 : 0;
    heif_image_handle* rawHandle = nullptr;
    if (failed(
            heif->context_encode_image(context.get(), picture.get(), rawEncoder, options.get(), &rawHandle)))
        return std::nullopt;
    std::unique_ptr<heif_image_handle, HandleDeleter> handle(rawHandle);

    QByteArray bytes;
    heif_writer writer{1, appendToBuffer};
    if (failed(heif->context_write(context.get(), &writer, &bytes)) || bytes.isEmpty())
        return std::nullopt;
    return bytes;
}

} // namespace plenoria
