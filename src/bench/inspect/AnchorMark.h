#pragma once

#include <QPainterPath>
#include <QRectF>

namespace plenoria {

// The little shape in each cell of the anchor grid, pointing at where the original sits inside the
// grown canvas: a dot for the centre, a bar along the middle of a side, a bracket in a corner.
class AnchorMark {
public:
    AnchorMark() = delete;

    static constexpr double barThickness = 2;
    static constexpr double margin = 3;
    static constexpr double dotDiameter = 7;

    // The filled shape for anchor (h, v), each 0, 1 or 2, in `rect` (the cell's 18 × 18 area).
    static QPainterPath path(qint64 h, qint64 v, const QRectF& rect);
};

} // namespace plenoria
