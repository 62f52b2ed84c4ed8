#include "write/WebPAnimationEncoder.h"

#include <new>

namespace plenoria {

WebPAnimationEncoder::WebPAnimationEncoder(QSize canvas, int loopCount)
    : m_picture(canvas)
{
    WebPAnimEncoderOptions options;
    if (!m_picture.isValid() || !WebPAnimEncoderOptionsInit(&options))
        return;
    options.anim_params.loop_count = loopCount;
    m_encoder.reset(WebPAnimEncoderNew(canvas.width(), canvas.height(), &options));
}

bool WebPAnimationEncoder::add(const QImage& frame, int timestamp, const WebPConfig& config)
{
    // libwebp copies the picture before it returns, so the next frame may overwrite it.
    return isValid() && m_picture.load(frame)
        && WebPAnimEncoderAdd(m_encoder.get(), m_picture.picture(), timestamp, &config);
}

std::optional<QByteArray> WebPAnimationEncoder::finish(int end)
{
    // A last add without a picture gives the final frame its own duration.
    if (!isValid() || !WebPAnimEncoderAdd(m_encoder.get(), nullptr, end, nullptr))
        return std::nullopt;
    WebPData assembled;
    WebPDataInit(&assembled);
    const bool assembledOk = WebPAnimEncoderAssemble(m_encoder.get(), &assembled);
    // The encoded frames are in the file now: let them go before the file is copied.
    m_encoder.reset();
    if (!assembledOk) {
        WebPDataClear(&assembled);
        return std::nullopt;
    }
    std::optional<QByteArray> result;
    try {
        if (assembled.size > 0 && assembled.bytes)
            result = QByteArray(reinterpret_cast<const char*>(assembled.bytes), qsizetype(assembled.size));
    } catch (const std::bad_alloc&) {
        result.reset();
    }
    WebPDataClear(&assembled);
    return result;
}

} // namespace plenoria
