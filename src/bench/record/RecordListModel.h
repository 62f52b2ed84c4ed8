#pragma once

#include "bench/model/BenchModel.h"

#include <QAbstractListModel>
#include <QUuid>
#include <vector>

namespace plenoria {

// The bench's record as a Qt list model, one row per entry, keyed by the entry's id. It keeps no
// copy of a treatment: titles and summaries are read from the bench on every request. Rows are
// dragged out as their ids and a drop moves them through `BenchModel::moveEntries`. The list view
// calls `sync` after each change of the record, so row signals go out in the order it expects.
class RecordListModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role { idRole = Qt::UserRole + 1, summaryRole, numberRole };

    static const QString mimeType;

    explicit RecordListModel(BenchModel& bench, QObject* parent = nullptr);

    // Catches up with the bench's record: removed rows are removed, appended rows inserted, edited
    // rows repainted, and anything else (a move) resets the list.
    void sync();
    QModelIndex indexOf(const QUuid& id) const;
    QUuid idAt(const QModelIndex& index) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    Qt::DropActions supportedDragActions() const override { return Qt::MoveAction; }
    Qt::DropActions supportedDropActions() const override { return Qt::MoveAction; }
    QStringList mimeTypes() const override { return {mimeType}; }
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    // Moves the dragged rows to stand before `row` (after the last one for −1 or the row count).
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
        const QModelIndex& parent) override;

private:
    std::vector<QUuid> currentIds() const;

    BenchModel& m_bench;
    std::vector<QUuid> m_ids;
};

} // namespace plenoria
