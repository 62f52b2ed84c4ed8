#include "imaging/subjects/BackgroundModel.h"
#include "imaging/subjects/BorderWalk.h"

#include <algorithm>
#include <array>

namespace plenoria {

namespace {

// Border colours are first sorted into coarse buckets, 8 byte values a side, as the border colour
// guess does; neighbouring buckets then join into families (one flat ground with its noise, or one
// gradient).
constexpr int bucketSide = 32;

// Above every real distance (at most BackgroundModel::maxDistance).
constexpr quint8 unreached = 250;
static_assert(BackgroundModel::maxDistance < unreached);

int bucketOf(const std::array<int, 3>& rgb)
{
    return ((rgb[0] >> 3) * bucketSide + (rgb[1] >> 3)) * bucketSide + (rgb[2] >> 3);
}

// The straight colour of a pixel at least half opaque.
std::array<int, 3> straightColour(const uchar* p)
{
    const int a = p[3];
    if (a == 255)
        return {p[0], p[1], p[2]};
    std::array<int, 3> rgb{};
    for (int c = 0; c < 3; ++c)
        rgb[size_t(c)] = std::min(255, (p[c] * 255 + a / 2) / a);
    return rgb;
}

std::vector<std::array<int, 3>> borderSamples(const uchar* data, qint64 width, qint64 height)
{
    std::vector<std::array<int, 3>> samples;
    samples.reserve(size_t(2 * (width + height)));
    const auto visit = [&](qint64 x, qint64 y) {
        const uchar* p = data + 4 * (y * width + x);
        if (p[3] >= 128)
            samples.push_back(straightColour(p));
    };
    forEachBorderPixel(width, height, visit);
    return samples;
}

// The buckets that make up the background, ascending: the largest family of well-filled buckets. Another
// family on the border is more often a subject cut off by the edge than a second tone of ground, and
// the two mistakes are not alike: a second tone taken for a subject can still be left out by its
// number, while a subject taken for ground is lost. Sparse buckets stay out, so the few blended
// pixels where a subject meets the border cannot bridge the subject's colours into the background.
std::vector<int> backgroundBuckets(const std::vector<std::array<int, 3>>& samples)
{
    // Only the few buckets the border fills are kept, sorted by index, so neighbours are found by a
    // binary search rather than in a table of every bucket.
    struct Filled {
        int bucket;
        qint64 count;
        int family;
    };
    std::vector<int> indices;
    indices.reserve(samples.size());
    for (const auto& rgb : samples)
        indices.push_back(bucketOf(rgb));
    std::sort(indices.begin(), indices.end());
    std::vector<Filled> filled;
    for (int bucket : indices) {
        if (filled.empty() || filled.back().bucket != bucket)
            filled.push_back({bucket, 0, -1});
        ++filled.back().count;
    }
    qint64 fullest = 0;
    for (const Filled& f : filled)
        fullest = std::max(fullest, f.count);
    const qint64 minCount = std::min(fullest, std::max<qint64>(2, qint64(samples.size()) / 200));
    std::erase_if(filled, [&](const Filled& f) { return f.count < minCount; });
    const auto find = [&](int bucket) -> Filled* {
        const auto it = std::lower_bound(
            filled.begin(), filled.end(), bucket, [](const Filled& f, int b) { return f.bucket < b; });
        return it != filled.end() && it->bucket == bucket ? &*it : nullptr;
    };

    std::vector<qint64> familySizes;
    std::vector<Filled*> queue;
    for (Filled& start : filled) {
        if (start.family >= 0)
            continue;
        const int id = int(familySizes.size());
        qint64 size = 0;
        start.family = id;
        queue.assign(1, &start);
        for (size_t next = 0; next < queue.size(); ++next) {
            const int bucket = queue[next]->bucket;
            size += queue[next]->count;
            const int r = bucket / (bucketSide * bucketSide);
            const int g = bucket / bucketSide % bucketSide;
            const int b = bucket % bucketSide;
            for (int dr = -1; dr <= 1; ++dr)
                for (int dg = -1; dg <= 1; ++dg)
                    for (int db = -1; db <= 1; ++db) {
                        const int nr = r + dr, ng = g + dg, nb = b + db;
                        if (nr < 0 || ng < 0 || nb < 0 || nr >= bucketSide || ng >= bucketSide
                            || nb >= bucketSide)
                            continue;
                        Filled* neighbour = find((nr * bucketSide + ng) * bucketSide + nb);
                        if (neighbour && neighbour->family < 0) {
                            neighbour->family = id;
                            queue.push_back(neighbour);
                        }
                    }
        }
        familySizes.push_back(size);
    }

    // The first family met wins a tie, which keeps the choice stable.
    const int ground = int(std::max_element(familySizes.begin(), familySizes.end()) - familySizes.begin());
    std::vector<int> background;
    for (const Filled& f : filled) {
        if (f.family == ground)
            background.push_back(f.bucket);
    }
    return background;
}

} // namespace

BackgroundModel BackgroundModel::fromBorder(const QByteArray& bytes, qint64 width, qint64 height)
{
    BackgroundModel model;
    if (width < 1 || height < 1 || bytes.size() < 4 * width * height)
        return model;
    const auto samples = borderSamples(reinterpret_cast<const uchar*>(bytes.constData()), width, height);
    if (samples.empty())
        return model;

    const std::vector<int> background = backgroundBuckets(samples);
    model.m_table.assign(size_t(levels) * levels * levels, unreached);
    std::vector<bool> seededLines(size_t(levels) * levels, false);
    for (const auto& rgb : samples) {
        if (!std::binary_search(background.begin(), background.end(), bucketOf(rgb)))
            continue;
        const int cell = cellOf(rgb[0], rgb[1], rgb[2]);
        model.m_table[size_t(cell)] = 0;
        seededLines[size_t(cell / levels)] = true;
    }
    model.spreadDistances(seededLines);
    model.m_empty = false;
    return model;
}

// An exact city-block distance transform of the seeded grid, one axis at a time: a forward and a
// backward sweep along each axis. The blue axis is contiguous; the other two sweep whole planes, so
// the inner loops run over independent cells. Along blue only the lines holding a seed can change.
void BackgroundModel::spreadDistances(const std::vector<bool>& seededLines)
{
    quint8* t = m_table.data();
    // Unreached cells hold `unreached`, small enough that one step more still fits in a byte, so the
    // sweeps need no saturation and vectorise.
    const auto relax = [](quint8& cell, quint8 from) { cell = std::min(cell, quint8(from + 1)); };
    for (int line = 0; line < levels * levels; ++line) {
        if (!seededLines[size_t(line)])
            continue;
        quint8* row = t + line * levels;
        for (int i = 1; i < levels; ++i)
            relax(row[i], row[i - 1]);
        for (int i = levels - 2; i >= 0; --i)
            relax(row[i], row[i + 1]);
    }
    for (int r = 0; r < levels; ++r) {
        quint8* plane = t + r * levels * levels;
        for (int g = 1; g < levels; ++g)
            for (int b = 0; b < levels; ++b)
                relax(plane[g * levels + b], plane[(g - 1) * levels + b]);
        for (int g = levels - 2; g >= 0; --g)
            for (int b = 0; b < levels; ++b)
                relax(plane[g * levels + b], plane[(g + 1) * levels + b]);
    }
    const int planeSize = levels * levels;
    for (int r = 1; r < levels; ++r)
        for (int i = 0; i < planeSize; ++i)
            relax(t[r * planeSize + i], t[(r - 1) * planeSize + i]);
    for (int r = levels - 2; r >= 0; --r)
        for (int i = 0; i < planeSize; ++i)
            relax(t[r * planeSize + i], t[(r + 1) * planeSize + i]);
}

std::vector<quint8> BackgroundModel::distances(const QByteArray& bytes) const
{
    const qint64 count = bytes.size() / 4;
    std::vector<quint8> result(size_t(count), 0);
    if (m_empty)
        return result;
    const uchar* data = reinterpret_cast<const uchar*>(bytes.constData());
    for (qint64 i = 0; i < count; ++i) {
        const uchar* p = data + 4 * i;
        if (p[3] < 128)
            continue;
        const auto rgb = straightColour(p);
        result[size_t(i)] = m_table[size_t(cellOf(rgb[0], rgb[1], rgb[2]))];
    }
    return result;
}

} // namespace plenoria
