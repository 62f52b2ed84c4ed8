#pragma once

#include <QSizeF>
#include <QtGlobal>

namespace plenoria {

// A size in whole pixels, wide enough for any typed value.
struct IntSize {
    qint64 width = 0;
    qint64 height = 0;
    bool operator==(const IntSize&) const = default;
};

// The size scaled so that its longer side is `longestEdge`, each side rounded half away from zero and
// at least 1; a size whose longer side is 0 comes back unchanged (truncated).
IntSize fitToLongestEdge(qint64 longestEdge, QSizeF size);

} // namespace plenoria
