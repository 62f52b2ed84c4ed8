#pragma once

#include "inspectors/controls/InspectorColumn.h"
#include "inspectors/frames/FramesInspectorModel.h"

class QPushButton;

namespace plenoria {

class NumericField;
class ThemedLabel;

// The editor of a frames row: selects frame positions by rule (all, none, repeated frames, all but
// one in every N) and changes the selected ones (skip, keep, a delay), or reverses the whole order.
// It acts on the same selection that clicks on the bench's timeline build. Everything it shows is
// read from its sources; the owner calls `refresh` when they change, and the panel refreshes itself
// after its own edits.
class FramesInspector : public InspectorColumn {
    Q_OBJECT
public:
    explicit FramesInspector(QWidget* parent = nullptr);

    // Takes the row's spec, the shared selection and the frames the row receives, and shows them.
    void setSources(
        Binding<FramesSpec> spec, Binding<FrameSelection> selection, std::vector<QImage> inputFrames);
    void refresh();

    FramesInspectorModel& model() { return m_model; }
    QPushButton* allButton() const { return m_all; }
    QPushButton* noneButton() const { return m_none; }
    QPushButton* duplicatesButton() const { return m_duplicates; }
    QPushButton* restButton() const { return m_rest; }
    QPushButton* skipButton() const { return m_skip; }
    QPushButton* keepButton() const { return m_keep; }
    QPushButton* applyButton() const { return m_apply; }
    QPushButton* reverseButton() const { return m_reverse; }
    NumericField* everyNthField() const { return m_everyNthField; }
    NumericField* delayField() const { return m_delayField; }
    // The fast-delay warning; hidden unless the delay to apply is 1 to 19 ms.
    ThemedLabel* warning() const { return m_warning; }

private:
    QWidget* buildSelectSection();
    QWidget* buildModifySection();
    QWidget* buildUniversalSection();
    QPushButton* button(const QString& title, void (FramesInspectorModel::*action)());
    // Runs one of the model's actions, then shows its result.
    void act(const std::function<void()>& action);

    FramesInspectorModel m_model;
    QPushButton* m_all = nullptr;
    QPushButton* m_none = nullptr;
    QPushButton* m_duplicates = nullptr;
    QPushButton* m_rest = nullptr;
    QPushButton* m_skip = nullptr;
    QPushButton* m_keep = nullptr;
    QPushButton* m_apply = nullptr;
    QPushButton* m_reverse = nullptr;
    NumericField* m_everyNthField = nullptr;
    NumericField* m_delayField = nullptr;
    ThemedLabel* m_warning = nullptr;
};

} // namespace plenoria
