#include "imaging/gif/PaletteSearch.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace plenoria {

namespace {

constexpr int cellShift = 4;
constexpr int cellsPerSide = 256 >> cellShift;
constexpr int cellCount = cellsPerSide * cellsPerSide * cellsPerSide;

double channelOf(const RGB8& c, int channel)
{
    return double(channel == 0 ? c.r : (channel == 1 ? c.g : c.b));
}

} // namespace

PaletteSearch::PaletteSearch(const Palette& palette)
    : m_palette(palette)
    , m_cells(palette.size() <= 256 ? cellCount : 0)
    , m_cellReady(m_cells.size(), 0)
{
    // Sorting along the channel with the widest spread prunes the most candidates.
    double widest = -1;
    for (int channel = 0; channel < 3; ++channel) {
        double lo = 255, hi = 0;
        for (const RGB8& c : palette) {
            lo = std::min(lo, channelOf(c, channel));
            hi = std::max(hi, channelOf(c, channel));
        }
        if (hi - lo > widest) {
            widest = hi - lo;
            m_keyChannel = channel;
        }
    }
    m_entries.reserve(palette.size());
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const RGB8& c = palette[i];
        m_entries.push_back({channelOf(c, m_keyChannel), double(c.r), double(c.g), double(c.b), int(i)});
    }
    std::stable_sort(
        m_entries.begin(), m_entries.end(), [](const Entry& a, const Entry& b) { return a.key < b.key; });
    m_position.resize(m_entries.size());
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        m_position[std::size_t(m_entries[i].index)] = i;
}

int PaletteSearch::nearest(double r, double g, double b, int hint)
{
    const auto inGrid = [](double v) { return v >= 0 && v < 256; };
    if (m_cells.empty() || !inGrid(r) || !inGrid(g) || !inGrid(b))
        return scan(r, g, b, hint);
    const int cell = (int(r) >> cellShift) * cellsPerSide * cellsPerSide
        + (int(g) >> cellShift) * cellsPerSide + (int(b) >> cellShift);
    const std::vector<Candidate>& list = candidates(cell);
    double best = std::numeric_limits<double>::infinity();
    int bestIndex = -1;
    const auto consider = [&](double er, double eg, double eb, int index) {
        const double dr = r - er;
        const double dg = g - eg;
        const double db = b - eb;
        const double d = dr * dr + dg * dg + db * db;
        if (d < best || (d == best && index < bestIndex)) {
            best = d;
            bestIndex = index;
        }
    };
    if (hint >= 0 && std::size_t(hint) < m_palette.size()) {
        const RGB8& e = m_palette[std::size_t(hint)];
        consider(double(e.r), double(e.g), double(e.b), hint);
    }
    // No entry can be closer than its least distance, and the list is ordered by it; an equal least
    // distance may still tie with a lower index, so only a greater one ends the search.
    for (const Candidate& c : list) {
        if (c.leastDistance > best)
            break;
        consider(c.r, c.g, c.b, c.index);
    }
    return bestIndex;
}

const std::vector<PaletteSearch::Candidate>& PaletteSearch::candidates(int cell)
{
    std::vector<Candidate>& list = m_cells[std::size_t(cell)];
    if (m_cellReady[std::size_t(cell)])
        return list;
    m_cellReady[std::size_t(cell)] = 1;
    const qint64 lo[3] = {qint64(cell / (cellsPerSide * cellsPerSide)) << cellShift,
        qint64(cell / cellsPerSide % cellsPerSide) << cellShift, qint64(cell % cellsPerSide) << cellShift};
    const qint64 cellWidth = qint64(1) << cellShift;
    // Integer bounds make these distances exact. For a colour c in the cell and an entry e, the computed
    // distance is at least nearestPossible(e) (rounding never makes a larger difference smaller) and at
    // most farthestPossible(e); so the winner, and any entry tying with it, lies within the smallest
    // farthestPossible.
    std::vector<qint64> nearestPossible(m_palette.size());
    qint64 bound = std::numeric_limits<qint64>::max();
    for (std::size_t i = 0; i < m_palette.size(); ++i) {
        const qint64 v[3] = {m_palette[i].r, m_palette[i].g, m_palette[i].b};
        qint64 nearestSum = 0, farthestSum = 0;
        for (int c = 0; c < 3; ++c) {
            const qint64 hi = lo[c] + cellWidth;
            const qint64 inside = v[c] < lo[c] ? lo[c] - v[c] : (v[c] > hi ? v[c] - hi : 0);
            const qint64 outside = std::max(std::abs(v[c] - lo[c]), std::abs(v[c] - hi));
            nearestSum += inside * inside;
            farthestSum += outside * outside;
        }
        nearestPossible[i] = nearestSum;
        bound = std::min(bound, farthestSum);
    }
    for (std::size_t i = 0; i < m_palette.size(); ++i) {
        const RGB8& e = m_palette[i];
        if (nearestPossible[i] <= bound)
            list.push_back({double(e.r), double(e.g), double(e.b), double(nearestPossible[i]), int(i)});
    }
    std::stable_sort(list.begin(), list.end(),
        [](const Candidate& a, const Candidate& b) { return a.leastDistance < b.leastDistance; });
    return list;
}

int PaletteSearch::scan(double r, double g, double b, int hint) const
{
    const double key = m_keyChannel == 0 ? r : (m_keyChannel == 1 ? g : b);
    double best = std::numeric_limits<double>::infinity();
    int bestIndex = -1;
    const auto consider = [&](const Entry& e) {
        const double dr = r - e.r;
        const double dg = g - e.g;
        const double db = b - e.b;
        const double d = dr * dr + dg * dg + db * db;
        if (d < best || (d == best && e.index < bestIndex)) {
            best = d;
            bestIndex = e.index;
        }
    };
    // A close first answer tightens the bound at once; it changes which entries are looked at, never
    // which one wins.
    if (hint >= 0 && std::size_t(hint) < m_position.size())
        consider(m_entries[m_position[std::size_t(hint)]]);
    // The squared key distance never exceeds the full distance (adding non-negative terms never rounds
    // down), and it grows as the scan moves outward, so an entry whose key alone is farther than the best
    // cannot win, nor can any beyond it. Equal is not enough to stop: an earlier entry may tie.
    const auto start = std::lower_bound(
        m_entries.begin(), m_entries.end(), key, [](const Entry& e, double k) { return e.key < k; });
    for (auto it = start; it != m_entries.end(); ++it) {
        const double dk = key - it->key;
        if (dk * dk > best)
            break;
        consider(*it);
    }
    for (auto it = start; it != m_entries.begin();) {
        --it;
        const double dk = key - it->key;
        if (dk * dk > best)
            break;
        consider(*it);
    }
    return bestIndex;
}

} // namespace plenoria
