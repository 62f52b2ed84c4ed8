#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace plenoria {

// Symbols by freedesktop icon name, drawn as alpha masks in one colour: the icon theme supplies
// the shape only, never its colours. Names the theme lacks and that are known here are painted.
class SymbolIcon {
public:
    SymbolIcon() = delete;

    // A square pixmap of `size` device-independent pixels; a blank one for an unknown name.
    static QPixmap pixmap(const QString& name, int size, const QColor& color, qreal devicePixelRatio = 1);
    // The same for buttons and actions, with the disabled state in the colour at 40 % opacity.
    static QIcon icon(const QString& name, int size, const QColor& color);
    // Whether the icon theme has the name (the painted stand-ins do not count).
    static bool themeHas(const QString& name);
};

} // namespace plenoria
