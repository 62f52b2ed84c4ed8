#pragma once

#include "collection/list/SortOrder.h"
#include "imaging/read/ImageItem.h"

#include <QAbstractTableModel>
#include <QFont>
#include <QHash>
#include <QList>
#include <QSet>
#include <QUrl>
#include <optional>

namespace plenoria {

// The file table's rows, in the order the window gives them. Changes arrive as removed, inserted,
// moved and changed rows, never as a reset, so that what lies over a row (the rename field) and
// the view's selection outlive a rescan.
class FileListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Extra data roles of the name column.
    enum Role { editedRole = Qt::UserRole + 1, urlRole };

    explicit FileListModel(QObject* parent = nullptr);

    static constexpr int columns = 5;
    static SortColumn columnSort(int column) { return SortColumn(column); }

    void setItems(const QList<ImageItem>& items);
    const QList<ImageItem>& items() const { return m_items; }
    // Lower-cased names of the images that have a backup.
    void setEditedNames(const QSet<QString>& names);
    void setShowBadge(bool show);
    bool showBadge() const { return m_showBadge; }

    // The font of a column's cells (the view's own for the name).
    QFont cellFont(SortColumn column) const;
    std::optional<int> rowOf(const QUrl& url) const;
    bool isEdited(const ImageItem& item) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    void rebuildRows();
    void removeMissing(const QSet<QUrl>& kept);
    void appendNew(const QList<ImageItem>& items);
    void reorder(const QList<ImageItem>& items);

    QList<ImageItem> m_items;
    QHash<QUrl, int> m_rows;
    QSet<QString> m_editedNames;
    QFont m_mono11;
    QFont m_mono12;
    bool m_showBadge = true;
};

} // namespace plenoria
