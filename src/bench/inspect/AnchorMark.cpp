#include "bench/inspect/AnchorMark.h"

namespace plenoria {

QPainterPath AnchorMark::path(qint64 h, qint64 v, const QRectF& rect)
{
    const double w = rect.width();
    const double hgt = rect.height();
    const double length = 0.6 * w;
    const double t = barThickness;
    const QPointF o = rect.topLeft();
    QPainterPath shape;
    auto bar = [&](double x, double y, double width, double height) {
        shape.addRect(QRectF(o.x() + x, o.y() + y, width, height));
    };

    if (h == 1 && v == 1) {
        shape.addEllipse(rect.center(), dotDiameter / 2, dotDiameter / 2);
    } else if (h == 1) {
        bar((w - length) / 2, v == 0 ? margin : hgt - margin - t, length, t);
    } else if (v == 1) {
        bar(h == 0 ? margin : w - margin - t, (hgt - length) / 2, t, length);
    } else {
        // A corner: a horizontal and a vertical bar meeting at it.
        bar(h == 0 ? margin : w - margin - length, v == 0 ? margin : hgt - margin - t, length, t);
        bar(h == 0 ? margin : w - margin - t, v == 0 ? margin : hgt - margin - length, t, length);
    }
    shape.setFillRule(Qt::WindingFill);
    return shape;
}

} // namespace plenoria
