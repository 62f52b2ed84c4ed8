#pragma once

class QPainter;
class QRectF;

namespace plenoria {

// The ground that shows transparency: 10-point cells of two light greys (0.8 on 0.92), starting
// with a darker cell at the area's top-left corner and cut off at its far edges. The same in both
// appearances, like the transparency it stands for.
class Checkerboard {
public:
    Checkerboard() = delete;

    static constexpr double cellSize = 10;

    // Fills `area` (in the painter's coordinates) with the board.
    static void paint(QPainter& painter, const QRectF& area);
};

} // namespace plenoria
