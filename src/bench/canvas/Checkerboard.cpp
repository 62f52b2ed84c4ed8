#include "bench/canvas/Checkerboard.h"

#include <QBrush>
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRectF>

namespace plenoria {

namespace {

// Two cells by two, tiled: a canvas-sized board costs one fill instead of thousands of squares.
const QImage& tile()
{
    // An image, not a pixmap: it may outlive the application object at exit.
    static const QImage image = [] {
        const int side = int(Checkerboard::cellSize) * 2;
        QImage board(side, side, QImage::Format_RGB32);
        board.fill(QColor::fromRgbF(0.92f, 0.92f, 0.92f));
        const QColor dark = QColor::fromRgbF(0.8f, 0.8f, 0.8f);
        const int cell = int(Checkerboard::cellSize);
        {
            QPainter painter(&board);
            painter.fillRect(0, 0, cell, cell, dark);
            painter.fillRect(cell, cell, cell, cell, dark);
        }
        return board;
    }();
    return image;
}

} // namespace

void Checkerboard::paint(QPainter& painter, const QRectF& area)
{
    if (area.isEmpty())
        return;
    QBrush brush(tile());
    brush.setTransform(QTransform::fromTranslate(area.left(), area.top()));
    painter.fillRect(area, brush);
}

} // namespace plenoria
