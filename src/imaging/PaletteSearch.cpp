#include "PaletteSearch.h"

#include <algorithm>
#include <limits>

namespace plenoria {

namespace {

double channelOf(const RGB8& c, int channel)
{
    return double(channel == 0 ? c.r : (channel == 1 ? c.g : c.b));
}

} // namespace

PaletteSearch::PaletteSearch(const Palette& palette)
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
    std::stable_sort(m_entries.begin(), m_entries.end(), [](const Entry& a, const Entry& b) { return a.key < b.key; });
}

int PaletteSearch::nearest(double r, double g, double b) const
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
    // The squared key distance never exceeds the full distance (adding non-negative terms never rounds
    // down), and it grows as the scan moves outward, so an entry whose key alone is farther than the best
    // cannot win, nor can any beyond it. Equal is not enough to stop: an earlier entry may tie.
    const auto start = std::lower_bound(m_entries.begin(), m_entries.end(), key,
                                        [](const Entry& e, double k) { return e.key < k; });
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
