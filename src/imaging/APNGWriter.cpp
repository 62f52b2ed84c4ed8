#include "APNGWriter.h"

#include "APNGFramePlanner.h"

#include "PngChunks.h"
#include "PngWriter.h"
#include "Rounding.h"
#include "SmallColorTable.h"
#include "WriterPixels.h"

#include <QtConcurrent>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <cstring>
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

void appendFrameControl(QByteArray& out, quint32 sequence, const APNGFramePlanner::Frame& frame,
    std::pair<quint16, quint16> delay)
{
    QByteArray body;
    appendBigEndian32(body, sequence);
    appendBigEndian32(body, quint32(frame.rect.width()));
    appendBigEndian32(body, quint32(frame.rect.height()));
    appendBigEndian32(body, quint32(frame.rect.x()));
    appendBigEndian32(body, quint32(frame.rect.y()));
    appendBigEndian16(body, delay.first);
    appendBigEndian16(body, delay.second);
    body.append(char(frame.dispose));
    body.append(char(frame.blend));
    appendPngChunk(out, "fcTL", body);
}

struct CompressedFrame {
    QByteArray png;
    std::vector<Chunk> chunks;
};

// The frame as a PNG of its own and that PNG's chunks; no chunks when it could not be made.
CompressedFrame compressFrame(const PngWriter::Rows& rows)
{
    CompressedFrame result;
    try {
        auto png = PngWriter::encodeRows(rows);
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

// Runs `work(i)` for every i below `count`, spread over the cores: saving runs on the main thread
// and the user waits for it.
template <typename Work> void forEachIndex(size_t count, Work work)
{
    std::vector<size_t> indices(count);
    std::iota(indices.begin(), indices.end(), size_t(0));
    QtConcurrent::blockingMap(indices, work);
}

// Every frame as the straight RGBA values a PNG stores, one quint32 per pixel.
APNGFramePlanner::Pixels straightPixels(const std::vector<QImage>& frames)
{
    APNGFramePlanner::Pixels pixels(frames.size());
    forEachIndex(frames.size(), [&](size_t i) {
        const QImage& frame = frames[i];
        std::vector<quint32>& out = pixels[i];
        out.resize(size_t(frame.width()) * size_t(frame.height()));
        for (int y = 0; y < frame.height(); ++y) {
            WriterPixels::straightenRow(frame.constScanLine(y),
                reinterpret_cast<uchar*>(out.data() + qsizetype(y) * frame.width()), frame.width());
        }
    });
    return pixels;
}

// The colours of all frames when there are at most 256 of them, transparent ones first so that
// tRNS stays short; none when there are more.
std::optional<std::vector<quint32>> sharedPalette(const APNGFramePlanner::Pixels& pixels)
{
    std::vector<std::optional<SmallColorTable>> perFrame(pixels.size());
    forEachIndex(pixels.size(), [&](size_t i) {
        SmallColorTable table;
        quint32 last = 0;
        bool any = false;
        for (quint32 color : pixels[i]) {
            if (any && color == last)
                continue;
            if (table.add(color) < 0)
                return;
            last = color;
            any = true;
        }
        perFrame[i] = std::move(table);
    });
    SmallColorTable all;
    for (const std::optional<SmallColorTable>& frame : perFrame) {
        if (!frame)
            return std::nullopt;
        for (quint32 color : frame->colors())
            if (all.add(color) < 0)
                return std::nullopt;
    }
    std::vector<quint32> palette = all.colors();
    std::stable_partition(palette.begin(), palette.end(), [](quint32 color) { return (color >> 24) != 255; });
    return palette;
}

// How the frames are stored: the colour type, its palette and whether a frame may keep pixels of
// the canvas by leaving them transparent, which needs a transparent colour.
struct ColorModel {
    PngWriter::ColorType type = PngWriter::ColorType::rgba;
    std::vector<quint32> palette;
    SmallColorTable numbers;
    bool overAllowed = true;
};

ColorModel colorModel(const APNGFramePlanner::Pixels& pixels, bool opaque)
{
    ColorModel model;
    if (std::optional<std::vector<quint32>> palette = sharedPalette(pixels)) {
        model.type = PngWriter::ColorType::palette;
        if (std::find(palette->begin(), palette->end(), 0u) == palette->end()
            && palette->size() < size_t(SmallColorTable::capacity))
            palette->insert(palette->begin(), 0u);
        model.overAllowed = std::find(palette->begin(), palette->end(), 0u) != palette->end();
        model.palette = std::move(*palette);
        for (quint32 color : model.palette)
            model.numbers.add(color);
    } else if (opaque) {
        model.type = PngWriter::ColorType::rgb;
        model.overAllowed = false;
    }
    return model;
}

// Frame i's rows as stored: its rectangle, with the pixels it keeps from the canvas transparent.
PngWriter::Rows frameRows(const APNGFramePlanner::Pixels& pixels, QSize canvas,
    const APNGFramePlanner::Plan& plan, size_t i, const ColorModel& model)
{
    const QRect rect = plan.frames[i].rect;
    const bool over = plan.frames[i].blend == APNGFramePlanner::over;
    const APNGFramePlanner::Plan::Base base = plan.bases[i];
    auto scratch = std::make_shared<std::vector<quint32>>(size_t(canvas.width()));
    return {rect.size(), model.type, model.palette,
        [&pixels, canvas, rect, over, base, scratch, &model, i](int y, uchar* row) {
            const int canvasY = rect.top() + y;
            const quint32* frame = pixels[i].data() + qsizetype(canvasY) * canvas.width() + rect.left();
            const quint32* below = over
                ? APNGFramePlanner::baseRow(pixels, canvas, base, canvasY, *scratch) + rect.left()
                : nullptr;
            for (int x = 0; x < rect.width(); ++x) {
                const quint32 color = below && below[x] == frame[x] ? 0u : frame[x];
                switch (model.type) {
                case PngWriter::ColorType::palette:
                    row[x] = uchar(model.numbers.find(color));
                    break;
                case PngWriter::ColorType::rgb:
                    std::memcpy(row + 3 * x, &color, 3);
                    break;
                case PngWriter::ColorType::rgba:
                    std::memcpy(row + 4 * x, &color, 4);
                    break;
                }
            }
        }};
}

std::optional<QByteArray> assemble(const std::vector<CompressedFrame>& compressed,
    const std::vector<std::pair<quint16, quint16>>& delays, const APNGFramePlanner::Plan& plan,
    qint64 numPlays)
{
    QByteArray out(pngSignature, signatureLength);
    // Frame 0 covers the canvas, so its header, palette and transparency are the file's.
    const std::vector<Chunk>& first = compressed.front().chunks;
    if (first.front().type != "IHDR")
        return std::nullopt;
    appendPngChunk(out, "IHDR", first.front().data);
    for (const Chunk& chunk : first)
        if (chunk.type == "PLTE" || chunk.type == "tRNS")
            appendPngChunk(out, chunk.type, chunk.data);

    QByteArray animation;
    appendBigEndian32(animation, quint32(compressed.size()));
    appendBigEndian32(animation, quint32(numPlays));
    appendPngChunk(out, "acTL", animation);

    quint32 sequence = 0;
    for (size_t i = 0; i < compressed.size(); ++i) {
        appendFrameControl(out, sequence++, plan.frames[i], delays[i]);
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
    try {
        bool opaque = true;
        for (const QImage& frame : *frames)
            opaque = opaque && WriterPixels::isOpaque(frame);
        const QSize canvas = frames->front().size();
        const APNGFramePlanner::Pixels pixels = straightPixels(*frames);
        const ColorModel model = colorModel(pixels, opaque);
        const APNGFramePlanner::Plan plan = APNGFramePlanner::plan(pixels, canvas, model.overAllowed);

        // Frames compress independently of each other.
        std::vector<CompressedFrame> compressed(frames->size());
        forEachIndex(frames->size(),
            [&](size_t i) { compressed[i] = compressFrame(frameRows(pixels, canvas, plan, i, model)); });
        for (const CompressedFrame& frame : compressed)
            if (frame.chunks.empty())
                return std::nullopt;
        return assemble(compressed, delays, plan, numPlays);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

} // namespace plenoria
