#pragma once

#include "bench/model/BenchModel.h"

#include <QListView>

namespace plenoria {

class RecordListModel;
class RecordRowDelegate;

// The rows of the bench's record, one per entry in record order, numbered from 1. The highlight
// and the bench's selection are one value: the bench's is shown here, and every change the view
// makes itself (a click, a sweep, the keyboard, Ctrl on the selected row) is written back, a row's
// id or none for "Original". Rows are reordered by dragging them; the drop moves them in the
// record. A row's "×" removes it; Delete and Backspace do nothing. The background is the bench's own.
class RecordListView : public QListView {
    Q_OBJECT
public:
    explicit RecordListView(BenchModel& bench, QWidget* parent = nullptr);

    RecordListModel* rows() const { return m_rows; }
    RecordRowDelegate* rowDelegate() const { return m_delegate; }
    // Where dragged rows dropped at `location` (viewport coordinates) would go: before this row, or
    // the row count for after the last one.
    int dropRowAt(QPoint location) const;

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void benchChanged(BenchModel::Changes changes);
    // Shows the bench's selection; `reveal` scrolls it into view.
    void showSelection(bool reveal);
    // The row the view has selected, or none, written to the bench when it differs.
    void writeSelection();
    void setHoveredRemove(const QModelIndex& index);
    void setDropRow(int row);

    BenchModel& m_bench;
    RecordListModel* m_rows;
    RecordRowDelegate* m_delegate;
    // Where a drag in progress would drop, for the indicator; −1 for none.
    int m_dropRow = -1;
    // While the rows catch up with the record, the view's own reactions (a neighbour selected when
    // a row goes) are not the user's choice and never reach the bench.
    bool m_syncing = false;
};

} // namespace plenoria
