#include "imaging/read/PngCodec.h"

#include "imaging/model/Bitmap.h"
#include "imaging/read/FrameCompositor.h"
#include "imaging/read/PngChunks.h"

#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <span>

namespace plenoria {

namespace {

constexpr char signature[] = "\x89PNG\r\n\x1a\n";

// Each frame's PNG repeats the chunks before the image data; these caps keep that repetition from
// growing with the file. Over either, the colour profile is left out, which libpng only consults
// to recognise sRGB.
constexpr qint64 maxCarriedBytesPerFrame = 64 * 1024;
constexpr qint64 maxProfileBytesOverFrames = 64LL * 1024 * 1024;

quint32 bigEndian32(const uchar* p)
{
    return (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | p[3];
}

// libpng's simplified reader: straight RGBA out, converted to our premultiplied convention.
std::optional<QImage> decodePng(QByteArrayView bytes)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), size_t(bytes.size())))
        return std::nullopt;
    if (!withinFrameLimit(image.width, image.height)) {
        png_image_free(&image);
        return std::nullopt;
    }
    image.format = PNG_FORMAT_RGBA;
    QImage pixels(int(image.width), int(image.height), QImage::Format_RGBA8888);
    if (pixels.isNull()) {
        png_image_free(&image);
        return std::nullopt;
    }
    if (!png_image_finish_read(&image, nullptr, pixels.bits(), png_int_32(pixels.bytesPerLine()), nullptr)) {
        png_image_free(&image);
        return std::nullopt;
    }
    pixels.convertTo(pixelFormat);
    return pixels;
}

// The size an iCCP chunk's profile states in its first four bytes, read by inflating just those;
// none when the chunk is damaged.
std::optional<quint32> statedProfileLength(QByteArrayView payload)
{
    const qsizetype name = payload.first(std::min<qsizetype>(payload.size(), 80)).indexOf('\0');
    if (name < 1 || payload.size() < name + 2)
        return std::nullopt;
    const QByteArrayView stream = payload.sliced(name + 2);
    z_stream inflater{};
    if (inflateInit(&inflater) != Z_OK)
        return std::nullopt;
    uchar head[4];
    inflater.next_in = const_cast<Bytef*>(reinterpret_cast<const Bytef*>(stream.data()));
    inflater.avail_in = uInt(stream.size());
    inflater.next_out = head;
    inflater.avail_out = sizeof head;
    inflate(&inflater, Z_SYNC_FLUSH);
    const bool complete = inflater.avail_out == 0;
    inflateEnd(&inflater);
    return complete ? std::optional<quint32>(bigEndian32(head)) : std::nullopt;
}

// Tells whether a whole chunk of the file is of a type.
auto isChunk(const QByteArray& data, const char* type)
{
    return [&data, type](const PngCodec::Range& chunk) {
        return std::memcmp(data.constData() + chunk.offset + 4, type, 4) == 0;
    };
}

FrameCompositor::Disposal disposalOf(int op)
{
    switch (op) {
    case 1:
        return FrameCompositor::Disposal::background;
    case 2:
        return FrameCompositor::Disposal::previous;
    default:
        return FrameCompositor::Disposal::none;
    }
}

} // namespace

PngCodec::PngCodec(const QByteArray& data)
    : Codec(data)
{ }

std::shared_ptr<const PngCodec> PngCodec::create(const QByteArray& data)
{
    auto codec = std::make_shared<PngCodec>(data);
    if (!codec->parse())
        return nullptr;
    return codec;
}

bool PngCodec::parse()
{
    const auto* bytes = reinterpret_cast<const uchar*>(m_data.constData());
    const qint64 size = m_data.size();
    if (size < 33 || std::memcmp(bytes, signature, 8) != 0 || bigEndian32(bytes + 8) != 13
        || std::memcmp(bytes + 12, "IHDR", 4) != 0)
        return false;
    m_header = {16, 13};
    const quint32 width = bigEndian32(bytes + 16);
    const quint32 height = bigEndian32(bytes + 20);
    if (width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF)
        return false;
    m_size = QSize(int(width), int(height));
    const size_t frameLimit = size_t(maxDecodableFrames(m_size) + 1);

    bool animated = false;
    bool seenImageData = false;
    Frame* current = nullptr;
    bool currentTakesImageData = false;
    const auto addPiece = [&](qint64 offset, qint64 length) {
        m_pieces.push_back({offset, length});
        ++current->pieceCount;
    };
    for (qint64 offset = 33; offset + 12 <= size;) {
        const qint64 length = bigEndian32(bytes + offset);
        if (length > 0x7FFFFFFF || offset + 12 + length > size)
            break; // truncated: keep what was read before
        const char* type = reinterpret_cast<const char*>(bytes + offset + 4);
        const uchar* payload = bytes + offset + 8;
        const qint64 next = offset + 12 + length;
        if (std::memcmp(type, "IEND", 4) == 0)
            break;
        if (std::memcmp(type, "IDAT", 4) == 0) {
            // Without an animation control before the image data this is a still PNG: nothing
            // further is needed, so a still costs only its header.
            if (!animated)
                break;
            if (!seenImageData)
                currentTakesImageData = current != nullptr;
            seenImageData = true;
            if (currentTakesImageData)
                addPiece(offset + 8, length);
        } else if (std::memcmp(type, "acTL", 4) == 0) {
            if (!seenImageData && length >= 8) {
                animated = true;
                m_plays = bigEndian32(payload + 4);
            }
        } else if (std::memcmp(type, "fcTL", 4) == 0) {
            if (animated) {
                if (m_frames.size() == frameLimit)
                    break;
                Frame frame;
                if (length >= 26) {
                    const qint64 w = bigEndian32(payload + 4), h = bigEndian32(payload + 8);
                    const qint64 x = bigEndian32(payload + 12), y = bigEndian32(payload + 16);
                    frame.valid = w > 0 && h > 0 && x + w <= m_size.width() && y + h <= m_size.height();
                    if (frame.valid)
                        frame.rect = QRect(int(x), int(y), int(w), int(h));
                    frame.delayNumerator = quint16((payload[20] << 8) | payload[21]);
                    frame.delayDenominator = quint16((payload[22] << 8) | payload[23]);
                    frame.dispose = payload[24];
                    frame.blend = payload[25];
                }
                frame.firstPiece = quint32(m_pieces.size());
                m_frames.push_back(frame);
                current = &m_frames.back();
                currentTakesImageData = false;
            }
        } else if (std::memcmp(type, "fdAT", 4) == 0) {
            if (current && !currentTakesImageData && length > 4)
                addPiece(offset + 12, length - 4);
        } else if (!seenImageData) {
            keepForFrames(type, offset, length);
        }
        offset = next;
    }
    limitProfile();
    return true;
}

void PngCodec::keepForFrames(const char* type, qint64 offset, qint64 length)
{
    // The chunks that change how libpng decodes a frame, each no longer than its format allows:
    // libpng refuses or ignores longer ones, and a bloated one would be repeated in every frame.
    static constexpr std::pair<const char*, qint64> needed[] = {{"PLTE", 768}, {"tRNS", 256}, {"gAMA", 4},
        {"cHRM", 32}, {"sRGB", 1}, {"sBIT", 4}, {"iCCP", 0x7FFFFFFF}};
    for (const auto& [tag, longest] : needed) {
        if (std::memcmp(type, tag, 4) != 0)
            continue;
        if (length <= longest && std::none_of(m_carried.begin(), m_carried.end(), isChunk(m_data, tag)))
            m_carried.push_back({offset, 12 + length});
        return;
    }
}

void PngCodec::limitProfile()
{
    const auto profile = std::find_if(m_carried.begin(), m_carried.end(), isChunk(m_data, "iCCP"));
    if (profile == m_carried.end() || m_frames.empty())
        return;
    const QByteArrayView payload(m_data.constData() + profile->offset + 8, profile->length - 12);
    const std::optional<quint32> stated = statedProfileLength(payload);
    qint64 perFrame = 0;
    for (const Range& chunk : m_carried)
        perFrame += chunk.length;
    // libpng inflates the whole profile the chunk states for every frame it reads it in.
    const qint64 profileCost = profile->length + qint64(stated.value_or(0));
    if (!stated || perFrame + qint64(*stated) > maxCarriedBytesPerFrame
        || profileCost > maxProfileBytesOverFrames / qint64(m_frames.size()))
        m_carried.erase(profile);
}

FrameProperties PngCodec::frameProperties(qint64 index) const
{
    FrameProperties properties;
    properties.pixelSize = m_size;
    if (!m_frames.empty()) {
        const Frame& frame = m_frames[size_t(index)];
        // A denominator of 0 means hundredths of a second.
        const double seconds
            = frame.delayNumerator / double(frame.delayDenominator == 0 ? 100 : frame.delayDenominator);
        properties.apng = DelayProperties{seconds, seconds};
    }
    return properties;
}

QByteArray PngCodec::framePng(qint64 index) const
{
    const Frame& frame = m_frames[size_t(index)];
    const auto pieces = std::span(m_pieces).subspan(frame.firstPiece, frame.pieceCount);
    qint64 total = 8 + 25 + 12;
    for (const Range& chunk : m_carried)
        total += chunk.length;
    for (const Range& piece : pieces)
        total += 12 + piece.length;
    QByteArray png;
    png.reserve(qsizetype(total));
    png.append(signature, 8);
    QByteArray header = m_data.mid(m_header.offset, m_header.length);
    header.replace(0, 8, [&] {
        QByteArray size;
        appendBigEndian32(size, quint32(frame.rect.width()));
        appendBigEndian32(size, quint32(frame.rect.height()));
        return size;
    }());
    appendPngChunk(png, "IHDR", header);
    for (const Range& chunk : m_carried)
        png.append(m_data.constData() + chunk.offset, qsizetype(chunk.length));
    for (const Range& piece : pieces)
        appendPngChunk(png, "IDAT", QByteArrayView(m_data.constData() + piece.offset, qsizetype(piece.length)));
    appendPngChunk(png, "IEND", {});
    return png;
}

void PngCodec::decode(qint64 last, const FrameSink& sink) const
{
    if (m_frames.empty()) {
        sink(0, decodePng(m_data));
        return;
    }
    decodeAnimation(last, sink);
}

void PngCodec::decodeAnimation(qint64 last, const FrameSink& sink) const
{
    last = std::min(last, frameCount() - 1);
    std::optional<FrameCompositor> compositor = FrameCompositor::create(m_size);
    for (qint64 index = 0; index <= last; ++index) {
        const Frame& frame = m_frames[size_t(index)];
        std::optional<QImage> pixels;
        // Frames reaching beyond the canvas are refused, never drawn out of bounds.
        if (compositor && frame.valid && frame.pieceCount > 0)
            pixels = decodePng(framePng(index));
        if (pixels && pixels->size() != frame.rect.size())
            pixels.reset();
        std::optional<QImage> shown;
        if (pixels) {
            const auto blend
                = frame.blend == 1 ? FrameCompositor::Blend::over : FrameCompositor::Blend::source;
            shown = compositor->draw(*pixels, frame.rect.topLeft(), blend, disposalOf(frame.dispose));
        } else if (compositor) {
            compositor->skip();
        }
        if (!sink(index, std::move(shown)))
            return;
    }
}

} // namespace plenoria
