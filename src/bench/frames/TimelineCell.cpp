#include "bench/frames/TimelineCell.h"

#include "bench/frames/FramesTimelineModel.h"
#include "imaging/model/Theme.h"
#include "inspectors/controls/NumericField.h"

#include <QMouseEvent>
#include <QPainter>

namespace plenoria {

namespace {

const QString delayFieldToolTip
    = QStringLiteral("Delay in milliseconds. GIF stores hundredths, so this rounds to the nearest 10.");

} // namespace

bool TimelineCell::Look::operator==(const Look& other) const
{
    return edit == other.edit && frame.cacheKey() == other.frame.cacheKey() && selected == other.selected
        && playhead == other.playhead && delayStandsOut == other.delayStandsOut;
}

TimelineCell::TimelineCell(qint64 position, QWidget* parent)
    : QWidget(parent)
    , m_position(position)
{
    setFixedSize(side, side);
    setToolTip(FramesTimelineModel::cellToolTip(m_look.edit, m_position));
}

void TimelineCell::setLook(const Look& look)
{
    if (look == m_look)
        return;
    const bool delayChanged = look.edit.delay != m_look.edit.delay;
    m_look = look;
    setToolTip(FramesTimelineModel::cellToolTip(m_look.edit, m_position));
    applyFieldLook();
    if (m_field && delayChanged)
        m_field->refresh();
    update(thumbnailRect());
}

void TimelineCell::setEditable(bool editable, const Binding<qint64>& delay)
{
    if (editable == (m_field != nullptr))
        return;
    if (editable) {
        m_field = new NumericField(delay, side, this);
        m_field->setToolTip(delayFieldToolTip);
        m_field->move(0, side + fieldGap);
        m_field->show();
        applyFieldLook();
        setFixedSize(side, side + fieldGap + m_field->sizeHint().height());
    } else {
        delete m_field;
        m_field = nullptr;
        setFixedSize(side, side);
    }
}

void TimelineCell::applyFieldLook()
{
    if (m_field)
        m_field->setTextColorRole(m_look.delayStandsOut ? &Theme::rust : &Theme::inkSecondary);
}

void TimelineCell::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    event->accept();
    emit clicked(m_position, event->modifiers());
}

void TimelineCell::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    paintThumbnail(painter);
}

void TimelineCell::paintThumbnail(QPainter& painter) const
{
    const QRectF square = thumbnailRect();
    painter.fillRect(square, Theme::background());
    if (!m_look.frame.isNull()) {
        // The frame itself, scaled as it is drawn: no reduced copy is kept.
        const QSizeF fitted = QSizeF(m_look.frame.size()).scaled(square.size(), Qt::KeepAspectRatio);
        QRectF target(QPointF(), fitted);
        target.moveCenter(square.center());
        painter.drawImage(target, m_look.frame);
    }
    if (m_look.edit.isSkipped) {
        painter.fillRect(square, withOpacity(Theme::background(), 0.55));
        painter.setPen(QPen(Theme::rust(), 1.5, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(4, 40), QPointF(40, 4));
    }
    if (m_look.selected) {
        painter.setPen(QPen(Theme::moss(), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(square.adjusted(1, 1, -1, -1), 3, 3);
    } else {
        painter.setPen(QPen(withOpacity(Theme::inkFaint(), 0.35), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(square.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    }
    if (m_look.playhead) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(Theme::moss());
        painter.drawEllipse(QRectF(2, 2, 5, 5));
    }
}

} // namespace plenoria
