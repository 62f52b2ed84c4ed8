#include "imaging/write/APNGWriter.h"

#include "imaging/write/APNGFramePlanner.h"

#include "imaging/model/Rounding.h"
#include "imaging/read/CorePool.h"
#include "imaging/read/PngChunks.h"
#include "imaging/write/PngWriter.h"
#include "imaging/write/SmallColorTable.h"
#include "imaging/write/WriterPixels.h"

#include <QThreadPool>
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

// Runs `work(i)` for every i below `count`, spread over the cores: saving runs on the main thread
// and the user waits for it.
template <typename Work> void forEachIndex(size_t count, Work work)
{
    std::vector<size_t> indices(count);
    std::iota(indices.begin(), indices.end(), size_t(0));
    QtConcurrent::blockingMap(&CorePool::instance(), indices, work);
}

// What one frame holds: its colours while they number at most 256, and whether it is opaque.
struct FrameColors {
    std::optional<SmallColorTable> table;
    bool opaque = true;
};

// Read row by row in straight RGBA, the frame itself is never copied (unless it has to be
// brought into the pixel convention, and then only while it is read). None when it cannot be read.
std::optional<FrameColors> frameColors(const QImage& image)
{
    const std::optional<QImage> frame = WriterPixels::prepared(image);
    if (!frame)
        return std::nullopt;
    FrameColors result{SmallColorTable(), true};
    std::vector<quint32> straight(size_t(frame->width()));
    quint32 last = 0;
    bool any = false;
    for (int y = 0; y < frame->height() && (result.table || result.opaque); ++y) {
        WriterPixels::straightenRow(
            frame->constScanLine(y), reinterpret_cast<uchar*>(straight.data()), frame->width());
        for (quint32 color : straight) {
            result.opaque = result.opaque && (color >> 24) == 255;
            if (!result.table || (any && color == last))
                continue;
            if (result.table->add(color) < 0)
                result.table.reset();
            last = color;
            any = true;
        }
    }
    return result;
}

// How the frames are stored: the colour type, its palette and whether a frame may keep pixels of
// the canvas by leaving them transparent, which needs a transparent colour.
struct ColorModel {
    PngWriter::ColorType type = PngWriter::ColorType::rgba;
    std::vector<quint32> palette;
    SmallColorTable numbers;
    bool overAllowed = true;
};

// The smallest colour type for every frame: a palette of all frames' colours when they number at
// most 256 (transparent ones first, so that tRNS stays short), RGB when every frame is opaque,
// else RGBA. None when a frame cannot be read.
std::optional<ColorModel> colorModel(const std::vector<QImage>& frames)
{
    std::vector<std::optional<FrameColors>> perFrame(frames.size());
    forEachIndex(frames.size(), [&](size_t i) { perFrame[i] = frameColors(frames[i]); });
    bool opaque = true;
    std::optional<SmallColorTable> all = SmallColorTable();
    for (const std::optional<FrameColors>& frame : perFrame) {
        if (!frame)
            return std::nullopt;
        opaque = opaque && frame->opaque;
        if (all && !frame->table)
            all.reset();
        for (size_t c = 0; all && c < frame->table->colors().size(); ++c)
            if (all->add(frame->table->colors()[c]) < 0)
                all.reset();
    }
    ColorModel model;
    if (all) {
        std::vector<quint32> palette = all->colors();
        std::stable_partition(
            palette.begin(), palette.end(), [](quint32 color) { return (color >> 24) != 255; });
        model.type = PngWriter::ColorType::palette;
        if (std::find(palette.begin(), palette.end(), 0u) == palette.end()
            && palette.size() < size_t(SmallColorTable::capacity))
            palette.insert(palette.begin(), 0u);
        model.overAllowed = std::find(palette.begin(), palette.end(), 0u) != palette.end();
        model.palette = std::move(palette);
        for (quint32 color : model.palette)
            model.numbers.add(color);
    } else if (opaque) {
        model.type = PngWriter::ColorType::rgb;
        model.overAllowed = false;
    }
    return model;
}

// Frame i's rows as stored: its rectangle in straight colours, with the pixels it keeps from the
// canvas transparent.
PngWriter::Rows frameRows(const APNGFramePlanner::FrameRows& rows, QSize canvas,
    const APNGFramePlanner::Plan& plan, size_t i, const ColorModel& model)
{
    const QRect rect = plan.frames[i].rect;
    const bool over = plan.frames[i].blend == APNGFramePlanner::over;
    const APNGFramePlanner::Plan::Base base = plan.bases[i];
    auto scratch = std::make_shared<std::vector<quint32>>(size_t(canvas.width()));
    auto straight = std::make_shared<std::vector<quint32>>(size_t(rect.width()));
    return {rect.size(), model.type, model.palette,
        [&rows, canvas, rect, over, base, scratch, straight, &model, i](int y, uchar* row) {
            const int canvasY = rect.top() + y;
            const quint32* frame = rows(qint64(i), canvasY) + rect.left();
            const quint32* below = over
                ? APNGFramePlanner::baseRow(rows, canvas, base, canvasY, *scratch) + rect.left()
                : nullptr;
            WriterPixels::straightenRow(reinterpret_cast<const uchar*>(frame),
                reinterpret_cast<uchar*>(straight->data()), rect.width());
            for (int x = 0; x < rect.width(); ++x) {
                const quint32 color = below && below[x] == frame[x] ? 0u : (*straight)[size_t(x)];
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

// The file's start: signature, frame 0's header, palette and transparency (frame 0 covers the
// canvas, so they are the file's), and acTL with the frame and play counts.
bool appendHead(QByteArray& out, const CompressedFrame& first, size_t frameCount, qint64 numPlays)
{
    if (first.chunks.empty() || first.chunks.front().type != "IHDR")
        return false;
    out.append(pngSignature, signatureLength);
    appendPngChunk(out, "IHDR", first.chunks.front().data);
    for (const Chunk& chunk : first.chunks)
        if (chunk.type == "PLTE" || chunk.type == "tRNS")
            appendPngChunk(out, chunk.type, chunk.data);
    QByteArray animation;
    appendBigEndian32(animation, quint32(frameCount));
    appendBigEndian32(animation, quint32(numPlays));
    appendPngChunk(out, "acTL", animation);
    return true;
}

// Frame i's fcTL and image data: IDAT for frame 0, fdAT after. False when libpng wrote no data.
bool appendFrame(QByteArray& out, quint32& sequence, size_t i, const APNGFramePlanner::Frame& frame,
    std::pair<quint16, quint16> delay, const CompressedFrame& compressed)
{
    appendFrameControl(out, sequence++, frame, delay);
    bool hasData = false;
    for (const Chunk& chunk : compressed.chunks) {
        if (chunk.type != "IDAT")
            continue;
        hasData = true;
        if (i == 0)
            appendPngChunk(out, "IDAT", chunk.data);
        else
            appendFrameData(out, chunk.data, sequence++);
    }
    return hasData;
}

// The file, frames planned in order and compressed a batch at a time on every core, each batch
// appended as soon as its frames' dispose operations are known. Only the frames the plan still
// refers to are kept in the pixel convention, and only a batch's compressed frames are held.
std::optional<QByteArray> writeFrames(const std::vector<QImage>& source, QSize canvas,
    const ColorModel& model, const std::vector<std::pair<quint16, quint16>>& delays, qint64 numPlays)
{
    const size_t count = source.size();
    std::vector<QImage> frames(count); // null once no later frame needs it
    const APNGFramePlanner::FrameRows rows = [&frames](qint64 frame, int y) {
        return reinterpret_cast<const quint32*>(frames[size_t(frame)].constScanLine(y));
    };
    const size_t batch = size_t(std::max(1, CorePool::instance().maxThreadCount())) * 2;
    APNGFramePlanner::Plan plan;
    QByteArray out;
    quint32 sequence = 0;
    CompressedFrame pending; // the last frame of a batch waits for its dispose operation
    qint64 keptBase = -1;
    for (size_t start = 0; start < count; start += batch) {
        const size_t end = std::min(count, start + batch);
        for (size_t i = start; i < end; ++i) {
            std::optional<QImage> prepared = WriterPixels::prepared(source[i]);
            if (!prepared)
                return std::nullopt;
            frames[i] = std::move(*prepared);
            APNGFramePlanner::planNext(plan, rows, canvas, model.overAllowed);
        }
        std::vector<CompressedFrame> compressed(end - start);
        forEachIndex(end - start, [&](size_t k) {
            compressed[k] = compressFrame(frameRows(rows, canvas, plan, start + k, model));
        });
        if (start == 0 && !appendHead(out, compressed.front(), count, numPlays))
            return std::nullopt;
        // Planning up to `end` settled the dispose of every frame before end − 1, and of the last.
        const size_t settled = end == count ? end : end - 1;
        for (size_t i = start == 0 ? 0 : start - 1; i < settled; ++i) {
            const CompressedFrame& frame = i < start ? pending : compressed[i - start];
            if (!appendFrame(out, sequence, i, plan.frames[i], delays[i], frame))
                return std::nullopt;
        }
        if (settled < end)
            pending = std::move(compressed.back());
        // The next frames are stored against the last one or against its base, never further back.
        const qint64 base = plan.bases[end - 1].frame;
        if (keptBase >= 0 && keptBase != base)
            frames[size_t(keptBase)] = QImage();
        keptBase = base;
        for (size_t i = start == 0 ? 0 : start - 1; i + 1 < end; ++i)
            if (qint64(i) != keptBase)
                frames[i] = QImage();
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
    if (numPlays < 0 || numPlays > pngIntMax || strip.frames.empty()
        || strip.frames.size() != strip.delays.size())
        return std::nullopt;
    std::vector<std::pair<quint16, quint16>> delays;
    for (qint64 delay : strip.delays) {
        const auto fraction = delayFraction(delay);
        if (!fraction)
            return std::nullopt;
        delays.push_back(*fraction);
    }
    const QSize canvas = strip.frames.front().size();
    for (const QImage& frame : strip.frames)
        if (frame.isNull() || frame.size() != canvas)
            return std::nullopt;
    try {
        const std::optional<ColorModel> model = colorModel(strip.frames);
        if (!model)
            return std::nullopt;
        return writeFrames(strip.frames, canvas, *model, delays, numPlays);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

} // namespace plenoria
