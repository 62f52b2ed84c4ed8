#pragma once

#include "imaging/model/TextSpec.h"
#include "inspectors/controls/Binding.h"
#include "inspectors/controls/InspectorColumn.h"
#include "inspectors/text/FontUsage.h"

#include <QSizeF>

class QAbstractButton;

namespace plenoria {

class BorderedButton;
class ColorWell;
class FontPicker;
class InspectorSlider;
class TextContentEditor;

// The editor of a text row: its words, font, size, fill and outline, outline width, rotation and
// placement, each written through the binding to the row's spec the moment it changes. `inputSize`
// is the pixel size of the image entering the row (0 × 0 when that cannot be rendered); the size and
// outline ranges follow it and the row. The inspector keeps no copy of the row.
class TextInspector : public InspectorColumn {
    Q_OBJECT
public:
    TextInspector(
        Binding<TextSpec> spec, QSizeF inputSize, FontUsage usage = FontUsage(), QWidget* parent = nullptr);

    // Another row, or the same row after a change: shows it afresh without disturbing the caret.
    void setInputs(Binding<TextSpec> spec, QSizeF inputSize);
    void refresh();

    // The buttons' actions, each one write of the whole spec. Placements measure the text's box now.
    void swapColors();
    void placeTop();
    void placeMiddle();
    void placeBottom();
    void centerHorizontally();

    TextContentEditor* contentEditor() const { return m_content; }
    FontPicker* fontPicker() const { return m_font; }
    InspectorSlider* sizeSlider() const { return m_size; }
    InspectorSlider* outlineWidthSlider() const { return m_outlineWidth; }
    InspectorSlider* rotationSlider() const { return m_rotation; }
    ColorWell* fillWell() const { return m_fill; }
    ColorWell* outlineWell() const { return m_outline; }

private:
    Binding<double> numberBinding(double TextSpec::*field);
    Binding<QColor> colorBinding(QString TextSpec::*field);
    QWidget* colorRow();
    QWidget* placementSection();
    // Writes `spec` and shows the result (the bench refreshes too; a second look changes nothing).
    void write(const TextSpec& spec);

    Binding<TextSpec> m_spec;
    QSizeF m_inputSize;
    TextContentEditor* m_content;
    FontPicker* m_font;
    InspectorSlider* m_size;
    ColorWell* m_fill = nullptr;
    ColorWell* m_outline = nullptr;
    QAbstractButton* m_swap = nullptr;
    InspectorSlider* m_outlineWidth;
    InspectorSlider* m_rotation;
};

} // namespace plenoria
