#include "imaging/model/Theme.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QPalette>
#include <optional>

namespace plenoria {

namespace {

std::optional<Appearance>& chosenAppearance()
{
    static std::optional<Appearance> appearance;
    return appearance;
}

// Until the shell says otherwise, follow the desktop palette's window lightness.
Appearance paletteAppearance()
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return Appearance::light;
    return QGuiApplication::palette().color(QPalette::Window).lightness() < 128 ? Appearance::dark
                                                                                : Appearance::light;
}

QColor adaptive(quint32 dark, quint32 light)
{
    return adaptiveHexColor(Theme::appearance(), dark, light);
}

QColor rgb24(quint32 value)
{
    return QColor(int((value >> 16) & 0xFF), int((value >> 8) & 0xFF), int(value & 0xFF));
}

} // namespace

QColor adaptiveHexColor(Appearance appearance, quint32 dark, quint32 light)
{
    return rgb24(appearance == Appearance::dark ? dark : light);
}

QColor adaptiveAlphaColor(Appearance appearance, double darkOpacity, double lightOpacity)
{
    QColor color = rgb24(appearance == Appearance::dark ? 0xE6E2D2 : 0x211E19);
    color.setAlphaF(float(appearance == Appearance::dark ? darkOpacity : lightOpacity));
    return color;
}

QColor withOpacity(QColor color, double opacity)
{
    color.setAlphaF(float(color.alphaF() * opacity));
    return color;
}

Appearance Theme::appearance()
{
    return chosenAppearance().value_or(paletteAppearance());
}

void Theme::setAppearance(Appearance appearance)
{
    const Appearance before = Theme::appearance();
    chosenAppearance() = appearance;
    if (before != appearance)
        Q_EMIT ThemeNotifier::instance()->appearanceChanged();
}

QColor Theme::background() { return adaptive(0x211E19, 0xE6E2D2); }
QColor Theme::surface() { return adaptive(0x26221D, 0xDFDACA); }
QColor Theme::raised() { return adaptive(0x2E2A24, 0xFBFAF5); }
QColor Theme::hairline() { return adaptiveAlphaColor(appearance(), 0.14, 0.16); }
QColor Theme::rule() { return adaptiveAlphaColor(appearance(), 0.26, 0.30); }
QColor Theme::ink() { return adaptive(0xE6E2D2, 0x211E19); }
QColor Theme::inkSecondary() { return adaptive(0xA39B8A, 0x7C7668); }
QColor Theme::inkFaint() { return adaptive(0x6E6656, 0x9A9078); }
QColor Theme::moss() { return adaptive(0x718E65, 0x47593F); }
QColor Theme::rust() { return adaptive(0xC47353, 0x8C4A30); }
QColor Theme::slate() { return adaptive(0x8089A3, 0x545C74); }
QColor Theme::windowBackground() { return background(); }
QColor Theme::fixedInk() { return rgb24(0x211E19); }
QColor Theme::fixedPaper() { return rgb24(0xE6E2D2); }

QString chooseSerifFamily()
{
    for (const char* name : {"Iowan Old Style", "Palatino", "Georgia", "TeX Gyre Pagella", "P052"}) {
        const QString family = QString::fromLatin1(name);
        if (QFontDatabase::hasFamily(family))
            return family;
    }
    return QStringLiteral("Georgia");
}

QString Theme::serifFamily()
{
    static const QString family = chooseSerifFamily();
    return family;
}

QString Theme::monospacedFamily()
{
    static const QString family = QFontDatabase::hasFamily(QStringLiteral("JetBrains Mono"))
        ? QStringLiteral("JetBrains Mono")
        : QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
    return family;
}

QFont Theme::serifFont(double pixelSize, QFont::Weight weight)
{
    QFont font(serifFamily());
    font.setPixelSize(qMax(1, int(std::round(pixelSize))));
    font.setWeight(weight);
    return font;
}

QFont Theme::monospacedFont(double pixelSize, QFont::Weight weight)
{
    QFont font(monospacedFamily());
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(qMax(1, int(std::round(pixelSize))));
    font.setWeight(weight);
    return font;
}

ThemeNotifier* ThemeNotifier::instance()
{
    static ThemeNotifier notifier;
    return &notifier;
}

} // namespace plenoria
