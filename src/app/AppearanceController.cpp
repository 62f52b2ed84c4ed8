#include "app/AppearanceController.h"

#include "app/DesktopColorScheme.h"
#include "app/ThemePalette.h"
#include "store/Preferences.h"

#include <QApplication>
#include <QPalette>
#include <QToolTip>

namespace plenoria {

AppearanceController::AppearanceController(
    Preferences& prefs, std::unique_ptr<DesktopSchemeSource> desktop, QObject* parent)
    : QObject(parent)
    , m_prefs(prefs)
    , m_desktop(desktop ? desktop.release() : new DesktopColorScheme)
    , m_paletteAppearance(QGuiApplication::palette().color(QPalette::Window).lightness() < 128
              ? Appearance::dark
              : Appearance::light)
{
    m_desktop->setParent(this);
    connect(&m_prefs, &Preferences::themeChanged, this, &AppearanceController::apply);
    connect(m_desktop, &DesktopSchemeSource::preferenceChanged, this, &AppearanceController::apply);
    apply();
    m_desktop->start();
}

Appearance AppearanceController::resolve(
    AppTheme theme, std::optional<Appearance> desktop, Appearance paletteAppearance)
{
    switch (theme) {
    case AppTheme::light:
        return Appearance::light;
    case AppTheme::dark:
        return Appearance::dark;
    case AppTheme::system:
        break;
    }
    return desktop.value_or(paletteAppearance);
}

void AppearanceController::apply()
{
    const Appearance appearance = resolve(m_prefs.theme(), m_desktop->preference(), m_paletteAppearance);
    // The theme first: the palette is built from its colours.
    Theme::setAppearance(appearance);
    QApplication::setPalette(themePalette());
    // Tooltips keep a palette of their own, which the application's does not reach.
    QToolTip::setPalette(themePalette());
}

} // namespace plenoria
