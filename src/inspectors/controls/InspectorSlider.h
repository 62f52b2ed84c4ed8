#pragma once

#include "inspectors/controls/Binding.h"
#include "inspectors/controls/ThemedLabel.h"

#include <QWidget>
#include <functional>

namespace plenoria {

class FieldMarksSlider;

// A labelled slider of an inspector: a header with the label at the left and the formatted value
// at the right, over a FieldMarksSlider on the same binding, whose accessible value is the header's
// text. `refresh` re-reads the binding (the owner calls it when the value changed elsewhere).
class InspectorSlider : public QWidget {
    Q_OBJECT
public:
    using Format = std::function<QString(double)>;
    // The value text's colour for a value; the ink when none is set.
    using ValueColor = std::function<ThemedLabel::ColorRole(double)>;

    InspectorSlider(const QString& label, Binding<double> value, double lower, double upper, Format format,
        QWidget* parent = nullptr);

    FieldMarksSlider* slider() const { return m_slider; }
    // The header's value text, `format` of the bound value.
    QString valueText() const;
    // The value text's colour as drawn.
    QColor valueColor() const;
    void setValueColor(ValueColor color);
    void setBinding(Binding<double> value);
    void setRange(double lower, double upper);
    void refresh();

private:
    Binding<double> m_value;
    Format m_format;
    ValueColor m_valueColor;
    ThemedLabel* m_valueLabel;
    FieldMarksSlider* m_slider;
};

} // namespace plenoria
