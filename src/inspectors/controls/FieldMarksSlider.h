#pragma once

#include "inspectors/controls/Binding.h"

#include <QWidget>

namespace plenoria {

// The inspectors' slider: a thin track filled in the accent up to the value, a round knob on it and
// a focus ring around the knob (faint without keyboard focus). A press or drag anywhere on it sets
// the value under the pointer, without snapping; Left and Right step by 2 % of the span and are
// always taken, also at a bound. Writes go through the binding only; the owner passes the value's
// text (shown to accessibility) and calls `update` or `setValueText` when the value changes.
// Accessibility sees one slider named by `label`, with the value text and increase/decrease actions.
class FieldMarksSlider : public QWidget {
    Q_OBJECT
public:
    static constexpr double controlHeight = 18;
    static constexpr double trackHeight = 4;
    static constexpr double knobDiameter = 18;
    static constexpr double ringDiameter = 24;
    static constexpr double ringWidth = 3;
    // Room on each side of the track for the ring, which straddles the ends of the range.
    static constexpr int inset = 14;
    static constexpr double stepFraction = 0.02;

    FieldMarksSlider(
        const QString& label, Binding<double> value, double lower, double upper, QWidget* parent = nullptr);

    QString label() const { return m_label; }
    QString valueText() const { return m_valueText; }
    void setValueText(const QString& text);
    void setBinding(Binding<double> value);
    void setRange(double lower, double upper);
    double lower() const { return m_lower; }
    double upper() const { return m_upper; }
    // The value as the owner holds it (it may lie outside the range).
    double value() const { return m_value.get(); }
    bool isFocused() const { return m_focused; }

    // Where the range lies, in the widget's coordinates; its width is the W of every pointer step.
    QRectF trackRect() const;
    // How much of the track is filled: the value's place in the range, 0 for an empty range.
    double fillWidth() const;
    // Steps the value by `direction` × 2 % of the span, clamped to the range, and writes it.
    void step(int direction);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // After each write through the binding.
    void edited();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void writeAt(double x);
    void write(double value);
    void setFocused(bool focused);

    QString m_label;
    Binding<double> m_value;
    double m_lower;
    double m_upper;
    QString m_valueText;
    bool m_focused = false;
};

} // namespace plenoria
