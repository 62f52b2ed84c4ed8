#include "bench/inspect/TextAndStampPages.h"

#include "bench/inspect/WrappedInspectorPage.h"
#include "inspectors/stamp/StampInspector.h"
#include "inspectors/text/TextInspector.h"

namespace plenoria {

namespace {

// Only the record and the selection change what these inspectors show.
bool concerns(BenchModel::Changes changes)
{
    return changes & (BenchModel::Change::record | BenchModel::Change::selection);
}

} // namespace

InspectorPage* TextAndStampPages::text(BenchModel& model)
{
    // Built over the row being selected: the font it shows first is not a choice to count.
    const qint64 first = model.selectedIndex().value_or(-1);
    auto* inspector = new TextInspector(model.specBinding<TextSpec>(first), model.inputSizeAt(first));
    return new WrappedInspectorPage(
        model, inspector, [&model, inspector](qint64 row, BenchModel::Changes changes) {
            if (row >= 0 && concerns(changes))
                inspector->setInputs(model.specBinding<TextSpec>(row), model.inputSizeAt(row));
        });
}

InspectorPage* TextAndStampPages::stamp(BenchModel& model)
{
    const qint64 first = model.selectedIndex().value_or(-1);
    auto* inspector = new StampInspector(model.specBinding<StampSpec>(first), model.inputSizeAt(first), {});
    return new WrappedInspectorPage(
        model, inspector, [&model, inspector](qint64 row, BenchModel::Changes changes) {
            if (row < 0 || !concerns(changes))
                return;
            inspector->setOnReplaceImage([&model, row] { model.replaceStampImage(row); });
            inspector->setInputs(model.specBinding<StampSpec>(row), model.inputSizeAt(row));
        });
}

} // namespace plenoria
