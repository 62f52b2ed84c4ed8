#include "ColorQuantization.h"

#include "Bitmap.h"
#include "PaletteSearch.h"
#include "Renderer.h"
#include "Unpremultiply.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace plenoria {

namespace {

constexpr uchar opaqueThreshold = 128;

// The list in a stable order of one byte of the packed colour (a counting sort: linear, and the same order
// as a stable comparison sort, which the median cut's tie rules rely on).
ColorList sortedByByte(const ColorList& list, int shift)
{
    std::array<std::size_t, 257> start{};
    for (const ColorCount& c : list)
        ++start[std::size_t((c.color >> shift) & 0xFF) + 1];
    for (std::size_t i = 1; i < start.size(); ++i)
        start[i] += start[i - 1];
    ColorList sorted(list.size());
    for (const ColorCount& c : list)
        sorted[start[std::size_t((c.color >> shift) & 0xFF)]++] = c;
    return sorted;
}

// Open addressing keyed by packed colour + 1 (0 marks a free slot). A frame of an emoji holds a few
// thousand colours; a node-based map would spend more time allocating than counting.
class ColorCounter {
public:
    // Room for a colour in every fourth pixel before the first rehash: a typical frame never rehashes.
    explicit ColorCounter(qint64 pixelCount)
    {
        int bits = 12;
        while (bits < 18 && (qint64(1) << bits) < pixelCount / 2)
            ++bits;
        resize(bits);
    }

    void add(quint32 color, quint32 count)
    {
        const quint32 key = color + 1;
        std::size_t slot = (key * 2654435761u) >> m_shift;
        while (m_keys[slot] != 0 && m_keys[slot] != key)
            slot = (slot + 1) & m_mask;
        if (m_keys[slot] != 0) {
            m_counts[slot] += count;
            return;
        }
        m_keys[slot] = key;
        m_counts[slot] = count;
        if (++m_size * 2 > m_keys.size())
            grow();
    }

    ColorList sortedList() const
    {
        ColorList list;
        list.reserve(m_size);
        for (std::size_t i = 0; i < m_keys.size(); ++i) {
            if (m_keys[i] != 0)
                list.push_back({qint64(m_keys[i] - 1), qint64(m_counts[i])});
        }
        // Three stable byte passes (blue, green, red) order 24-bit keys in linear time.
        for (int shift = 0; shift <= 16; shift += 8)
            list = sortedByByte(list, shift);
        return list;
    }

private:
    void resize(int bits)
    {
        m_keys.assign(std::size_t(1) << bits, 0);
        m_counts.assign(m_keys.size(), 0);
        m_mask = m_keys.size() - 1;
        m_shift = 32 - bits;
    }

    void grow()
    {
        std::vector<quint32> keys = std::move(m_keys);
        std::vector<quint32> counts = std::move(m_counts);
        resize(32 - m_shift + 1);
        m_size = 0;
        for (std::size_t i = 0; i < keys.size(); ++i) {
            if (keys[i] != 0)
                add(keys[i] - 1, counts[i]);
        }
    }

    // Counts fit 32 bits: a QImage holds fewer than 2^31 bytes, so fewer than 2^29 pixels.
    std::vector<quint32> m_keys;
    std::vector<quint32> m_counts;
    std::size_t m_mask = 0;
    std::size_t m_size = 0;
    int m_shift = 0;
};

RGB8 weightedMean(const ColorList& colors)
{
    qint64 total = 0, r = 0, g = 0, b = 0;
    for (const ColorCount& c : colors) {
        total += c.count;
        r += c.count * ((c.color >> 16) & 0xFF);
        g += c.count * ((c.color >> 8) & 0xFF);
        b += c.count * (c.color & 0xFF);
    }
    if (total == 0)
        total = 1;
    return {r / total, g / total, b / total};
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

ColorQuantization::Box ColorQuantization::Box::fromColors(ColorList colors)
{
    Box box;
    for (const ColorCount& c : colors) {
        const qint64 r = (c.color >> 16) & 0xFF, g = (c.color >> 8) & 0xFF, b = c.color & 0xFF;
        box.minR = std::min(box.minR, r);
        box.minG = std::min(box.minG, g);
        box.minB = std::min(box.minB, b);
        box.maxR = std::max(box.maxR, r);
        box.maxG = std::max(box.maxG, g);
        box.maxB = std::max(box.maxB, b);
    }
    box.colors = std::move(colors);
    return box;
}

qint64 ColorQuantization::Box::range() const
{
    return std::max({maxR - minR, maxG - minG, maxB - minB});
}

std::optional<QImage> ColorQuantization::quantize(const QImage& image, qint64 colors, bool dither)
{
    const std::optional<QImage> normal = Renderer::normalized(image);
    if (!normal)
        return std::nullopt;
    const std::optional<QByteArray> bytes = Renderer::pixelBytes(*normal);
    if (!bytes)
        return std::nullopt;
    const qint64 width = normal->width();
    const qint64 height = normal->height();
    const auto* pixels = reinterpret_cast<const uchar*>(bytes->constData());

    const ColorList list = histogram(pixels, width * height);
    if (list.empty())
        return normal;
    const qint64 target = colors < 2 ? 1 : std::min<qint64>(colors, 256);
    const Palette palette = medianCut(list, target);

    std::optional<QImage> output = makeBitmap(width, height);
    if (!output || output->size() != normal->size())
        return std::nullopt;
    std::memcpy(output->bits(), pixels, std::size_t(bytes->size()));
    remap(output->bits(), width, height, palette, dither);
    return output;
}

ColorList ColorQuantization::histogram(const uchar* bytes, qint64 pixelCount)
{
    const UnpremultiplyTable& straight = unpremultiplyTable();
    ColorCounter counter(pixelCount);
    // Neighbouring pixels are usually equal: count a run once instead of hashing every pixel.
    quint32 runWord = 0;
    quint32 runColor = 0;
    quint32 runLength = 0;
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
            counter.add(runColor, runLength);
        const std::size_t row = std::size_t(a) * 256;
        runWord = word;
        runColor
            = quint32(straight[row + p[0]]) << 16 | quint32(straight[row + p[1]]) << 8 | straight[row + p[2]];
        runLength = 1;
    }
    if (runLength > 0)
        counter.add(runColor, runLength);
    return counter.sortedList();
}

Palette ColorQuantization::medianCut(const ColorList& colors, qint64 target)
{
    std::vector<Box> boxes;
    boxes.push_back(Box::fromColors(colors));
    if (target >= 2) {
        while (qint64(boxes.size()) < target) {
            std::size_t chosen = boxes.size();
            for (std::size_t i = 0; i < boxes.size(); ++i) {
                if (boxes[i].colors.size() > 1
                    && (chosen == boxes.size() || boxes[i].range() > boxes[chosen].range()))
                    chosen = i;
            }
            if (chosen == boxes.size())
                break;
            auto [lower, upper] = splitBox(boxes[chosen]);
            boxes[chosen] = std::move(lower);
            boxes.push_back(std::move(upper));
        }
    }
    Palette palette;
    palette.reserve(boxes.size());
    for (const Box& box : boxes)
        palette.push_back(weightedMean(box.colors));
    return palette;
}

ColorQuantization::Channel ColorQuantization::splitAxis(const Box& box)
{
    const qint64 dR = box.maxR - box.minR, dG = box.maxG - box.minG, dB = box.maxB - box.minB;
    const qint64 m = std::max({dR, dG, dB});
    if (dR == m)
        return Channel::red;
    if (dG == m)
        return Channel::green;
    return Channel::blue;
}

std::pair<ColorQuantization::Box, ColorQuantization::Box> ColorQuantization::splitBox(const Box& box)
{
    const Channel channel = splitAxis(box);
    const int shift = channel == Channel::red ? 16 : (channel == Channel::green ? 8 : 0);
    ColorList sorted = sortedByByte(box.colors, shift);
    qint64 total = 0;
    for (const ColorCount& c : sorted)
        total += c.count;
    const qint64 half = total / 2;
    const qint64 n = qint64(sorted.size());
    qint64 k = n;
    qint64 running = 0;
    for (qint64 i = 0; i < n; ++i) {
        running += sorted[std::size_t(i)].count;
        if (running >= half) {
            k = i + 1;
            break;
        }
    }
    const qint64 cut = std::max<qint64>(1, std::min(k, n - 1));
    ColorList upper(sorted.begin() + cut, sorted.end());
    sorted.resize(std::size_t(cut));
    return {Box::fromColors(std::move(sorted)), Box::fromColors(std::move(upper))};
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
