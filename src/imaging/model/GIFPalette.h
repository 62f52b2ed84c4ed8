#pragma once

#include <QtGlobal>
#include <variant>

namespace plenoria {

// How the GIF writer chooses each frame's colours: `limited` quantizes by median cut to at most
// `colors` (held to 1 … 256), `system` leaves it to the shared reduction (exact colours when they fit).
struct GIFPalette {
    struct Limited {
        qint64 colors = 256;
        bool dither = false;
        bool operator==(const Limited&) const = default;
    };
    struct System {
        bool operator==(const System&) const = default;
    };

    std::variant<Limited, System> choice;

    [[nodiscard]] static GIFPalette limited(qint64 colors, bool dither) { return {Limited{colors, dither}}; }
    [[nodiscard]] static GIFPalette system() { return {System{}}; }

    // Null unless the palette is `limited`.
    const Limited* asLimited() const { return std::get_if<Limited>(&choice); }
    bool isSystem() const { return std::holds_alternative<System>(choice); }

    bool operator==(const GIFPalette&) const = default;
};

} // namespace plenoria
