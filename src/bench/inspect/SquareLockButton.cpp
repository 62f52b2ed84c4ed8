#include "bench/inspect/SquareLockButton.h"

#include "imaging/model/Theme.h"

#include <QPainter>

namespace plenoria {

SquareLockButton::SquareLockButton(QWidget* parent)
    : QToolButton(parent)
{
    const QString help = QStringLiteral("Lock width and height to a square");
    setToolTip(help);
    setAccessibleName(help);
    setCheckable(true);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setFixedSize(side, side);
    connect(
        ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, this, qOverload<>(&QWidget::update));
}

void SquareLockButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool locked = isChecked();
    const QRectF face = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(locked ? withOpacity(Theme::moss(), 0.45) : Theme::rule(), 1));
    painter.setBrush(locked ? withOpacity(Theme::moss(), 0.16) : QColor(Qt::transparent));
    painter.drawRoundedRect(face, 4, 4);
    if (hasFocus()) {
        painter.setPen(QPen(withOpacity(Theme::moss(), 0.55), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(face.adjusted(1, 1, -1, -1), 3, 3);
    }
    // The "equal" mark of an 11-point semibold glyph: two bars, 7 wide, 3 apart.
    const QColor mark = locked ? Theme::moss() : Theme::inkFaint();
    const QPointF centre = QRectF(rect()).center();
    painter.fillRect(QRectF(centre.x() - 3.5, centre.y() - 2.75, 7, 1.5), mark);
    painter.fillRect(QRectF(centre.x() - 3.5, centre.y() + 1.25, 7, 1.5), mark);
}

} // namespace plenoria
