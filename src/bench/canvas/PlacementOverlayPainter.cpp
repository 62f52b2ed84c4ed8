#include "bench/canvas/PlacementOverlayPainter.h"

#include "imaging/model/Theme.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <numbers>

namespace plenoria {

namespace {

constexpr double glyphStroke = 1.6;

// A filled arrowhead whose tip is at `tip`, pointing along the unit vector `direction`.
void paintArrowhead(QPainter& painter, QPointF tip, QPointF direction)
{
    const QPointF across(-direction.y(), direction.x());
    const QPointF base = tip - direction * 3.2;
    QPainterPath head;
    head.moveTo(tip);
    head.lineTo(base + across * 2.3);
    head.lineTo(base - across * 2.3);
    head.closeSubpath();
    painter.fillPath(head, Qt::white);
}

} // namespace

void PlacementOverlayPainter::paint(QPainter& painter, const PlacementOverlay& overlay)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QSizeF box = overlay.viewBox();
    painter.save();
    painter.translate(overlay.viewCenter());
    painter.rotate(overlay.rotation());
    // Qt counts dashes in line widths: 5 points on, 3 off at 1.5.
    QPen dashed(Theme::moss(), 1.5, Qt::CustomDashLine, Qt::FlatCap, Qt::MiterJoin);
    dashed.setDashPattern({5 / 1.5, 3 / 1.5});
    painter.setPen(dashed);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(-box.width() / 2, -box.height() / 2, box.width(), box.height()));
    painter.restore();

    paintHandle(painter, overlay.handleCenter(PlacementOverlay::Grip::scale), PlacementOverlay::Grip::scale);
    paintHandle(
        painter, overlay.handleCenter(PlacementOverlay::Grip::rotate), PlacementOverlay::Grip::rotate);
    painter.restore();
}

void PlacementOverlayPainter::paintHandle(QPainter& painter, QPointF center, PlacementOverlay::Grip handle)
{
    painter.save();
    painter.translate(center);
    QColor ring(Qt::white);
    ring.setAlphaF(0.9f);
    painter.setPen(QPen(ring, 1));
    painter.setBrush(Theme::moss());
    const double radius = PlacementOverlay::handleDiameter / 2;
    painter.drawEllipse(QPointF(0, 0), radius, radius);
    if (handle == PlacementOverlay::Grip::rotate)
        paintRotateGlyph(painter);
    else
        paintScaleGlyph(painter);
    painter.restore();
}

void PlacementOverlayPainter::paintScaleGlyph(QPainter& painter)
{
    // A diagonal double arrow, up-left to down-right.
    painter.setPen(QPen(Qt::white, glyphStroke, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(-2.4, -2.4), QPointF(2.4, 2.4));
    const double unit = std::numbers::sqrt2 / 2;
    paintArrowhead(painter, QPointF(-4.4, -4.4), QPointF(-unit, -unit));
    paintArrowhead(painter, QPointF(4.4, 4.4), QPointF(unit, unit));
}

void PlacementOverlayPainter::paintRotateGlyph(QPainter& painter)
{
    // An open circle turning clockwise, its head at the top pointing into the gap.
    const double radius = 3.4;
    const QRectF circle(-radius, -radius, 2 * radius, 2 * radius);
    QPainterPath arc;
    arc.arcMoveTo(circle, 110);
    arc.arcTo(circle, 110, 300);
    painter.setPen(QPen(Qt::white, glyphStroke, Qt::SolidLine, Qt::FlatCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(arc);
    const double end = 110 * std::numbers::pi / 180;
    const QPointF tail(radius * std::cos(end), -radius * std::sin(end));
    const QPointF clockwise(std::sin(end), std::cos(end));
    paintArrowhead(painter, tail + clockwise * 2.8, clockwise);
}

} // namespace plenoria
