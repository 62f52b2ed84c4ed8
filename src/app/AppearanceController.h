#pragma once

#include "app/DesktopSchemeSource.h"
#include "imaging/model/Theme.h"
#include "store/AppTheme.h"

#include <QObject>
#include <memory>
#include <optional>

namespace plenoria {

class Preferences;

// Applies the theme preference to the whole application: "light" and "dark" force the appearance,
// "system" follows the desktop's colour scheme, else the lightness of the palette the desktop gave
// before ours replaced it. It sets the theme's appearance and the one Fusion palette built from it
// (tooltips included), at once and whenever the preference or the desktop changes.
class AppearanceController : public QObject {
    Q_OBJECT
public:
    // Without a source of its own the controller follows the desktop's settings portal.
    explicit AppearanceController(
        Preferences& prefs, std::unique_ptr<DesktopSchemeSource> desktop = {}, QObject* parent = nullptr);

    static Appearance resolve(
        AppTheme theme, std::optional<Appearance> desktop, Appearance paletteAppearance);

    void apply();

private:
    Preferences& m_prefs;
    DesktopSchemeSource* m_desktop;
    Appearance m_paletteAppearance;
};

} // namespace plenoria
