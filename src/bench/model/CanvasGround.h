#pragma once

#include <QString>
#include <array>

namespace plenoria {

// What lies behind the image on the bench's canvas, in the order of the ground buttons: the dark
// and the light preview colours of the preferences, or the checkerboard that shows transparency.
enum class CanvasGround { dark, light, checker };

inline constexpr std::array<CanvasGround, 3> allCanvasGrounds
    = {CanvasGround::dark, CanvasGround::light, CanvasGround::checker};

// "dark", "light", "checker": the raw value that identifies the ground (and the button's tooltip).
inline QString canvasGroundId(CanvasGround ground)
{
    switch (ground) {
    case CanvasGround::dark:
        return QStringLiteral("dark");
    case CanvasGround::light:
        return QStringLiteral("light");
    case CanvasGround::checker:
        return QStringLiteral("checker");
    }
    return {};
}

} // namespace plenoria
