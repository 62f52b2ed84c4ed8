#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>

namespace plenoria {

// A label whose text colour is a theme role, re-read whenever the appearance changes.
class ThemedLabel : public QLabel {
    Q_OBJECT
public:
    using ColorRole = QColor (*)();

    ThemedLabel(const QString& text, const QFont& font, ColorRole color, QWidget* parent = nullptr);

    void setColorRole(ColorRole color);

private:
    void applyColor();

    ColorRole m_color;
};

} // namespace plenoria
