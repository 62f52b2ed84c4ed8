#include "inspectors/controls/ProminentButton.h"

#include "imaging/model/Theme.h"

#include <QPainter>

namespace plenoria {

ProminentButton::ProminentButton(const QString& text, ControlSize size, QWidget* parent)
    : QPushButton(text, parent)
    , m_size(size)
{
    QFont font = this->font();
    font.setPixelSize(size == ControlSize::large ? 15 : 13);
    font.setWeight(QFont::Medium);
    setFont(font);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(
        ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, this, qOverload<>(&QWidget::update));
}

QMargins ProminentButton::padding() const
{
    return m_size == ControlSize::large ? QMargins(20, 8, 20, 8) : QMargins(12, 4, 12, 4);
}

QSize ProminentButton::sizeHint() const
{
    const QFontMetrics metrics(font());
    const QMargins margins = padding();
    return {metrics.horizontalAdvance(text()) + margins.left() + margins.right(),
        metrics.height() + margins.top() + margins.bottom()};
}

void ProminentButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor fill = Theme::moss();
    if (!isEnabled())
        fill.setAlphaF(0.4f);
    else if (isDown())
        fill = fill.darker(125);
    else if (underMouse())
        fill = fill.lighter(108);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(box, 6, 6);
    if (hasFocus()) {
        QColor ring = Theme::moss();
        ring.setAlphaF(0.5f);
        painter.setPen(QPen(ring, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(box.adjusted(1, 1, -1, -1), 5, 5);
    }
    painter.setPen(QColor(Qt::white));
    painter.setFont(font());
    painter.drawText(rect(), Qt::AlignCenter, text());
}

} // namespace plenoria
