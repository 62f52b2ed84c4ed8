#pragma once

#include "bench/model/BenchModel.h"

#include <QWidget>

namespace plenoria {

class FramesTimeline;

// The place under the canvas for the frames timeline: shown, below a divider, only for a source of
// more than one frame. With a frames row selected the timeline edits that row over the frames that
// enter it; otherwise it shows, read-only, the timing of what the canvas plays. Either way it writes
// the playhead, and the editable one the bench's frame selection.
class TimelineHost : public QWidget {
    Q_OBJECT
public:
    explicit TimelineHost(BenchModel& model, QWidget* parent = nullptr);

    // Whether the source has a timeline at all.
    static bool hasTimeline(const BenchModel& model);

    FramesTimeline* timeline() const { return m_timeline; }

private:
    void modelChanged(BenchModel::Changes changes);
    // Binds the timeline to the selected frames row, or to the plan the canvas plays.
    void bindTimeline();

    BenchModel& m_model;
    FramesTimeline* m_timeline;
};

} // namespace plenoria
