#pragma once

#include <QString>
#include <optional>
#include <set>
#include <variant>

namespace plenoria {

// Where a colour key applies: every pixel near the colour, or only the region joined to the border.
enum class KeyReach { everywhere, fromTheBorder };

// Removes pixels near a colour. `threshold` and `softness` are nominally 0…1 and clamped at use.
struct ColorKey {
    QString hex;
    KeyReach reach = KeyReach::everywhere;
    double threshold = 0;
    double softness = 0;
    bool operator==(const ColorKey&) const = default;
};

// Keeps the detected foreground instances numbered in `included`; absent keeps every instance.
struct SubjectKey {
    std::optional<std::set<qint64>> included;
    bool operator==(const SubjectKey&) const = default;
};

// Removes nothing.
struct NoKey {
    bool operator==(const NoKey&) const = default;
};

using GroundKey = std::variant<ColorKey, SubjectKey, NoKey>;

// An opaque colour composited behind the image.
struct ColorFill {
    QString hex;
    bool operator==(const ColorFill&) const = default;
};

// Nothing put behind the image.
struct TransparentFill {
    bool operator==(const TransparentFill&) const = default;
};

using GroundFill = std::variant<ColorFill, TransparentFill>;

// What a ground treatment removes, then what it puts behind what remains.
struct GroundSpec {
    GroundKey key = NoKey{};
    GroundFill fill = TransparentFill{};
    bool operator==(const GroundSpec&) const = default;
};

} // namespace plenoria
