#pragma once

#include "bench/inspect/InspectorPage.h"
#include "imaging/model/TreatmentKind.h"

namespace plenoria {

struct OriginalSummary;

// Which page the inspector pane shows for each kind of row: the one place where an editor plugs in.
class InspectorRouting {
public:
    InspectorRouting() = delete;

    // The page of `kind`'s rows, made when the pane switches to that kind.
    static InspectorPage* pageFor(TreatmentKind kind, BenchModel& model);
    // The page shown while no row is selected.
    static InspectorPage* originalPage(const OriginalSummary& summary, BenchModel& model);
};

} // namespace plenoria
