#include "collection/chrome/PlainButton.h"

#include "imaging/model/Theme.h"
#include "inspectors/controls/SymbolIcon.h"

#include <QPainter>

namespace plenoria {

PlainButton::PlainButton(const QString& text, const QFont& font, ColorRole color, QWidget* parent)
    : QAbstractButton(parent)
    , m_color(color)
{
    setText(text);
    setFont(font);
    setCursor(Qt::PointingHandCursor);
    // The split area keeps the keyboard focus while browsing; a click here must not take it.
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(
        ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, this, qOverload<>(&QWidget::update));
}

PlainButton* PlainButton::symbol(const QString& symbolName, int symbolSize, ColorRole color, QWidget* parent)
{
    auto* button = new PlainButton(QString(), QFont(), color, parent);
    button->m_symbolName = symbolName;
    button->m_symbolSize = symbolSize;
    button->setAlignment(Qt::AlignCenter);
    return button;
}

void PlainButton::setAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment;
    update();
}

void PlainButton::setFixedContentWidth(int width)
{
    m_fixedWidth = width;
    updateGeometry();
}

QSize PlainButton::sizeHint() const
{
    if (!m_symbolName.isEmpty())
        return {std::max(m_fixedWidth, m_symbolSize + 8), m_symbolSize + 8};
    const QFontMetrics metrics(font());
    const int width = m_fixedWidth > 0 ? m_fixedWidth : metrics.horizontalAdvance(text()) + 2;
    return {width, metrics.height() + 4};
}

QSize PlainButton::minimumSizeHint() const
{
    return sizeHint();
}

void PlainButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QColor color = m_color();
    if (!isEnabled())
        color.setAlphaF(color.alphaF() * disabledOpacity);
    else if (isDown())
        color.setAlphaF(color.alphaF() * 0.7);
    if (!m_symbolName.isEmpty()) {
        const QPixmap pixmap = SymbolIcon::pixmap(m_symbolName, m_symbolSize, color, devicePixelRatioF());
        painter.drawPixmap(QPointF((width() - m_symbolSize) / 2.0, (height() - m_symbolSize) / 2.0), pixmap);
        return;
    }
    painter.setFont(font());
    painter.setPen(color);
    const QString shown = QFontMetrics(font()).elidedText(text(), Qt::ElideRight, width());
    painter.drawText(rect(), int(m_alignment), shown);
}

} // namespace plenoria
