#pragma once

#include "bench/inspect/InspectorPage.h"

namespace plenoria {

// The inspector pane's pages for text and stamp rows: the inspectors of src/inspectors, handed the
// selected row's binding and input size whenever the record or the selection changes.
class TextAndStampPages {
public:
    TextAndStampPages() = delete;

    static InspectorPage* text(BenchModel& model);
    // "Replace…" asks the bench's stamp picker for another image for the selected row.
    static InspectorPage* stamp(BenchModel& model);
};

} // namespace plenoria
