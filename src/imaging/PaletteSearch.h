#pragma once

#include "ColorQuantization.h"

#include <vector>

namespace plenoria {

// The nearest palette entry to a colour by squared distance, ties going to the earlier entry: exactly what
// a linear scan of the palette gives, found by scanning outward along the palette's widest channel and
// stopping once that channel alone is farther than the best match. Immutable after construction.
class PaletteSearch {
public:
    explicit PaletteSearch(const Palette& palette);

    // Index into the palette; -1 for an empty palette.
    int nearest(double r, double g, double b) const;

private:
    struct Entry {
        double key; // the channel the entries are sorted by
        double r, g, b;
        int index;
    };
    std::vector<Entry> m_entries;
    int m_keyChannel = 0;
};

} // namespace plenoria
