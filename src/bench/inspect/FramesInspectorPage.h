#pragma once

#include "bench/inspect/InspectorPage.h"

namespace plenoria {

class FramesInspector;

// The frames inspector in the inspector pane: bound to the selected frames row, to the bench's frame
// selection (the one the timeline's clicks build) and to the frames that enter the row.
class FramesInspectorPage : public InspectorPage {
    Q_OBJECT
public:
    explicit FramesInspectorPage(BenchModel& model, QWidget* parent = nullptr);

    FramesInspector* inspector() const { return m_inspector; }
    void refresh(qint64 row, BenchModel::Changes changes) override;

private:
    FramesInspector* m_inspector;
};

} // namespace plenoria
