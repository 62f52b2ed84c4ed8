#pragma once

#include "imaging/model/GroundSpec.h"
#include "inspectors/controls/Binding.h"
#include "inspectors/controls/IconSegmentedPicker.h"
#include "inspectors/controls/InspectorColumn.h"
#include "inspectors/ground/GroundInspectorModel.h"

#include <QImage>
#include <QUuid>
#include <functional>
#include <optional>
#include <vector>

namespace plenoria {

class ColorWell;
class GroundColorKeyPanel;
class InstanceChip;
class SwatchRow;
class ThemedLabel;

// The editor of a ground row: how the background is taken out ("None", "DIY" colour key, "Magic"
// subject key) and what fills the clear area. The bench keeps one while ground rows stay selected
// and hands it each row it shows; the model (`model()`) holds the logic and the view state.
class GroundInspector : public InspectorColumn {
    Q_OBJECT
public:
    explicit GroundInspector(QWidget* parent = nullptr);

    GroundInspectorModel& model() { return m_model; }
    // Shows a ground row (see GroundInspectorModel::setRow) and refreshes every control from it.
    void setRow(const QUuid& row, Binding<GroundSpec> spec, std::optional<QImage> inputImage);
    // The bench's colour sampling, run by "Pick from the image".
    void setOnPickColor(std::function<void()> onPickColor);
    // Shows the row and the view state afresh (the row may have changed elsewhere).
    void refresh();

    IconSegmentedPicker* keyPicker() const { return m_keyPicker; }
    IconSegmentedPicker* fillPicker() const { return m_fillPicker; }
    GroundColorKeyPanel* colorKeyPanel() const { return m_colorKeyPanel; }
    QWidget* subjectPanel() const { return m_subjectPanel; }
    const std::vector<InstanceChip*>& chips() const { return m_chips; }
    // The subject count caption; empty while no chips are shown.
    QString subjectCountText() const;
    QString fillCaption() const;
    QWidget* fillColorRow() const { return m_fillColorRow; }
    ColorWell* fillWell() const { return m_fillWell; }
    QString fillHexText() const;
    SwatchRow* fillSwatches() const { return m_fillSwatches; }

private:
    QWidget* buildRemoveSection();
    QWidget* buildFillSection();
    // Makes one chip per found subject, when the found subjects changed.
    void rebuildChips();

    GroundInspectorModel m_model;
    IconSegmentedPicker* m_keyPicker = nullptr;
    GroundColorKeyPanel* m_colorKeyPanel = nullptr;
    QWidget* m_subjectPanel = nullptr;
    QWidget* m_chipRow = nullptr;
    ThemedLabel* m_subjectCount = nullptr;
    std::vector<InstanceChip*> m_chips;
    std::vector<qint64> m_chipInstances;
    ThemedLabel* m_fillCaption = nullptr;
    IconSegmentedPicker* m_fillPicker = nullptr;
    QWidget* m_fillColorRow = nullptr;
    ColorWell* m_fillWell = nullptr;
    ThemedLabel* m_fillHex = nullptr;
    SwatchRow* m_fillSwatches = nullptr;
};

} // namespace plenoria
