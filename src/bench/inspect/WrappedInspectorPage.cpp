#include "bench/inspect/WrappedInspectorPage.h"

namespace plenoria {

WrappedInspectorPage::WrappedInspectorPage(
    BenchModel& model, QWidget* inspector, Refresh refresh, QWidget* parent)
    : InspectorPage(model, parent)
    , m_inspector(inspector)
    , m_refresh(std::move(refresh))
{
    setContent(inspector);
}

void WrappedInspectorPage::refresh(qint64 row, BenchModel::Changes changes)
{
    if (m_refresh)
        m_refresh(row, changes);
}

} // namespace plenoria
