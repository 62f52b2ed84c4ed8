#include "inspectors/controls/ElidedLabel.h"

#include "imaging/model/Theme.h"

#include <QPainter>

namespace plenoria {

ElidedLabel::ElidedLabel(const QString& text, const QFont& font, ThemedLabel::ColorRole color,
    Qt::TextElideMode mode, QWidget* parent)
    : QWidget(parent)
    , m_text(text)
    , m_color(color)
    , m_mode(mode)
{
    setFont(font);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    connect(
        ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, this, qOverload<>(&QWidget::update));
}

void ElidedLabel::setText(const QString& text)
{
    if (m_text == text)
        return;
    m_text = text;
    updateGeometry();
    update();
}

void ElidedLabel::setColorRole(ThemedLabel::ColorRole color)
{
    m_color = color;
    update();
}

void ElidedLabel::setAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment;
    update();
}

QSize ElidedLabel::sizeHint() const
{
    const QFontMetrics metrics(font());
    return {metrics.horizontalAdvance(m_text) + 1, metrics.height()};
}

QSize ElidedLabel::minimumSizeHint() const
{
    const QFontMetrics metrics(font());
    return {std::min(sizeHint().width(), metrics.horizontalAdvance(QStringLiteral("M…M"))), metrics.height()};
}

QString ElidedLabel::shownText() const
{
    return QFontMetrics(font()).elidedText(m_text, m_mode, width());
}

void ElidedLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(m_color());
    painter.setFont(font());
    painter.drawText(rect(), int(m_alignment), shownText());
}

} // namespace plenoria
