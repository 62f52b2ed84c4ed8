#pragma once

#include "bench/inspect/InspectorPage.h"

namespace plenoria {

struct OriginalSummary;

// The "Original" column shown while no row is selected: the file's type and size, a hint on what
// to do, and for an animation a word on how the bench treats its frames.
class OriginalSummaryPage : public InspectorPage {
    Q_OBJECT
public:
    OriginalSummaryPage(const OriginalSummary& summary, BenchModel& model, QWidget* parent = nullptr);

    void refresh(qint64, BenchModel::Changes) override { }
};

} // namespace plenoria
