#pragma once

#include "bench/model/BenchModel.h"

#include <QWidget>

class QVBoxLayout;

namespace plenoria {

class AddTreatmentButton;
class OriginalRowButton;
class RecordListView;

// The bench's left column, 232 points wide: the heading "Treatment record", the rows of the record
// (`rowsArea`, which takes the room between heading and menu: the "Original" row above the list of
// treatments) and the "Add treatment" menu.
class RecordColumn : public QWidget {
    Q_OBJECT
public:
    static constexpr int columnWidth = 232;

    explicit RecordColumn(BenchModel& model, QWidget* parent = nullptr);

    AddTreatmentButton* addButton() const { return m_add; }
    // The area between the heading and the menu where the record's rows are listed.
    QWidget* rowsArea() const { return m_rows; }
    OriginalRowButton* originalRow() const { return m_original; }
    RecordListView* list() const { return m_list; }

private:
    BenchModel& m_model;
    QWidget* m_rows;
    OriginalRowButton* m_original;
    RecordListView* m_list;
    AddTreatmentButton* m_add;
};

} // namespace plenoria
