#pragma once

#include "bench/inspect/InspectorPage.h"

namespace plenoria {

// The inspector pane's pages for ground and tone rows: the inspectors of src/inspectors, handed the
// selected row's binding (and, for ground, the image entering the row and the canvas's colour
// picking) whenever the record, the selection or that image changes.
class GroundAndTonePages {
public:
    GroundAndTonePages() = delete;

    // The ground inspector also learns which row it shows, so that a subject choice is reset only
    // when that same row's input changes, never by selecting another ground row.
    static InspectorPage* ground(BenchModel& model);
    static InspectorPage* tone(BenchModel& model);
};

} // namespace plenoria
