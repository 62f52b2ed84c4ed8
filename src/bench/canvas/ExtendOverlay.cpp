#include "bench/canvas/ExtendOverlay.h"

#include "bench/canvas/CanvasGeometry.h"
#include "imaging/model/Theme.h"

#include <QPainter>

namespace plenoria {

ExtendOverlay::ExtendOverlay(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    connect(
        ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, this, qOverload<>(&QWidget::update));
}

QRectF ExtendOverlay::outlineRect(QSizeF input, const QRectF& imageRect, const ExtendSpec& spec)
{
    const double scale = input.width() > 0 ? imageRect.width() / input.width() : 1;
    const QRectF grown = extendCanvasRect(input, spec);
    return QRectF(imageRect.left() + grown.left() * scale, imageRect.top() + grown.top() * scale,
        grown.width() * scale, grown.height() * scale);
}

void ExtendOverlay::paint(QPainter& painter, const QRectF& outline)
{
    if (outline.isEmpty())
        return;
    painter.save();
    // Flat caps: square ones would lengthen every dash by the line's width.
    QPen pen(Theme::moss(), 1, Qt::CustomDashLine, Qt::FlatCap);
    pen.setDashPattern({4, 3});
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    // The line lies wholly inside the rectangle.
    painter.drawRect(outline.adjusted(0.5, 0.5, -0.5, -0.5));
    painter.restore();
}

void ExtendOverlay::setOutline(QSizeF input, const QRectF& imageRect, const ExtendSpec& spec)
{
    const QRectF outline = outlineRect(input, imageRect, spec);
    if (outline == m_outline)
        return;
    m_outline = outline;
    update();
}

void ExtendOverlay::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paint(painter, m_outline);
}

} // namespace plenoria
