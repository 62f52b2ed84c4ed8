#pragma once

#include "BenchModel.h"

#include <QWidget>

namespace plenoria {

// The place under the canvas for the frames timeline: shown, below a divider, only for a source of
// more than one frame. The timeline edits the selected frames row, or shows the timing of what the
// canvas plays; it writes the playhead and the frame selection.
class TimelineHost : public QWidget {
    Q_OBJECT
public:
    explicit TimelineHost(BenchModel& model, QWidget* parent = nullptr);

    // Whether the source has a timeline at all.
    static bool hasTimeline(const BenchModel& model);

private:
    BenchModel& m_model;
};

} // namespace plenoria
