#include "inspectors/controls/BorderedButton.h"

#include "imaging/model/Theme.h"
#include "inspectors/controls/SymbolIcon.h"

#include <QFocusEvent>
#include <QPainter>

namespace plenoria {

namespace {

constexpr int horizontalPadding = 9;
constexpr int verticalPadding = 4;
constexpr double radius = 5;
constexpr int symbolSpacing = 5;

} // namespace

BorderedButton::BorderedButton(const QString& text, QWidget* parent)
    : QPushButton(text, parent)
{
    setFont(Theme::monospacedFont(11));
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setAutoDefault(false);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(
        ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, this, qOverload<>(&QWidget::update));
}

void BorderedButton::setTinted(bool tinted)
{
    if (tinted == m_tinted)
        return;
    m_tinted = tinted;
    update();
}

void BorderedButton::setSymbolName(const QString& name)
{
    if (name == m_symbolName)
        return;
    m_symbolName = name;
    updateGeometry();
    update();
}

int BorderedButton::symbolSide() const
{
    return m_symbolName.isEmpty() ? 0 : QFontMetrics(font()).height();
}

QSize BorderedButton::sizeHint() const
{
    const QFontMetrics metrics(font());
    const int symbol = m_symbolName.isEmpty() ? 0 : symbolSide() + symbolSpacing;
    return {symbol + metrics.horizontalAdvance(text()) + 2 * horizontalPadding,
        metrics.height() + 2 * verticalPadding};
}

void BorderedButton::focusInEvent(QFocusEvent* event)
{
    m_keyboardFocus = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
    QPushButton::focusInEvent(event);
}

void BorderedButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        painter.setOpacity(0.4);
    const QColor fill = m_tinted ? withOpacity(Theme::moss(), 0.22) : Theme::raised();
    const QColor border = m_tinted ? withOpacity(Theme::moss(), 0.6) : Theme::rule();
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(border, 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(box, radius, radius);
    if (isDown()) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(withOpacity(Theme::ink(), 0.12));
        painter.drawRoundedRect(box, radius, radius);
    }
    if (hasFocus() && m_keyboardFocus) {
        painter.setPen(QPen(withOpacity(Theme::moss(), 0.55), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(box.adjusted(1, 1, -1, -1), radius - 1, radius - 1);
    }
    const QColor ink = m_tinted ? Theme::moss() : Theme::ink();
    painter.setPen(ink);
    painter.setFont(font());
    if (m_symbolName.isEmpty()) {
        painter.drawText(rect(), Qt::AlignCenter, text());
        return;
    }
    const int side = symbolSide();
    const int textWidth = QFontMetrics(font()).horizontalAdvance(text());
    const int left = (width() - side - symbolSpacing - textWidth) / 2;
    painter.drawPixmap(QPoint(left, (height() - side) / 2),
        SymbolIcon::pixmap(m_symbolName, side, ink, devicePixelRatioF()));
    painter.drawText(QRect(left + side + symbolSpacing, 0, textWidth + 1, height()),
        Qt::AlignLeft | Qt::AlignVCenter, text());
}

} // namespace plenoria
