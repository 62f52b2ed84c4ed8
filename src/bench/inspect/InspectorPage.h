#pragma once

#include "bench/model/BenchModel.h"

#include <QWidget>

namespace plenoria {

// One kind's editor in the inspector pane (or the original's summary). The pane makes a page when
// it switches to the kind (InspectorRouting says which page), keeps it while rows of that kind stay
// selected, so that what the user is typing survives, and calls `refresh` after every change of the
// bench: the page then takes its bindings and inputs afresh from the model for the selected row and
// updates its widgets in place, never rebuilding one the user may be typing in.
class InspectorPage : public QWidget {
    Q_OBJECT
public:
    // Every flag, for a page's first refresh.
    static constexpr BenchModel::Changes everything = BenchModel::Changes::fromInt(~0u);

    explicit InspectorPage(BenchModel& model, QWidget* parent = nullptr);

    // Once, when the pane has put the page in place for row `row`, before its first refresh.
    virtual void enter(qint64 row);
    // Row `row` is selected (-1 for none) and the bench changed by `changes`.
    virtual void refresh(qint64 row, BenchModel::Changes changes) = 0;

    BenchModel& model() const { return m_model; }

protected:
    // Lays `content` (an InspectorColumn, usually) over the whole page.
    void setContent(QWidget* content);

private:
    BenchModel& m_model;
};

} // namespace plenoria
