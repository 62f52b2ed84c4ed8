#pragma once

#include "imaging/read/ImageItem.h"

#include <QList>

namespace plenoria {

// The file table's columns, in display order; each sorts by one value of `ImageItem`.
enum class SortColumn { name, type, size, pixels, timing };

struct SortKey {
    SortColumn column = SortColumn::name;
    bool ascending = true;
    bool operator==(const SortKey&) const = default;
};

// The list's order: comparators applied in turn, each breaking the ties of the one before. Items
// that tie on every key keep the order they came in (the folder's listing order).
struct SortOrder {
    QList<SortKey> keys{SortKey{}};

    QList<ImageItem> sorted(QList<ImageItem> items) const;
    // The order after a click on a column header: that column first; a click on the column that
    // already leads reverses it, any other keeps its direction (ascending when new).
    SortOrder afterHeaderClick(SortColumn column) const;

    bool operator==(const SortOrder&) const = default;
};

// Compares file names the way a file manager lists them: runs of digits as numbers, letter case
// and accents only breaking ties, and a plain comparison last so that no two names tie.
int compareFilenames(const QString& a, const QString& b);

} // namespace plenoria
