#include "imaging/read/WebPCodec.h"

#include "imaging/model/Bitmap.h"
#include "imaging/read/FrameCompositor.h"

#include <webp/decode.h>

#include <cstring>

namespace plenoria {

namespace {

quint32 littleEndian(const uchar* p, int bytes)
{
    quint32 value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | p[i];
    return value;
}

// One RIFF chunk: its tag, where its payload lies, and whether all of it is present.
struct Chunk {
    qint64 offset = 0; // of the chunk header
    qint64 payload = 0;
    qint64 size = 0; // payload bytes as stated
    bool complete = false;
    const uchar* tag = nullptr;

    bool is(const char* name) const { return std::memcmp(tag, name, 4) == 0; }
    qint64 end() const { return payload + size; }
    qint64 next() const { return end() + (size & 1); } // payloads are padded to even sizes
};

// The chunk at `offset`, none when its header does not fit before `limit`.
std::optional<Chunk> chunkAt(const uchar* bytes, qint64 offset, qint64 limit)
{
    if (offset < 0 || offset + 8 > limit)
        return std::nullopt;
    Chunk chunk;
    chunk.offset = offset;
    chunk.payload = offset + 8;
    chunk.size = littleEndian(bytes + offset + 4, 4);
    chunk.complete = chunk.end() <= limit;
    chunk.tag = bytes + offset;
    return chunk;
}

// The frame of one image chunk (and the ALPH chunk before it) drawn at `origin` with `size`.
WebPCodec::Frame imageFrame(
    QSize canvas, QPoint origin, QSize size, const std::optional<Chunk>& alpha, const Chunk& image)
{
    WebPCodec::Frame frame;
    frame.rect = QRect(origin, size);
    frame.lossless = image.is("VP8L");
    // A lossy image takes its transparency from the ALPH chunk before it; libwebp decodes both
    // from one range.
    frame.offset = alpha && !frame.lossless ? alpha->offset : image.offset;
    frame.length = image.end() - frame.offset;
    frame.valid = image.complete && !size.isEmpty() && qint64(origin.x()) + size.width() <= canvas.width()
        && qint64(origin.y()) + size.height() <= canvas.height();
    return frame;
}

// An ANMF chunk: the frame's placement, timing and image chunks; an invalid frame when damaged.
WebPCodec::Frame animationFrame(const uchar* bytes, QSize canvas, const Chunk& anmf, qint64 limit)
{
    if (anmf.size < 16 || anmf.payload + 16 > limit)
        return {};
    const uchar* header = bytes + anmf.payload;
    const QPoint origin(int(littleEndian(header, 3)) * 2, int(littleEndian(header + 3, 3)) * 2);
    const QSize size(int(littleEndian(header + 6, 3)) + 1, int(littleEndian(header + 9, 3)) + 1);
    const qint64 end = std::min(anmf.end(), limit);
    std::optional<Chunk> alpha;
    WebPCodec::Frame frame;
    for (std::optional<Chunk> chunk = chunkAt(bytes, anmf.payload + 16, end); chunk;
         chunk = chunkAt(bytes, chunk->next(), end)) {
        if (chunk->is("ALPH") && !alpha) {
            alpha = chunk;
        } else if (chunk->is("VP8 ") || chunk->is("VP8L")) {
            frame = imageFrame(canvas, origin, size, alpha, *chunk);
            break;
        }
    }
    frame.rect = QRect(origin, size);
    frame.durationMs = qint32(littleEndian(header + 12, 3));
    frame.disposeToBackground = (header[15] & 0x01) != 0;
    frame.blend = (header[15] & 0x02) == 0;
    return frame;
}

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

// Our own walk over the chunks, in one pass: libwebp's frame iterator looks every frame up from the
// start of its list, which makes a file of many tiny frames cost time quadratic in their number.
bool WebPCodec::parse()
{
    const auto* bytes = reinterpret_cast<const uchar*>(m_data.constData());
    if (m_data.size() < 12)
        return false;
    // A file cut short keeps its complete frames; bytes after the stated RIFF size are not ours.
    const qint64 limit = std::min<qint64>(m_data.size(), 8 + qint64(littleEndian(bytes + 4, 4)));
    const std::optional<Chunk> first = chunkAt(bytes, 12, limit);
    if (!first)
        return false;
    if (first->is("VP8 ") || first->is("VP8L")) {
        WebPBitstreamFeatures features;
        if (WebPGetFeatures(bytes + first->offset, size_t(limit - first->offset), &features) != VP8_STATUS_OK)
            return false;
        m_canvas = QSize(features.width, features.height);
        m_frames.push_back(imageFrame(m_canvas, QPoint(0, 0), m_canvas, std::nullopt, *first));
        return !m_canvas.isEmpty();
    }
    if (!first->is("VP8X") || first->size < 10 || !first->complete)
        return false;
    const uchar* extended = bytes + first->payload;
    m_animated = (extended[0] & 0x02) != 0;
    m_canvas = QSize(int(littleEndian(extended + 4, 3)) + 1, int(littleEndian(extended + 7, 3)) + 1);
    const size_t frameLimit = size_t(maxDecodableFrames(m_canvas) + 1);

    std::optional<Chunk> alpha; // an ALPH chunk waiting for the still image it belongs to
    for (std::optional<Chunk> chunk = chunkAt(bytes, first->next(), limit);
         chunk && m_frames.size() < frameLimit; chunk = chunkAt(bytes, chunk->next(), limit)) {
        if (chunk->is("ANIM") && chunk->complete && chunk->size >= 6) {
            m_loopCount = littleEndian(bytes + chunk->payload + 4, 2);
        } else if (chunk->is("ANMF") && m_animated) {
            m_frames.push_back(animationFrame(bytes, m_canvas, *chunk, limit));
        } else if (chunk->is("ALPH") && !m_animated) {
            alpha = chunk;
        } else if ((chunk->is("VP8 ") || chunk->is("VP8L")) && !m_animated && m_frames.empty()) {
            m_frames.push_back(imageFrame(m_canvas, QPoint(0, 0), m_canvas, alpha, *chunk));
        }
        if (!chunk->complete)
            break;
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
