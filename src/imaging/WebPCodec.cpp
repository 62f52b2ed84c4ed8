#include "WebPCodec.h"

#include "Bitmap.h"
#include "FrameCompositor.h"

#include <webp/decode.h>
#include <webp/demux.h>

#include <memory>

namespace plenoria {

namespace {

struct DemuxDeleter {
    void operator()(WebPDemuxer* demux) const { WebPDemuxDelete(demux); }
};

} // namespace

WebPCodec::WebPCodec(const QByteArray& data)
    : Codec(data)
{ }

std::shared_ptr<const WebPCodec> WebPCodec::create(const QByteArray& data)
{
    auto codec = std::make_shared<WebPCodec>(data);
    if (!codec->parse())
        return nullptr;
    return codec;
}

bool WebPCodec::parse()
{
    const auto* bytes = reinterpret_cast<const uint8_t*>(m_data.constData());
    const WebPData webpData{bytes, size_t(m_data.size())};
    WebPDemuxState state = WEBP_DEMUX_PARSE_ERROR;
    // The partial demuxer keeps the complete frames of a file that was cut short.
    const std::unique_ptr<WebPDemuxer, DemuxDeleter> demux(WebPDemuxPartial(&webpData, &state));
    if (!demux || state == WEBP_DEMUX_PARSE_ERROR || state == WEBP_DEMUX_PARSING_HEADER)
        return false;
    m_canvas = QSize(int(std::min<uint32_t>(WebPDemuxGetI(demux.get(), WEBP_FF_CANVAS_WIDTH), INT_MAX)),
        int(std::min<uint32_t>(WebPDemuxGetI(demux.get(), WEBP_FF_CANVAS_HEIGHT), INT_MAX)));
    m_animated = (WebPDemuxGetI(demux.get(), WEBP_FF_FORMAT_FLAGS) & ANIMATION_FLAG) != 0;
    m_loopCount = WebPDemuxGetI(demux.get(), WEBP_FF_LOOP_COUNT);

    WebPIterator iterator;
    if (WebPDemuxGetFrame(demux.get(), 1, &iterator)) {
        do {
            Frame frame;
            frame.rect = QRect(iterator.x_offset, iterator.y_offset, iterator.width, iterator.height);
            frame.durationMs = iterator.duration;
            frame.disposeToBackground = iterator.dispose_method == WEBP_MUX_DISPOSE_BACKGROUND;
            frame.blend = iterator.blend_method == WEBP_MUX_BLEND;
            frame.offset = qint64(iterator.fragment.bytes - bytes);
            frame.length = qint64(iterator.fragment.size);
            frame.valid = iterator.complete && iterator.width > 0 && iterator.height > 0
                && qint64(iterator.x_offset) + iterator.width <= m_canvas.width()
                && qint64(iterator.y_offset) + iterator.height <= m_canvas.height();
            WebPBitstreamFeatures features;
            frame.lossless
                = WebPGetFeatures(iterator.fragment.bytes, iterator.fragment.size, &features) == VP8_STATUS_OK
                && features.format == 2;
            m_frames.push_back(frame);
        } while (WebPDemuxNextFrame(&iterator));
        WebPDemuxReleaseIterator(&iterator);
    }
    return !m_canvas.isEmpty();
}

FrameProperties WebPCodec::frameProperties(qint64 index) const
{
    FrameProperties properties;
    properties.pixelSize = m_canvas;
    if (m_animated) {
        const double seconds = m_frames[size_t(index)].durationMs / 1000.0;
        properties.webp = DelayProperties{seconds, seconds};
    }
    return properties;
}

bool WebPCodec::isLossless() const
{
    if (m_frames.empty())
        return false;
    return std::all_of(m_frames.begin(), m_frames.end(), [](const Frame& frame) { return frame.lossless; });
}

std::optional<QImage> WebPCodec::framePixels(const Frame& frame) const
{
    if (!frame.valid || !withinFrameLimit(frame.rect.width(), frame.rect.height()))
        return std::nullopt;
    QImage pixels(frame.rect.size(), QImage::Format_RGBA8888);
    if (pixels.isNull())
        return std::nullopt;
    WebPDecoderConfig config;
    if (!WebPInitDecoderConfig(&config))
        return std::nullopt;
    const auto* bytes = reinterpret_cast<const uint8_t*>(m_data.constData()) + frame.offset;
    if (WebPGetFeatures(bytes, size_t(frame.length), &config.input) != VP8_STATUS_OK
        || config.input.width != frame.rect.width() || config.input.height != frame.rect.height())
        return std::nullopt;
    // Straight colours, premultiplied by Qt afterwards: libwebp's own premultiplication rounds
    // differently, and every other format here goes through Qt's, so a lossless round trip is exact.
    config.output.colorspace = MODE_RGBA;
    config.output.is_external_memory = 1;
    config.output.u.RGBA.rgba = pixels.bits();
    config.output.u.RGBA.stride = int(pixels.bytesPerLine());
    config.output.u.RGBA.size = size_t(pixels.sizeInBytes());
    const VP8StatusCode status = WebPDecode(bytes, size_t(frame.length), &config);
    WebPFreeDecBuffer(&config.output);
    if (status != VP8_STATUS_OK)
        return std::nullopt;
    pixels.convertTo(pixelFormat);
    return pixels;
}

void WebPCodec::decode(qint64 last, const FrameSink& sink) const
{
    last = std::min(last, frameCount() - 1);
    std::optional<FrameCompositor> compositor = FrameCompositor::create(m_canvas);
    for (qint64 index = 0; index <= last; ++index) {
        const Frame& frame = m_frames[size_t(index)];
        std::optional<QImage> pixels = compositor ? framePixels(frame) : std::nullopt;
        std::optional<QImage> shown;
        if (pixels) {
            shown = compositor->draw(*pixels, frame.rect.topLeft(),
                frame.blend && m_animated ? FrameCompositor::Blend::over : FrameCompositor::Blend::source,
                frame.disposeToBackground ? FrameCompositor::Disposal::background
                                          : FrameCompositor::Disposal::none);
        } else if (compositor) {
            compositor->skip();
        }
        if (!sink(index, std::move(shown)))
            return;
    }
}

} // namespace plenoria
