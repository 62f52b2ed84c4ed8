#pragma once

#include <QString>

namespace plenoria {

// The value texts of the text and stamp inspectors' sliders. Whole numbers are rounded half away
// from zero and written with the ordinary hyphen-minus.
class SliderValueText {
public:
    SliderValueText() = delete;

    // "32px"
    static QString pixels(double value);
    // "-45°"
    static QString degrees(double value);
    // 0.555 → "56%"
    static QString percent(double value);
    // "none" below 0.05, else "1.5px" (one decimal).
    static QString outlineWidth(double value);
};

} // namespace plenoria
