#pragma once

#include "BenchModel.h"

#include <QWidget>

namespace plenoria {

// The bench's right column, 250 points wide: the editor of the selected row, or a summary of the
// untouched original when no row is selected. It rebuilds its editor only when the selected row's
// kind changes, and otherwise refreshes the editor in place on each change of the model.
class InspectorPane : public QWidget {
    Q_OBJECT
public:
    static constexpr int columnWidth = 250;

    explicit InspectorPane(BenchModel& model, QWidget* parent = nullptr);

private:
    BenchModel& m_model;
};

} // namespace plenoria
