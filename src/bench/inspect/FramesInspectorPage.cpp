#include "bench/inspect/FramesInspectorPage.h"

#include "inspectors/frames/FramesInspector.h"

namespace plenoria {

FramesInspectorPage::FramesInspectorPage(BenchModel& model, QWidget* parent)
    : InspectorPage(model, parent)
    , m_inspector(new FramesInspector)
{
    setContent(m_inspector);
}

void FramesInspectorPage::refresh(qint64 row, BenchModel::Changes changes)
{
    // The row's edits, the selection and the frames entering the row are all the panel shows.
    const BenchModel::Changes shown
        = BenchModel::Change::record | BenchModel::Change::selection | BenchModel::Change::frameSelection;
    if (!(changes & shown))
        return;
    const TreatmentRecord& record = model().record();
    const std::optional<FramesSpec> current
        = row >= 0 && row < qint64(record.size()) ? record[size_t(row)].treatment.framesSpec() : std::nullopt;
    if (!current) {
        m_inspector->setSources(Binding<FramesSpec>::constant({}), Binding<FrameSelection>::constant({}), {});
        return;
    }
    m_inspector->setSources(model().specBinding<FramesSpec>(row, *current), model().frameSelectionBinding(),
        model().timelineFrames(row));
}

} // namespace plenoria
