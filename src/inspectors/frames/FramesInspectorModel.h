#pragma once

#include "imaging/model/FramesSpec.h"
#include "inspectors/controls/Binding.h"

#include <QImage>
#include <QString>
#include <optional>
#include <vector>

namespace plenoria {

// The frames inspector without widgets: its own two numbers (the delay to apply, N of "1 of every N"),
// what its buttons say and whether they act, and their actions on the bound spec and selection. It
// keeps no copy of either; only selected positions below the number of edits count or are shown.
// Selecting replaces the selection and never the row; modifying replaces the edits and never the
// selection. Main thread only.
class FramesInspectorModel {
public:
    static constexpr qint64 initialDelay = 80;
    static constexpr qint64 initialEveryNth = 2;

    // What the panel shows for the current spec, selection and numbers.
    struct Look {
        bool allEnabled = false;
        bool noneEnabled = false;
        QString duplicatesTitle;
        bool duplicatesEnabled = false;
        bool restEnabled = false;
        bool modifyEnabled = false; // Skip, Keep and the apply button
        QString applyTitle;
        bool showsFastDelayWarning = false;
        bool operator==(const Look&) const = default;
    };

    static const QString fastDelayWarning;

    // The selected row's spec, the bench's frame selection, and the frames the row receives (what an
    // edit's `input` indexes; empty when the source cannot be decoded).
    void setSources(
        Binding<FramesSpec> spec, Binding<FrameSelection> selection, std::vector<QImage> inputFrames);

    qint64 delay() const { return m_delay; }
    void setDelay(qint64 delay) { m_delay = delay; }
    qint64 everyNth() const { return m_everyNth; }
    void setEveryNth(qint64 everyNth) { m_everyNth = everyNth; }

    [[nodiscard]] Look look();
    // Kept edits whose frame repeats the kept frame before them. Counted once per change of the
    // frames or of the edits' inputs and skips, however often the panel is drawn.
    [[nodiscard]] const FrameSelection& duplicates(const FramesSpec& spec);
    // Every position that is not a multiple of N; none for N below 2.
    [[nodiscard]] FrameSelection restSelection(qint64 editCount) const;
    // How many times the duplicates were counted.
    qint64 duplicateCounts() const { return m_duplicateCounts; }

    void selectAll();
    void selectNone();
    void selectDuplicates();
    void selectRest();
    void setSkipped(bool skipped);
    void applyDelay();
    void reverseOrder();

private:
    // What the duplicates depend on: each frame's identity and each edit's input and skip.
    struct DuplicateKey {
        std::vector<qint64> frameKeys;
        std::vector<std::pair<qint64, bool>> edits;
        bool operator==(const DuplicateKey&) const = default;
    };

    void setEdits(std::vector<FrameEdit> edits);

    Binding<FramesSpec> m_spec;
    Binding<FrameSelection> m_selection;
    std::vector<QImage> m_inputFrames;
    std::vector<qint64> m_frameKeys;
    qint64 m_delay = initialDelay;
    qint64 m_everyNth = initialEveryNth;
    std::optional<std::pair<DuplicateKey, FrameSelection>> m_duplicates;
    qint64 m_duplicateCounts = 0;
};

} // namespace plenoria
