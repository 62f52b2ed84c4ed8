#include "bench/sheets/SegmentButton.h"

#include "imaging/model/Theme.h"

#include <QFocusEvent>
#include <QPainter>
#include <QPainterPath>

namespace plenoria {

namespace {

constexpr int segmentHeight = 24;
constexpr double radius = 6;

} // namespace

SegmentButton::SegmentButton(const QString& text, Position position, QWidget* parent)
    : QAbstractButton(parent)
    , m_position(position)
{
    setText(text);
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    connect(
        ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, this, qOverload<>(&QWidget::update));
}

QSize SegmentButton::sizeHint() const
{
    return {fontMetrics().horizontalAdvance(text()) + 24, segmentHeight};
}

void SegmentButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // The shape of the whole row, cut to this segment: only the row's ends are rounded.
    QRectF shape = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (m_position != Position::first)
        shape.setLeft(shape.left() - 2 * radius);
    if (m_position != Position::last)
        shape.setRight(shape.right() + 2 * radius);
    QPainterPath outline;
    outline.addRoundedRect(shape, radius, radius);
    painter.setClipRect(rect());

    QColor fill = isChecked() ? Theme::moss() : Theme::raised();
    if (isDown())
        fill = fill.darker(110);
    painter.fillPath(outline, fill);
    painter.setPen(QPen(Theme::rule(), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(outline);
    if (m_position != Position::last)
        painter.drawLine(QPointF(width() - 0.5, 0), QPointF(width() - 0.5, height()));
    if (hasFocus() && m_keyboardFocus) {
        QColor ring = Theme::moss();
        ring.setAlphaF(0.5f);
        painter.setPen(QPen(ring, 2));
        painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
    painter.setPen(isChecked() ? QColor(Qt::white) : Theme::ink());
    painter.drawText(rect(), Qt::AlignCenter, text());
}

void SegmentButton::focusInEvent(QFocusEvent* event)
{
    m_keyboardFocus = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
    QAbstractButton::focusInEvent(event);
}

void SegmentButton::focusOutEvent(QFocusEvent* event)
{
    m_keyboardFocus = false;
    QAbstractButton::focusOutEvent(event);
}

} // namespace plenoria
