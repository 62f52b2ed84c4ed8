#include "imaging/read/HeifCodec.h"

#include "imaging/model/Bitmap.h"

#include "imaging/read/HeifLibrary.h"

#include <cstring>
#include <memory>

namespace plenoria {

namespace {

struct ContextDeleter {
    void operator()(heif_context* context) const { HeifLibrary::get()->context_free(context); }
};
struct HandleDeleter {
    void operator()(heif_image_handle* handle) const { HeifLibrary::get()->image_handle_release(handle); }
};
struct ImageDeleter {
    void operator()(heif_image* image) const { HeifLibrary::get()->image_release(image); }
};

using Context = std::unique_ptr<heif_context, ContextDeleter>;
using Handle = std::unique_ptr<heif_image_handle, HandleDeleter>;

// The context reads the caller's bytes in place; it must not outlive them.
std::pair<Context, Handle> openPrimary(const HeifLibrary* heif, const QByteArray& data)
{
    if (!heif)
        return {};
    Context context(heif->context_alloc());
    if (!context)
        return {};
    if (heif->context_read_from_memory_without_copy(
                context.get(), data.constData(), size_t(data.size()), nullptr)
            .code
        != heif_error_Ok)
        return {};
    heif_image_handle* handle = nullptr;
    if (heif->context_get_primary_image_handle(context.get(), &handle).code != heif_error_Ok || !handle)
        return {};
    return {std::move(context), Handle(handle)};
}

} // namespace

HeifCodec::HeifCodec(const QByteArray& data, ImageType type, QSize size)
    : Codec(data)
    , m_type(type)
    , m_size(size)
{ }

std::shared_ptr<const HeifCodec> HeifCodec::create(const QByteArray& data, ImageType type)
{
    const HeifLibrary* heif = HeifLibrary::get();
    const auto [context, handle] = openPrimary(heif, data);
    if (!handle)
        return nullptr;
    const QSize size(heif->image_handle_get_width(handle.get()), heif->image_handle_get_height(handle.get()));
    if (size.isEmpty())
        return nullptr;
    return std::make_shared<const HeifCodec>(data, type, size);
}

FrameProperties HeifCodec::frameProperties(qint64) const
{
    FrameProperties properties;
    properties.pixelSize = m_size;
    return properties;
}

void HeifCodec::decode(qint64, const FrameSink& sink) const
{
    const HeifLibrary* heif = HeifLibrary::get();
    const auto [context, handle] = openPrimary(heif, m_data);
    if (!handle || !withinFrameLimit(m_size.width(), m_size.height())) {
        sink(0, std::nullopt);
        return;
    }
    heif_image* decoded = nullptr;
    if (heif->decode_image(handle.get(), &decoded, heif_colorspace_RGB, heif_chroma_interleaved_RGBA, nullptr)
                .code
            != heif_error_Ok
        || !decoded) {
        sink(0, std::nullopt);
        return;
    }
    const std::unique_ptr<heif_image, ImageDeleter> image(decoded);
    int stride = 0;
    const uint8_t* plane = heif->image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
    const int width = heif->image_get_width(image.get(), heif_channel_interleaved);
    const int height = heif->image_get_height(image.get(), heif_channel_interleaved);
    // A coded image of another size than the container states is damaged: frames are canvas-sized.
    if (!plane || QSize(width, height) != m_size || !withinFrameLimit(width, height) || stride < width * 4) {
        sink(0, std::nullopt);
        return;
    }
    QImage pixels(width, height, QImage::Format_RGBA8888);
    if (pixels.isNull()) {
        sink(0, std::nullopt);
        return;
    }
    for (int y = 0; y < height; ++y)
        std::memcpy(pixels.scanLine(y), plane + qsizetype(y) * stride, size_t(width) * 4);
    if (heif->image_handle_is_premultiplied_alpha(handle.get()))
        pixels.reinterpretAsFormat(pixelFormat);
    else
        pixels.convertTo(pixelFormat);
    sink(0, std::move(pixels));
}

} // namespace plenoria
