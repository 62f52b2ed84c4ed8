#include "inspectors/controls/ThemedLabel.h"

#include "imaging/model/Theme.h"

#include <QPainter>

namespace plenoria {

ThemedLabel::ThemedLabel(const QString& text, const QFont& font, ColorRole color, QWidget* parent)
    : QLabel(text, parent)
    , m_color(color)
{
    setFont(font);
    applyColor();
    connect(ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, this, &ThemedLabel::applyColor);
}

void ThemedLabel::setColorRole(ColorRole color)
{
    m_color = color;
    applyColor();
}

void ThemedLabel::applyColor()
{
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, m_color());
    palette.setColor(QPalette::Text, m_color());
    setPalette(palette);
}

} // namespace plenoria
