#include "app/SettingsSegmentedPicker.h"

#include "imaging/model/Theme.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace plenoria {

namespace {

constexpr int segmentPadding = 14;
constexpr int segmentHeight = 26;
constexpr double radius = 6;

} // namespace

SettingsSegmentedPicker::SettingsSegmentedPicker(const QStringList& labels, QWidget* parent)
    : QWidget(parent)
    , m_labels(labels)
{
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(
        ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, this, qOverload<>(&QWidget::update));
}

void SettingsSegmentedPicker::setCurrentIndex(int index)
{
    if (index < 0 || index >= m_labels.size() || index == m_current)
        return;
    m_current = index;
    update();
}

int SettingsSegmentedPicker::segmentWidth() const
{
    const QFontMetrics metrics(font());
    int widest = 0;
    for (const QString& label : m_labels)
        widest = std::max(widest, metrics.horizontalAdvance(label));
    // Equal segments, as the platform's segmented control draws them.
    return widest + 2 * segmentPadding;
}

QSize SettingsSegmentedPicker::sizeHint() const
{
    return {segmentWidth() * static_cast<int>(m_labels.size()) + 1, segmentHeight};
}

QRect SettingsSegmentedPicker::segmentRect(int index) const
{
    const int segment = segmentWidth();
    return {index * segment, 0, segment, segmentHeight};
}

void SettingsSegmentedPicker::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(0, 0, sizeHint().width(), segmentHeight).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath outline;
    outline.addRoundedRect(box, radius, radius);
    painter.fillPath(outline, Theme::background());

    painter.save();
    painter.setClipPath(outline);
    QColor chosen = Theme::moss();
    if (!isEnabled())
        chosen.setAlphaF(0.4f);
    painter.fillRect(segmentRect(m_current), chosen);
    painter.restore();

    painter.setPen(QPen(Theme::rule(), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(outline);
    for (int index = 1; index < m_labels.size(); ++index) {
        if (index == m_current || index == m_current + 1)
            continue;
        const double x = segmentRect(index).left() + 0.5;
        painter.drawLine(QPointF(x, 5), QPointF(x, segmentHeight - 5));
    }

    for (int index = 0; index < m_labels.size(); ++index) {
        painter.setPen(index == m_current ? QColor(Qt::white) : Theme::ink());
        painter.drawText(segmentRect(index), Qt::AlignCenter, m_labels.at(index));
    }
    if (hasFocus() && m_keyboardFocus) {
        QColor ring = Theme::moss();
        ring.setAlphaF(0.5f);
        painter.setPen(QPen(ring, 2));
        painter.drawRoundedRect(box.adjusted(1, 1, -1, -1), radius - 1, radius - 1);
    }
}

void SettingsSegmentedPicker::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    for (int index = 0; index < m_labels.size(); ++index) {
        if (segmentRect(index).contains(event->position().toPoint())) {
            choose(index);
            return;
        }
    }
}

void SettingsSegmentedPicker::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left:
        choose(std::max(0, m_current - 1));
        return;
    case Qt::Key_Right:
        choose(std::min(static_cast<int>(m_labels.size()) - 1, m_current + 1));
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void SettingsSegmentedPicker::choose(int index)
{
    setCurrentIndex(index);
    emit activated(index);
}

void SettingsSegmentedPicker::focusInEvent(QFocusEvent* event)
{
    m_keyboardFocus = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
    QWidget::focusInEvent(event);
}

void SettingsSegmentedPicker::focusOutEvent(QFocusEvent* event)
{
    m_keyboardFocus = false;
    QWidget::focusOutEvent(event);
}

} // namespace plenoria
