#pragma once

#include "inspectors/controls/InspectorSlider.h"

namespace plenoria {

// One row of the tone inspector: the label and the signed value over a slider from −1 to 1. The
// value reads faint while it does nothing (below ±0.005) and in the accent once it acts.
class ToneSlider : public InspectorSlider {
    Q_OBJECT
public:
    ToneSlider(const QString& label, Binding<double> value, QWidget* parent = nullptr);

    // The value as a whole percentage: "0", "+13", "−42" (with a true minus sign).
    static QString toneValueText(double value);
};

} // namespace plenoria
