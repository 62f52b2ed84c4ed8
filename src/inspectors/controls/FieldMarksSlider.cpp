#include "inspectors/controls/FieldMarksSlider.h"

#include "imaging/model/Theme.h"
#include "inspectors/controls/FieldMarksSliderAccessible.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>

namespace plenoria {

FieldMarksSlider::FieldMarksSlider(
    const QString& label, Binding<double> value, double lower, double upper, QWidget* parent)
    : QWidget(parent)
    , m_label(label)
    , m_value(std::move(value))
    , m_lower(lower)
    , m_upper(upper)
{
    FieldMarksSliderAccessible::install();
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAccessibleName(label);
    connect(
        ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, this, qOverload<>(&QWidget::update));
}

void FieldMarksSlider::setValueText(const QString& text)
{
    if (text == m_valueText)
        return;
    m_valueText = text;
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(this, text);
        QAccessible::updateAccessibility(&event);
    }
}

void FieldMarksSlider::setBinding(Binding<double> value)
{
    m_value = std::move(value);
    update();
}

void FieldMarksSlider::setRange(double lower, double upper)
{
    m_lower = lower;
    m_upper = upper;
    update();
}

QRectF FieldMarksSlider::trackRect() const
{
    return QRectF(inset, (height() - trackHeight) / 2, std::max(width() - 2 * inset, 0), trackHeight);
}

double FieldMarksSlider::fillWidth() const
{
    const double span = m_upper - m_lower;
    const double fraction = span > 0 ? std::clamp((m_value.get() - m_lower) / span, 0.0, 1.0) : 0.0;
    return fraction * std::max(trackRect().width(), 1.0);
}

void FieldMarksSlider::step(int direction)
{
    const double span = m_upper - m_lower;
    write(m_value.get() + direction * stepFraction * span);
}

void FieldMarksSlider::write(double value)
{
    // A zero span has one value to write; std::clamp needs lower ≤ upper.
    const double high = std::max(m_lower, m_upper);
    m_value.set(std::clamp(value, m_lower, high));
    update();
    emit edited();
}

void FieldMarksSlider::writeAt(double x)
{
    const double t = std::min((x - inset) / std::max(trackRect().width(), 1.0), 1.0);
    write(t <= 0 ? m_lower : m_lower + t * (m_upper - m_lower));
}

QSize FieldMarksSlider::sizeHint() const
{
    return {2 * inset + 160, 28};
}

QSize FieldMarksSlider::minimumSizeHint() const
{
    return {2 * inset + 20, 28};
}

void FieldMarksSlider::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF track = trackRect();
    const double radius = trackHeight / 2;
    painter.setPen(Qt::NoPen);
    painter.setBrush(Theme::rule());
    painter.drawRoundedRect(track, radius, radius);
    const double fill = fillWidth();
    painter.setBrush(Theme::moss());
    painter.drawRoundedRect(QRectF(track.left(), track.top(), fill, trackHeight), radius, radius);

    const QPointF centre(track.left() + fill, height() / 2.0);
    // The shadow: black at 0.32, blurred by 3, one point down.
    const double knobRadius = knobDiameter / 2;
    QRadialGradient shadow(centre + QPointF(0, 1), knobRadius + 3);
    shadow.setColorAt(0, QColor(0, 0, 0, 82));
    shadow.setColorAt(knobRadius / (knobRadius + 3), QColor(0, 0, 0, 82));
    shadow.setColorAt(1, QColor(0, 0, 0, 0));
    painter.setBrush(shadow);
    painter.drawEllipse(centre + QPointF(0, 1), knobRadius + 3, knobRadius + 3);

    painter.setPen(QPen(Theme::rule(), 1));
    painter.setBrush(Theme::raised());
    painter.drawEllipse(centre, knobRadius - 0.5, knobRadius - 0.5);
    painter.setPen(QPen(withOpacity(Theme::moss(), m_focused ? 0.55 : 0.32), ringWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, ringDiameter / 2, ringDiameter / 2);
}

void FieldMarksSlider::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    writeAt(event->position().x());
}

void FieldMarksSlider::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() & Qt::LeftButton)
        writeAt(event->position().x());
}

void FieldMarksSlider::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left:
        step(-1);
        event->accept();
        return;
    case Qt::Key_Right:
        step(+1);
        event->accept();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void FieldMarksSlider::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    setFocused(true);
}

void FieldMarksSlider::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    setFocused(false);
}

void FieldMarksSlider::setFocused(bool focused)
{
    m_focused = focused;
    update();
}

} // namespace plenoria
