#include "APNGWriter.h"

#include "PngChunks.h"
#include "PngWriter.h"
#include "Rounding.h"
#include "WriterPixels.h"

#include <QtConcurrent>
#include <QtEndian>

#include <array>
#include <limits>
#include <new>
#include <numeric>

namespace plenoria {

namespace {

constexpr qint64 pngIntMax = std::numeric_limits<qint32>::max(); // PNG's four-byte integers stop here
constexpr char pngSignature[] = "\x89PNG\r\n\x1a\n";
constexpr qsizetype signatureLength = 8;

struct Chunk {
    QByteArray type;
    QByteArrayView data;
};

// The chunks of a PNG that libpng just wrote; none when it does not parse.
std::optional<std::vector<Chunk>> chunksOf(const QByteArray& png)
{
    if (!png.startsWith(QByteArrayView(pngSignature, signatureLength)))
        return std::nullopt;
    std::vector<Chunk> chunks;
    qsizetype at = signatureLength;
    while (at + 12 <= png.size()) {
        const qint64 length = qFromBigEndian<quint32>(png.constData() + at);
        if (length > png.size() - at - 12)
            return std::nullopt;
        chunks.push_back({png.mid(at + 4, 4), QByteArrayView(png.constData() + at + 8, length)});
        at += 12 + length;
    }
    return chunks;
}

// fdAT is IDAT's data behind a sequence number; the number space is shared with fcTL.
void appendFrameData(QByteArray& out, QByteArrayView data, quint32 sequence)
{
    QByteArray body;
    body.reserve(data.size() + 4);
    appendBigEndian32(body, sequence);
    body.append(data);
    appendPngChunk(out, "fdAT", body);
}

void appendFrameControl(
    QByteArray& out, quint32 sequence, const QSize& size, std::pair<quint16, quint16> delay)
{
    QByteArray body;
    appendBigEndian32(body, sequence);
    appendBigEndian32(body, quint32(size.width()));
    appendBigEndian32(body, quint32(size.height()));
    appendBigEndian32(body, 0); // x offset: every frame covers the canvas
    appendBigEndian32(body, 0);
    appendBigEndian16(body, delay.first);
    appendBigEndian16(body, delay.second);
    body.append(char(0)); // dispose_op NONE: the next frame replaces everything anyway
    body.append(char(0)); // blend_op SOURCE: transparent pixels must not show the previous frame
    appendPngChunk(out, "fcTL", body);
}

struct CompressedFrame {
    QByteArray png;
    std::vector<Chunk> chunks;
};

// The frame as a PNG of its own and that PNG's chunks; no chunks when it could not be made.
CompressedFrame compressFrame(const QImage& frame, bool withAlpha)
{
    CompressedFrame result;
    try {
        auto png = PngWriter::encodePrepared(frame, withAlpha);
        if (!png)
            return {};
        result.png = std::move(*png);
        // The views point into result.png, whose buffer stays put when the value is moved.
        auto chunks = chunksOf(result.png);
        if (chunks)
            result.chunks = std::move(*chunks);
    } catch (const std::bad_alloc&) {
        return {};
    }
    return result;
}

std::optional<std::vector<QImage>> preparedFrames(const Filmstrip& strip)
{
    if (strip.frames.empty() || strip.frames.size() != strip.delays.size())
        return std::nullopt;
    std::vector<QImage> frames;
    for (const QImage& frame : strip.frames) {
        auto prepared = WriterPixels::prepared(frame);
        if (!prepared || (!frames.empty() && prepared->size() != frames.front().size()))
            return std::nullopt;
        frames.push_back(std::move(*prepared));
    }
    return frames;
}

std::optional<QByteArray> assemble(const std::vector<CompressedFrame>& compressed,
    const std::vector<std::pair<quint16, quint16>>& delays, const QSize& canvas, qint64 numPlays)
{
    QByteArray out(pngSignature, signatureLength);
    const Chunk& header = compressed.front().chunks.front();
    if (header.type != "IHDR")
        return std::nullopt;
    appendPngChunk(out, "IHDR", header.data);

    QByteArray animation;
    appendBigEndian32(animation, quint32(compressed.size()));
    appendBigEndian32(animation, quint32(numPlays));
    appendPngChunk(out, "acTL", animation);

    quint32 sequence = 0;
    for (size_t i = 0; i < compressed.size(); ++i) {
        appendFrameControl(out, sequence++, canvas, delays[i]);
        bool hasData = false;
        for (const Chunk& chunk : compressed[i].chunks) {
            if (chunk.type != "IDAT")
                continue;
            hasData = true;
            if (i == 0)
                appendPngChunk(out, "IDAT", chunk.data);
            else
                appendFrameData(out, chunk.data, sequence++);
        }
        if (!hasData)
            return std::nullopt;
    }
    appendPngChunk(out, "IEND", {});
    return out;
}

} // namespace

std::optional<std::pair<quint16, quint16>> APNGWriter::delayFraction(qint64 milliseconds)
{
    if (milliseconds < 0)
        return std::nullopt;
    constexpr qint64 fieldMax = std::numeric_limits<quint16>::max();
    // Milliseconds first (exact), then coarser units, each reduced to lowest terms.
    for (qint64 unitMs : {1, 10, 100, 1000}) {
        const qint64 numerator = roundHalfAway(double(milliseconds) / double(unitMs));
        const qint64 denominator = 1000 / unitMs;
        const qint64 divisor = std::max<qint64>(1, std::gcd(numerator, denominator));
        if (numerator / divisor <= fieldMax)
            return std::pair{quint16(numerator / divisor), quint16(denominator / divisor)};
    }
    return std::nullopt;
}

std::optional<QByteArray> APNGWriter::encode(const Filmstrip& strip, qint64 numPlays)
{
    if (numPlays < 0 || numPlays > pngIntMax)
        return std::nullopt;
    std::vector<std::pair<quint16, quint16>> delays;
    for (qint64 delay : strip.delays) {
        const auto fraction = delayFraction(delay);
        if (!fraction)
            return std::nullopt;
        delays.push_back(*fraction);
    }
    const auto frames = preparedFrames(strip);
    if (!frames)
        return std::nullopt;
    // One colour type for every frame, as the frames share the one IHDR.
    bool withAlpha = false;
    for (const QImage& frame : *frames)
        withAlpha = withAlpha || !WriterPixels::isOpaque(frame);

    // Frames compress independently, so they are spread over the cores: saving runs on the main
    // thread and the user waits for it.
    std::vector<CompressedFrame> compressed(frames->size());
    std::vector<size_t> indices(frames->size());
    std::iota(indices.begin(), indices.end(), size_t(0));
    QtConcurrent::blockingMap(
        indices, [&](size_t i) { compressed[i] = compressFrame((*frames)[i], withAlpha); });
    for (const CompressedFrame& frame : compressed)
        if (frame.chunks.empty())
            return std::nullopt;
    try {
        return assemble(compressed, delays, frames->front().size(), numPlays);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

} // namespace plenoria
