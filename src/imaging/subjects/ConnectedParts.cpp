#include "imaging/subjects/ConnectedParts.h"

#include <algorithm>

namespace plenoria {

namespace {

qint32 rootOf(std::vector<qint32>& parent, qint32 run)
{
    while (parent[size_t(run)] != run) {
        parent[size_t(run)] = parent[size_t(parent[size_t(run)])];
        run = parent[size_t(run)];
    }
    return run;
}

// The smaller index stays the root, so a part's root is its first run in reading order.
void join(std::vector<qint32>& parent, qint32 a, qint32 b)
{
    a = rootOf(parent, a);
    b = rootOf(parent, b);
    if (a < b)
        parent[size_t(b)] = a;
    else if (b < a)
        parent[size_t(a)] = b;
}

} // namespace

ConnectedParts ConnectedParts::of(const std::vector<quint8>& mask, qint64 width, qint64 height, Side side)
{
    ConnectedParts parts;
    parts.m_width = width;
    if (width < 1 || height < 1 || qint64(mask.size()) < width * height)
        return parts;

    const bool wanted = side == Side::inside;
    std::vector<qint32> parent;
    size_t previousRow = 0; // first run of the row above
    for (qint64 y = 0; y < height; ++y) {
        const quint8* row = mask.data() + y * width;
        const size_t rowStart = parts.m_runs.size();
        for (qint64 x = 0; x < width;) {
            if (bool(row[x]) != wanted) {
                ++x;
                continue;
            }
            const qint64 begin = x;
            while (x < width && bool(row[x]) == wanted)
                ++x;
            parts.m_runs.push_back({y, begin, x, 0});
            parent.push_back(qint32(parent.size()));
        }
        // A run above touches [begin, end) when it overlaps it, or with diagonals also its ends' corners.
        const qint64 reach = side == Side::inside ? 1 : 0;
        size_t above = previousRow;
        for (size_t run = rowStart; run < parts.m_runs.size(); ++run) {
            const Run& current = parts.m_runs[run];
            while (above < rowStart && parts.m_runs[above].end + reach <= current.begin)
                ++above;
            for (size_t other = above; other < rowStart && parts.m_runs[other].begin < current.end + reach;
                 ++other)
                join(parent, qint32(run), qint32(other));
        }
        previousRow = rowStart;
    }

    std::vector<qint32> partOfRoot(parent.size(), 0);
    for (size_t run = 0; run < parts.m_runs.size(); ++run) {
        Run& r = parts.m_runs[run];
        const qint32 root = rootOf(parent, qint32(run));
        if (!partOfRoot[size_t(root)]) {
            partOfRoot[size_t(root)] = qint32(parts.m_areas.size());
            parts.m_areas.push_back(0);
            parts.m_touchesBorder.push_back(false);
        }
        r.part = partOfRoot[size_t(root)];
        parts.m_areas[size_t(r.part)] += r.end - r.begin;
        if (r.y == 0 || r.y == height - 1 || r.begin == 0 || r.end == width)
            parts.m_touchesBorder[size_t(r.part)] = true;
    }
    return parts;
}

void ConnectedParts::paint(std::vector<quint8>& out, const std::vector<quint8>& valueOfPart) const
{
    for (const Run& run : m_runs) {
        const quint8 value = valueOfPart[size_t(run.part)];
        quint8* row = out.data() + run.y * m_width;
        std::fill(row + run.begin, row + run.end, value);
    }
}

} // namespace plenoria
