#pragma once

#include <QString>
#include <vector>

namespace plenoria {

// One tone adjustment as the record list and the tone inspector name it: "bright", "warm", ...
struct ToneAdjustment {
    QString label;
    double value = 0;
    bool operator==(const ToneAdjustment&) const = default;
};

// Seven tone adjustments, each −1…1 with 0 neutral.
struct ToneSpec {
    double highlights = 0;
    double shadows = 0;
    double brightness = 0;
    double contrast = 0;
    double saturation = 0;
    double hue = 0;
    double warmth = 0;

    // An adjustment below this magnitude does nothing, here and in rendering.
    static constexpr double activeThreshold = 0.005;
    static bool isActive(double value);

    // The adjustments that do something, largest magnitude first (ties keep the fixed label order).
    [[nodiscard]] std::vector<ToneAdjustment> activeAdjustments() const;
    // The first two active adjustments as "warm −42 · bright +30", or "neutral".
    [[nodiscard]] QString summary() const;

    bool operator==(const ToneSpec&) const = default;
};

} // namespace plenoria
