#include "bench/inspect/GroundAndTonePages.h"

#include "bench/inspect/WrappedInspectorPage.h"
#include "inspectors/ground/GroundInspector.h"
#include "inspectors/tone/ToneInspector.h"

namespace plenoria {

namespace {

bool holdsRow(const BenchModel& model, qint64 row)
{
    return row >= 0 && row < qint64(model.record().size());
}

} // namespace

InspectorPage* GroundAndTonePages::ground(BenchModel& model)
{
    auto* inspector = new GroundInspector;
    inspector->setOnPickColor([&model] { model.pickGroundColor(); });
    const BenchModel::Changes shown
        = BenchModel::Change::record | BenchModel::Change::selection | BenchModel::Change::groundInput;
    return new WrappedInspectorPage(
        model, inspector, [&model, inspector, shown](qint64 row, BenchModel::Changes changes) {
            if (!holdsRow(model, row) || !(changes & shown))
                return;
            inspector->setRow(
                model.record()[size_t(row)].id, model.specBinding<GroundSpec>(row), model.groundInputImage());
        });
}

InspectorPage* GroundAndTonePages::tone(BenchModel& model)
{
    auto* inspector = new ToneInspector({});
    return new WrappedInspectorPage(
        model, inspector, [&model, inspector](qint64 row, BenchModel::Changes changes) {
            if (holdsRow(model, row)
                && (changes & (BenchModel::Change::record | BenchModel::Change::selection)))
                inspector->setSpec(model.specBinding<ToneSpec>(row));
        });
}

} // namespace plenoria
