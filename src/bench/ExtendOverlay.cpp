#include "ExtendOverlay.h"

#include "Theme.h"

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
    const IntSize padding = spec.padding(input);
    // Integer division, truncating toward zero, as the image is placed in the grown canvas.
    const qint64 offX = (spec.anchor.h * padding.width) / 2;
    const qint64 offY = (spec.anchor.v * padding.height) / 2;
    return QRectF(imageRect.left() - double(offX) * scale, imageRect.top() - double(offY) * scale,
        double(spec.width) * scale, double(spec.height) * scale);
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
    if (m_outline.isEmpty())
        return;
    QPainter painter(this);
    QPen pen(Theme::moss(), 1);
    pen.setDashPattern({4, 3});
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    // The line lies wholly inside the rectangle.
    painter.drawRect(m_outline.adjusted(0.5, 0.5, -0.5, -0.5));
}

} // namespace plenoria
