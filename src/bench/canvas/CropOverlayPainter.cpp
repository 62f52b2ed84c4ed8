#include "bench/canvas/CropOverlayPainter.h"

#include "bench/canvas/CropOverlay.h"
#include "imaging/model/Theme.h"

#include <QPainter>
#include <QPainterPath>

namespace plenoria {

void CropOverlayPainter::paint(QPainter& painter, const CropOverlay& overlay)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF kept = overlay.viewRect();

    // Only the image outside the rectangle is darkened, never the ground around it.
    QPainterPath dimmed;
    dimmed.setFillRule(Qt::OddEvenFill);
    dimmed.addRect(overlay.displayRect());
    dimmed.addRect(kept);
    painter.fillPath(dimmed, QColor(0, 0, 0, 115));

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Theme::moss(), 1.5, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter.drawRect(kept);

    QColor face(Qt::white);
    face.setAlphaF(0.9f);
    painter.setBrush(face);
    painter.setPen(QPen(Theme::moss(), 1));
    const double radius = CropOverlay::handleDiameter / 2;
    for (const CropOverlay::Corner corner : CropOverlay::allCorners)
        painter.drawEllipse(overlay.cornerPoint(corner), radius, radius);
    painter.restore();
}

} // namespace plenoria
