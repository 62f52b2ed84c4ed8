#include "bench/record/RecordListView.h"

#include "bench/record/RecordListModel.h"
#include "bench/record/RecordRowDelegate.h"
#include "imaging/model/Theme.h"

#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QScopedValueRollback>
#include <QSignalBlocker>

namespace plenoria {

RecordListView::RecordListView(BenchModel& bench, QWidget* parent)
    : QListView(parent)
    , m_bench(bench)
    , m_rows(new RecordListModel(bench, this))
    , m_delegate(new RecordRowDelegate(this))
{
    setModel(m_rows);
    setItemDelegate(m_delegate);
    setSelectionMode(SingleSelection);
    setEditTriggers(NoEditTriggers);
    setDragDropMode(InternalMove);
    setDefaultDropAction(Qt::MoveAction);
    setDragEnabled(true);
    setAcceptDrops(true);
    // The indicator is drawn here, where the drop will really put the rows.
    setDropIndicatorShown(false);
    setFrameShape(NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(ScrollPerPixel);
    setUniformItemSizes(true);
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover);
    viewport()->setAutoFillBackground(false);
    setAutoFillBackground(false);
    connect(&bench, &BenchModel::changed, this, &RecordListView::benchChanged);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &RecordListView::writeSelection);
    connect(m_delegate, &RecordRowDelegate::removeRequested, &bench, &BenchModel::removeEntry);
    connect(ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, viewport(),
        qOverload<>(&QWidget::update));
    showSelection(true);
}

void RecordListView::benchChanged(BenchModel::Changes changes)
{
    using Change = BenchModel::Change;
    // Rows first, so that the selection is shown on the rows as they now stand.
    if (changes & Change::record) {
        const QScopedValueRollback syncing(m_syncing, true);
        m_rows->sync();
    }
    if (changes & (Change::record | Change::selection))
        showSelection(changes.testFlag(Change::selection));
}

void RecordListView::showSelection(bool reveal)
{
    const std::optional<qint64> selected = m_bench.selectedIndex();
    const QModelIndex index = selected ? m_rows->index(int(*selected)) : QModelIndex();
    {
        const QSignalBlocker blocker(selectionModel());
        if (index.isValid())
            selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        else
            // The current row stays: the keyboard goes on from where it was (Ctrl+Space takes it again).
            selectionModel()->clearSelection();
    }
    // Edits made elsewhere (a drag on the canvas) leave the list where the user scrolled it.
    if (reveal && index.isValid())
        scrollTo(index);
    viewport()->update();
}

void RecordListView::writeSelection()
{
    if (m_syncing)
        return;
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    const std::optional<QUuid> id
        = selected.isEmpty() ? std::nullopt : std::optional<QUuid>(m_rows->idAt(selected.front()));
    if (m_bench.selection() != id)
        m_bench.setSelection(id);
}

void RecordListView::mouseMoveEvent(QMouseEvent* event)
{
    // A press held on a remove button drags nothing.
    if (!m_delegate->isPressingRemove())
        QListView::mouseMoveEvent(event);
    const QModelIndex index = indexAt(event->position().toPoint());
    const bool onButton = index.isValid()
        && RecordRowDelegate::removeButtonRect(visualRect(index)).contains(event->position().toPoint());
    setHoveredRemove(onButton ? index : QModelIndex());
}

void RecordListView::mouseReleaseEvent(QMouseEvent* event)
{
    QListView::mouseReleaseEvent(event);
    m_delegate->clearPress();
    viewport()->update();
}

void RecordListView::leaveEvent(QEvent* event)
{
    QListView::leaveEvent(event);
    setHoveredRemove(QModelIndex());
}

void RecordListView::setHoveredRemove(const QModelIndex& index)
{
    if (m_delegate->hoveredRemove() == index)
        return;
    m_delegate->setHoveredRemove(index);
    viewport()->update();
}

void RecordListView::keyPressEvent(QKeyEvent* event)
{
    // Rows are removed with their own button only.
    if (event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace) {
        event->accept();
        return;
    }
    QListView::keyPressEvent(event);
}

int RecordListView::dropRowAt(QPoint location) const
{
    const int count = m_rows->rowCount();
    for (int row = 0; row < count; ++row) {
        if (location.y() < visualRect(m_rows->index(row)).center().y())
            return row;
    }
    return count;
}

void RecordListView::setDropRow(int row)
{
    if (m_dropRow == row)
        return;
    m_dropRow = row;
    viewport()->update();
}

void RecordListView::dragEnterEvent(QDragEnterEvent* event)
{
    // Only rows of this list are ever dropped here.
    if (!event->mimeData()->hasFormat(RecordListModel::mimeType)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
    setState(DraggingState);
}

void RecordListView::dragMoveEvent(QDragMoveEvent* event)
{
    // The base view scrolls near the edges.
    QListView::dragMoveEvent(event);
    if (!event->mimeData()->hasFormat(RecordListModel::mimeType)) {
        event->ignore();
        setDropRow(-1);
        return;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
    setDropRow(dropRowAt(event->position().toPoint()));
}

void RecordListView::dragLeaveEvent(QDragLeaveEvent* event)
{
    QListView::dragLeaveEvent(event);
    setDropRow(-1);
}

void RecordListView::dropEvent(QDropEvent* event)
{
    setDropRow(-1);
    stopAutoScroll();
    setState(NoState);
    const int row = dropRowAt(event->position().toPoint());
    if (!m_rows->dropMimeData(event->mimeData(), Qt::MoveAction, row, 0, QModelIndex())) {
        event->ignore();
        return;
    }
    // Accepted as a move the rows already made: the drag removes nothing afterwards.
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

void RecordListView::paintEvent(QPaintEvent* event)
{
    QListView::paintEvent(event);
    if (m_dropRow < 0)
        return;
    const int count = m_rows->rowCount();
    int y = 0;
    if (m_dropRow < count)
        y = visualRect(m_rows->index(m_dropRow)).top();
    else if (count > 0)
        y = visualRect(m_rows->index(count - 1)).bottom() + 1;
    QPainter painter(viewport());
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Theme::moss(), 2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(6, y), QPointF(viewport()->width() - 6, y));
}

} // namespace plenoria
