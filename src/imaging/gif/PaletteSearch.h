#pragma once

#include "imaging/gif/ColorQuantization.h"

#include <vector>

namespace plenoria {

// The nearest palette entry to a colour by squared distance, ties going to the earlier entry: exactly what
// a linear scan of the palette gives, found faster. Colours inside 0 … 256 look only at the entries that
// can be nearest anywhere in their cell of a 16 × 16 × 16 grid (worked out for a cell on first use),
// closest first, until no further one can be closer;
// others scan outward along the palette's widest channel. One instance per remap; not thread-safe.
class PaletteSearch {
public:
    explicit PaletteSearch(const Palette& palette);

    // Index into the palette; -1 for an empty palette. `hint`, a likely answer such as the neighbouring
    // pixel's, only makes the search faster.
    int nearest(double r, double g, double b, int hint = -1);

private:
    struct Entry {
        double key; // the channel the entries are sorted by
        double r, g, b;
        int index;
    };
    // An entry that may be nearest somewhere in a cell, and the least squared distance it can have there.
    struct Candidate {
        double r, g, b;
        double leastDistance;
        int index;
    };
    int scan(double r, double g, double b, int hint) const;
    const std::vector<Candidate>& candidates(int cell);

    Palette m_palette;
    std::vector<Entry> m_entries; // by key
    std::vector<std::size_t> m_position; // palette index → position in m_entries
    int m_keyChannel = 0;
    std::vector<std::vector<Candidate>> m_cells; // by leastDistance, then index
    std::vector<char> m_cellReady;
};

} // namespace plenoria
