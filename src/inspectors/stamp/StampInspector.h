#pragma once

#include "imaging/model/StampSpec.h"
#include "inspectors/controls/Binding.h"
#include "inspectors/controls/InspectorColumn.h"

#include <QSizeF>
#include <functional>

namespace plenoria {

class BorderedButton;
class ElidedLabel;
class InspectorSlider;
class StampThumbnail;

// The editor of a stamp row: its picture and name with "Replace…", one-click placements, and its
// width, rotation and opacity, each written through the binding to the row's spec. `inputSize` is
// the pixel size of the image entering the row (0 × 0 when that cannot be rendered); the width range
// follows it. "Replace…" calls `onReplaceImage`, which puts the new picture into the row itself.
class StampInspector : public InspectorColumn {
    Q_OBJECT
public:
    StampInspector(Binding<StampSpec> spec, QSizeF inputSize, std::function<void()> onReplaceImage,
        QWidget* parent = nullptr);

    // Another row, or the same row after a change: shows it afresh.
    void setInputs(Binding<StampSpec> spec, QSizeF inputSize);
    void setOnReplaceImage(std::function<void()> onReplaceImage);
    void refresh();

    // "Center" and "Fit width", each one write of the whole spec.
    void centerStamp();
    void fitWidth();

    StampThumbnail* thumbnail() const { return m_thumbnail; }
    ElidedLabel* nameLabel() const { return m_name; }
    BorderedButton* replaceButton() const { return m_replace; }
    InspectorSlider* widthSlider() const { return m_width; }
    InspectorSlider* rotationSlider() const { return m_rotation; }
    InspectorSlider* opacitySlider() const { return m_opacity; }

private:
    Binding<double> numberBinding(double StampSpec::*field);
    QWidget* pictureRow();
    QWidget* placeSection();
    void write(const StampSpec& spec);

    Binding<StampSpec> m_spec;
    QSizeF m_inputSize;
    std::function<void()> m_onReplaceImage;
    StampThumbnail* m_thumbnail = nullptr;
    ElidedLabel* m_name = nullptr;
    BorderedButton* m_replace = nullptr;
    InspectorSlider* m_width = nullptr;
    InspectorSlider* m_rotation = nullptr;
    InspectorSlider* m_opacity = nullptr;
};

} // namespace plenoria
