#include "bench/inspect/InspectorRouting.h"

#include "bench/inspect/CropInspector.h"
#include "bench/inspect/ExtendInspector.h"
#include "bench/inspect/FramesInspectorPage.h"
#include "bench/inspect/GroundAndTonePages.h"
#include "bench/inspect/OriginalSummaryPage.h"
#include "bench/inspect/ResizeInspector.h"
#include "bench/inspect/TextAndStampPages.h"
#include "bench/inspect/WrappedInspectorPage.h"
#include "inspectors/controls/InspectorColumn.h"

namespace plenoria {

namespace {

// A kind whose editor is not here yet: its titled column, empty.
InspectorPage* emptyPage(TreatmentKind kind, BenchModel& model)
{
    return new WrappedInspectorPage(model, new InspectorColumn(treatmentKindTitle(kind)), {});
}

} // namespace

// The inspectors of src/inspectors know nothing of the bench. Each plugs in here as a
// WrappedInspectorPage whose refresh hands it, for the selected row, what it edits and reads:
//   ground  model.specBinding<GroundSpec>(row, current spec), model.groundInputImage(), the
//           canvas's colour sampling as its pick action; its view state lasts across ground rows
//   tone    model.specBinding<ToneSpec>(row, current spec)
//   text    model.specBinding<TextSpec>(row, current spec), model.inputSizeAt(row)
//   stamp   model.specBinding<StampSpec>(row, current spec), model.inputSizeAt(row), and
//           model.replaceStampImage(row) as its "Replace…" action
//   frames  model.specBinding<FramesSpec>(row, current spec), a binding to model.frameSelection(),
//           model.timelineFrames(row)
// Bindings are made afresh on every refresh: the page lives on when another row of the kind is
// selected.
InspectorPage* InspectorRouting::pageFor(TreatmentKind kind, BenchModel& model)
{
    switch (kind) {
    case TreatmentKind::crop:
        return new CropInspector(model);
    case TreatmentKind::extend:
        return new ExtendInspector(model);
    case TreatmentKind::resize:
        return new ResizeInspector(model);
    case TreatmentKind::text:
        return TextAndStampPages::text(model);
    case TreatmentKind::stamp:
        return TextAndStampPages::stamp(model);
    case TreatmentKind::ground:
        return GroundAndTonePages::ground(model);
    case TreatmentKind::tone:
        return GroundAndTonePages::tone(model);
    case TreatmentKind::frames:
        return new FramesInspectorPage(model);
    }
    return emptyPage(kind, model);
}

InspectorPage* InspectorRouting::originalPage(const OriginalSummary& summary, BenchModel& model)
{
    return new OriginalSummaryPage(summary, model);
}

} // namespace plenoria
