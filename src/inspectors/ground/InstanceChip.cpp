#include "inspectors/ground/InstanceChip.h"

#include "imaging/model/Theme.h"

#include <QPainter>

namespace plenoria {

InstanceChip::InstanceChip(const QString& label, bool isOn, QWidget* parent)
    : QAbstractButton(parent)
    , m_on(isOn)
{
    setText(label);
    setFont(Theme::monospacedFont(11));
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setFixedSize(side, side);
    connect(
        ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, this, qOverload<>(&QWidget::update));
}

void InstanceChip::setOn(bool on)
{
    if (on == m_on)
        return;
    m_on = on;
    update();
}

void InstanceChip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double stroke = m_on ? 2 : 1;
    const QRectF box = QRectF(rect()).adjusted(stroke / 2, stroke / 2, -stroke / 2, -stroke / 2);
    painter.setPen(QPen(m_on ? Theme::moss() : Theme::rule(), stroke));
    painter.setBrush(m_on ? withOpacity(Theme::moss(), 0.25) : QColor(Qt::transparent));
    painter.drawRoundedRect(box, 4, 4);
    painter.setPen(Theme::ink());
    painter.setFont(font());
    painter.drawText(rect(), Qt::AlignCenter, text());
}

} // namespace plenoria
