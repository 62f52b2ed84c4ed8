#include "imaging/gif/ColorQuantization.h"

#include "imaging/gif/PaletteSearch.h"
#include "imaging/model/Bitmap.h"
#include "imaging/model/PixelConventions.h"
#include "imaging/model/Unpremultiply.h"

#include <algorithm>
#include <cstring>

namespace plenoria {

namespace {

constexpr uchar opaqueThreshold = 128;

// One stable counting-sort pass of 12-bit digits at `shift`, from `from` into `to`.
void sortByDigit(const std::vector<quint64>& from, std::vector<quint64>& to, int shift)
{
    std::vector<std::size_t> start(4097, 0);
    for (const quint64 v : from)
        ++start[std::size_t((v >> shift) & 0xFFF) + 1];
    for (std::size_t i = 1; i < start.size(); ++i)
        start[i] += start[i - 1];
    for (const quint64 v : from)
        to[start[std::size_t((v >> shift) & 0xFFF)]++] = v;
}

void writePixel(uchar* p, const RGB8& c)
{
    p[0] = uchar(c.r);
    p[1] = uchar(c.g);
    p[2] = uchar(c.b);
    p[3] = 255;
}

void remapPlain(uchar* bytes, qint64 pixelCount, const Palette& palette, PaletteSearch& search)
{
    // Without diffusion a pixel's entry depends on its four bytes alone, so repeated pixels (runs and
    // recurring colours) are looked up in a small direct-mapped cache instead of searched again.
    constexpr std::size_t cacheSize = 4096;
    std::vector<quint32> cachedPixel(cacheSize);
    std::vector<qint16> cachedIndex(cacheSize, -1);
    int previous = -1;
    for (qint64 i = 0; i < pixelCount; ++i) {
        uchar* p = bytes + 4 * i;
        const uchar a = p[3];
        if (a < opaqueThreshold) {
            std::memset(p, 0, 4);
            continue;
        }
        quint32 word;
        std::memcpy(&word, p, 4);
        const std::size_t slot = (word * 2654435761u) >> 20;
        int index = cachedIndex[slot];
        if (index < 0 || cachedPixel[slot] != word) {
            const double s = 255.0 / a;
            index = search.nearest(p[0] * s, p[1] * s, p[2] * s, previous);
            cachedPixel[slot] = word;
            cachedIndex[slot] = qint16(index);
        }
        previous = index;
        writePixel(p, palette[std::size_t(index)]);
    }
}

// Working values of one row: straight colours as doubles, unrounded, and which pixels are marked.
struct WorkingRow {
    std::vector<double> values;
    std::vector<char> marked;

    void load(const uchar* row, qint64 width)
    {
        for (qint64 x = 0; x < width; ++x) {
            const uchar* p = row + 4 * x;
            const bool opaque = p[3] >= opaqueThreshold;
            marked[std::size_t(x)] = opaque;
            const double s = opaque ? 255.0 / p[3] : 0.0;
            for (int c = 0; c < 3; ++c)
                values[std::size_t(3 * x + c)] = opaque ? p[c] * s : 0.0;
        }
    }
};

void remapDithered(uchar* bytes, qint64 width, qint64 height, const Palette& palette, PaletteSearch& search)
{
    // Errors only ever reach the current and the next row, so two rows of working values suffice; each
    // row is loaded from pixels that have not been written yet.
    WorkingRow current{std::vector<double>(std::size_t(3 * width)), std::vector<char>(std::size_t(width))};
    WorkingRow next = current;
    int previous = -1;
    current.load(bytes, width);
    if (height > 1)
        next.load(bytes + 4 * width, width);
    for (qint64 y = 0; y < height; ++y) {
        uchar* row = bytes + 4 * width * y;
        const bool hasBelow = y + 1 < height;
        for (qint64 x = 0; x < width; ++x) {
            const std::size_t ux = std::size_t(x);
            if (!current.marked[ux]) {
                std::memset(row + 4 * x, 0, 4);
                continue;
            }
            double* v = &current.values[3 * ux];
            previous = search.nearest(v[0], v[1], v[2], previous);
            const RGB8& chosen = palette[std::size_t(previous)];
            writePixel(row + 4 * x, chosen);
            const double error[3]
                = {v[0] - double(chosen.r), v[1] - double(chosen.g), v[2] - double(chosen.b)};
            const auto spread = [&](WorkingRow& target, qint64 tx, double share) {
                if (tx < 0 || tx >= width || !target.marked[std::size_t(tx)])
                    return;
                for (int c = 0; c < 3; ++c)
                    target.values[std::size_t(3 * tx + c)] += error[c] * share;
            };
            spread(current, x + 1, 7.0 / 16.0);
            if (hasBelow) {
                spread(next, x - 1, 3.0 / 16.0);
                spread(next, x, 5.0 / 16.0);
                spread(next, x + 1, 1.0 / 16.0);
            }
        }
        std::swap(current, next);
        if (y + 2 < height)
            next.load(bytes + 4 * width * (y + 2), width);
    }
}

} // namespace

std::optional<QImage> ColorQuantization::quantize(const QImage& image, qint64 colors, bool dither)
{
    const std::optional<QImage> normal = PixelConventions::normalized(image);
    if (!normal)
        return std::nullopt;
    const std::optional<QByteArray> bytes = PixelConventions::pixelBytes(*normal);
    if (!bytes)
        return std::nullopt;
    const qint64 width = normal->width();
    const qint64 height = normal->height();
    const auto* pixels = reinterpret_cast<const uchar*>(bytes->constData());

    ColorList list = histogram(pixels, width * height);
    if (list.empty())
        return normal;
    const qint64 target = colors < 2 ? 1 : std::min<qint64>(colors, 256);
    const Palette palette = medianCut(std::move(list), target);

    std::optional<QImage> output = makeBitmap(width, height);
    if (!output || output->size() != normal->size())
        return std::nullopt;
    std::memcpy(output->bits(), pixels, std::size_t(bytes->size()));
    remap(output->bits(), width, height, palette, dither);
    return output;
}

ColorList ColorQuantization::histogram(const uchar* bytes, qint64 pixelCount)
{
    // Runs of equal neighbouring pixels, as colour << 32 | length, are sorted by colour and merged: linear
    // time, sequential memory, and the list comes out in colour order.
    const UnpremultiplyTable& straight = unpremultiplyTable();
    std::vector<quint64> runs;
    quint32 runWord = 0;
    quint64 runColor = 0;
    quint64 runLength = 0;
    for (qint64 i = 0; i < pixelCount; ++i) {
        const uchar* p = bytes + 4 * i;
        const uchar a = p[3];
        if (a < opaqueThreshold)
            continue;
        quint32 word;
        std::memcpy(&word, p, 4);
        if (runLength > 0 && word == runWord) {
            ++runLength;
            continue;
        }
        if (runLength > 0)
            runs.push_back(runColor << 32 | runLength);
        const std::size_t row = std::size_t(a) * 256;
        runWord = word;
        runColor
            = quint64(straight[row + p[0]]) << 16 | quint64(straight[row + p[1]]) << 8 | straight[row + p[2]];
        runLength = 1;
    }
    if (runLength > 0)
        runs.push_back(runColor << 32 | runLength);

    std::vector<quint64> scratch(runs.size());
    sortByDigit(runs, scratch, 32);
    sortByDigit(scratch, runs, 44);
    ColorList list;
    for (const quint64 run : runs) {
        const qint64 color = qint64(run >> 32);
        const qint64 length = qint64(run & 0xFFFFFFFF);
        if (!list.empty() && list.back().color == color)
            list.back().count += length;
        else
            list.push_back({color, length});
    }
    return list;
}

void ColorQuantization::remap(uchar* bytes, qint64 width, qint64 height, const Palette& palette, bool dither)
{
    if (palette.empty() || width <= 0 || height <= 0)
        return;
    PaletteSearch search(palette);
    if (dither)
        remapDithered(bytes, width, height, palette, search);
    else
        remapPlain(bytes, width * height, palette, search);
}

} // namespace plenoria
