#pragma once

#include "bench/inspect/InspectorPage.h"

#include <functional>

namespace plenoria {

// A page around an inspector that knows nothing of the bench (the inspectors of src/inspectors): the
// inspector fills the page, and `refresh` hands it the selected row's bindings and inputs.
class WrappedInspectorPage : public InspectorPage {
    Q_OBJECT
public:
    using Refresh = std::function<void(qint64 row, BenchModel::Changes changes)>;

    WrappedInspectorPage(BenchModel& model, QWidget* inspector, Refresh refresh, QWidget* parent = nullptr);

    QWidget* inspector() const { return m_inspector; }
    void refresh(qint64 row, BenchModel::Changes changes) override;

private:
    QWidget* m_inspector;
    Refresh m_refresh;
};

} // namespace plenoria
