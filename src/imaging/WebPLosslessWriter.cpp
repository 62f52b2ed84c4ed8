#include "WebPLosslessWriter.h"

#include "WriterPixels.h"

#include <webp/encode.h>

#include <new>

namespace plenoria {

std::optional<QByteArray> WebPLosslessWriter::encode(const QImage& image)
{
    const auto prepared = WriterPixels::prepared(image);
    if (!prepared || prepared->width() > WEBP_MAX_DIMENSION || prepared->height() > WEBP_MAX_DIMENSION)
        return std::nullopt;
    const auto straight = WriterPixels::straightRGBA(*prepared);
    if (!straight)
        return std::nullopt;
    uint8_t* output = nullptr;
    const size_t size = WebPEncodeLosslessRGBA(reinterpret_cast<const uint8_t*>(straight->constData()),
        prepared->width(), prepared->height(), 4 * prepared->width(), &output);
    std::optional<QByteArray> result;
    try {
        if (size > 0 && output)
            result = QByteArray(reinterpret_cast<const char*>(output), qsizetype(size));
    } catch (const std::bad_alloc&) {
        result.reset();
    }
    WebPFree(output);
    return result;
}

} // namespace plenoria
