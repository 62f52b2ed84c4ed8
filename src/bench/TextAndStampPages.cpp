#include "TextAndStampPages.h"

#include "StampInspector.h"
#include "TextInspector.h"
#include "WrappedInspectorPage.h"

namespace plenoria {

namespace {

// A binding to row `row`'s spec that falls back on the spec the row holds now once it is gone.
template <typename S> Binding<S> bindingTo(BenchModel& model, qint64 row)
{
    S current{};
    if (row >= 0 && row < qint64(model.record().size())) {
        if (const S* spec = std::get_if<S>(&model.record()[size_t(row)].treatment.spec))
            current = *spec;
    }
    return model.specBinding<S>(row, std::move(current));
}

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
    auto* inspector = new TextInspector(bindingTo<TextSpec>(model, first), model.inputSizeAt(first));
    return new WrappedInspectorPage(
        model, inspector, [&model, inspector](qint64 row, BenchModel::Changes changes) {
            if (row >= 0 && concerns(changes))
                inspector->setInputs(bindingTo<TextSpec>(model, row), model.inputSizeAt(row));
        });
}

InspectorPage* TextAndStampPages::stamp(BenchModel& model)
{
    const qint64 first = model.selectedIndex().value_or(-1);
    auto* inspector = new StampInspector(bindingTo<StampSpec>(model, first), model.inputSizeAt(first), {});
    return new WrappedInspectorPage(
        model, inspector, [&model, inspector](qint64 row, BenchModel::Changes changes) {
            if (row < 0 || !concerns(changes))
                return;
            inspector->setOnReplaceImage([&model, row] { model.replaceStampImage(row); });
            inspector->setInputs(bindingTo<StampSpec>(model, row), model.inputSizeAt(row));
        });
}

} // namespace plenoria
