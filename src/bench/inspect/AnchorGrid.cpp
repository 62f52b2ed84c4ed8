#include "bench/inspect/AnchorGrid.h"

#include "bench/inspect/AnchorMark.h"
#include "imaging/model/Theme.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace plenoria {

AnchorGrid::AnchorGrid(Anchor active, QWidget* parent)
    : QWidget(parent)
    , m_active(active)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAccessibleName(QStringLiteral("Placement anchor"));
    setCursor(Qt::PointingHandCursor);
    connect(
        ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, this, qOverload<>(&QWidget::update));
}

void AnchorGrid::setActive(Anchor active)
{
    if (m_active == active)
        return;
    m_active = active;
    update();
}

QRect AnchorGrid::cellRect(qint64 h, qint64 v)
{
    return QRect(padding + int(h) * (cellFrame + spacing), padding + int(v) * (cellFrame + spacing),
        cellFrame, cellFrame);
}

QSize AnchorGrid::sizeHint() const
{
    const int side = 2 * padding + 3 * cellFrame + 2 * spacing;
    return {side, side};
}

std::optional<Anchor> AnchorGrid::cellAt(const QPoint& point)
{
    for (qint64 v = 0; v < 3; ++v) {
        for (qint64 h = 0; h < 3; ++h) {
            if (cellRect(h, v).contains(point))
                return Anchor{h, v};
        }
    }
    return std::nullopt;
}

void AnchorGrid::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton ? cellAt(event->position().toPoint()) : std::nullopt;
}

void AnchorGrid::mouseReleaseEvent(QMouseEvent* event)
{
    const std::optional<Anchor> pressed = std::exchange(m_pressed, std::nullopt);
    // A button's click: released on the cell it was pressed on.
    if (event->button() == Qt::LeftButton && pressed && cellAt(event->position().toPoint()) == pressed)
        emit picked(*pressed);
}

void AnchorGrid::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(Theme::rule(), 1));
    painter.setBrush(Theme::raised());
    painter.drawRoundedRect(frame, 6, 6);

    for (qint64 v = 0; v < 3; ++v) {
        for (qint64 h = 0; h < 3; ++h) {
            const bool active = m_active.h == h && m_active.v == v;
            const QRectF face = QRectF(cellRect(h, v)).adjusted(1.5, 1.5, -1.5, -1.5);
            if (active) {
                painter.setPen(QPen(withOpacity(Theme::moss(), 0.45), 1));
                painter.setBrush(withOpacity(Theme::moss(), 0.16));
                painter.drawRoundedRect(face.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
            }
            painter.fillPath(AnchorMark::path(h, v, face), active ? Theme::moss() : Theme::inkFaint());
        }
    }
}

} // namespace plenoria
