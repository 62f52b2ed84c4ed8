#pragma once

#include <QPalette>

namespace plenoria {

// The one application palette, built from the theme's roles for the theme's current appearance:
// window and view grounds, inks, the accent (`Theme::moss`) for selections and links, and muted
// inks for disabled controls.
QPalette themePalette();

} // namespace plenoria
