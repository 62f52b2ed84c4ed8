#pragma once

#include "Binding.h"

#include <QWidget>

namespace plenoria {

class FieldMarksSlider;
class ThemedLabel;

// One row of the tone inspector: the label and the signed value over a slider from −1 to 1. The
// value reads faint while it does nothing (below ±0.005) and in the accent once it acts.
class ToneSlider : public QWidget {
    Q_OBJECT
public:
    ToneSlider(const QString& label, Binding<double> value, QWidget* parent = nullptr);

    // The value as a whole percentage: "0", "+13", "−42" (with a true minus sign).
    static QString toneValueText(double value);

    FieldMarksSlider* slider() const { return m_slider; }
    QString valueText() const;
    // The value label's colour as drawn.
    QColor valueColor() const;
    void refresh();

signals:
    // After each write the slider made.
    void edited();

private:
    Binding<double> m_value;
    ThemedLabel* m_valueLabel;
    FieldMarksSlider* m_slider;
};

} // namespace plenoria
