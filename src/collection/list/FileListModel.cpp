#include "collection/list/FileListModel.h"

#include "collection/list/ByteCountText.h"
#include "imaging/model/Theme.h"

namespace plenoria {

namespace {

const char* const columnTitles[] = {"Name", "Type", "Size", "Pixels", "Timing"};

bool isUnhealthyAnimation(const ImageItem& item)
{
    return item.gifTiming.animated && !item.gifTiming.animated->healthy;
}

QVariant cellText(const ImageItem& item, int column)
{
    switch (SortColumn(column)) {
    case SortColumn::name:
        return item.filename;
    case SortColumn::type:
        return item.type;
    case SortColumn::size:
        return byteCountText(item.byteSize);
    case SortColumn::pixels:
        return item.dimensionsLabel().value_or(QStringLiteral("\u2014"));
    case SortColumn::timing:
        return item.gifTiming.label();
    }
    return {};
}

QColor cellColor(const ImageItem& item, int column)
{
    switch (SortColumn(column)) {
    case SortColumn::name:
        return Theme::ink();
    case SortColumn::pixels:
        return Theme::inkFaint();
    case SortColumn::timing:
        return isUnhealthyAnimation(item) ? Theme::rust() : Theme::inkSecondary();
    default:
        return Theme::inkSecondary();
    }
}

} // namespace

FileListModel::FileListModel(QObject* parent)
    : QAbstractTableModel(parent)
    , m_mono11(Theme::monospacedFont(11))
    , m_mono12(Theme::monospacedFont(12))
{ }

void FileListModel::setItems(const QList<ImageItem>& items)
{
    QSet<QUrl> kept;
    for (const ImageItem& item : items)
        kept.insert(item.url);
    removeMissing(kept);
    appendNew(items);
    reorder(items);

    // Same image, new facts (a save changed its size or timing).
    for (int row = 0; row < m_items.size(); ++row) {
        if (!(m_items[row] == items[row])) {
            m_items[row] = items[row];
            emit dataChanged(index(row, 0), index(row, columns - 1));
        }
    }
}

void FileListModel::removeMissing(const QSet<QUrl>& kept)
{
    // From the bottom, one block of neighbouring rows at a time.
    int row = int(m_items.size()) - 1;
    while (row >= 0) {
        if (kept.contains(m_items[row].url)) {
            --row;
            continue;
        }
        int first = row;
        while (first > 0 && !kept.contains(m_items[first - 1].url))
            --first;
        beginRemoveRows({}, first, row);
        m_items.remove(first, row - first + 1);
        endRemoveRows();
        row = first - 1;
    }
    rebuildRows();
}

void FileListModel::appendNew(const QList<ImageItem>& items)
{
    QList<ImageItem> added;
    for (const ImageItem& item : items) {
        if (!m_rows.contains(item.url))
            added.append(item);
    }
    if (added.isEmpty())
        return;
    const int first = int(m_items.size());
    beginInsertRows({}, first, first + int(added.size()) - 1);
    m_items.append(added);
    endInsertRows();
    rebuildRows();
}

void FileListModel::reorder(const QList<ImageItem>& items)
{
    bool same = true;
    for (int row = 0; row < items.size() && same; ++row)
        same = m_items[row].url == items[row].url;
    if (same)
        return;

    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    QHash<QUrl, int> newRows;
    for (int row = 0; row < items.size(); ++row)
        newRows.insert(items[row].url, row);
    for (const QModelIndex& old : before)
        after.append(index(newRows.value(m_items[old.row()].url), old.column()));
    m_items = items;
    rebuildRows();
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void FileListModel::rebuildRows()
{
    m_rows.clear();
    m_rows.reserve(m_items.size());
    for (int row = 0; row < m_items.size(); ++row)
        m_rows.insert(m_items[row].url, row);
}

void FileListModel::setEditedNames(const QSet<QString>& names)
{
    if (m_editedNames == names)
        return;
    m_editedNames = names;
    if (!m_items.isEmpty())
        emit dataChanged(index(0, 0), index(int(m_items.size()) - 1, 0), {editedRole});
}

void FileListModel::setShowBadge(bool show)
{
    if (m_showBadge == show)
        return;
    m_showBadge = show;
    if (!m_items.isEmpty())
        emit dataChanged(index(0, 0), index(int(m_items.size()) - 1, 0), {editedRole});
}

QFont FileListModel::cellFont(SortColumn column) const
{
    switch (column) {
    case SortColumn::name:
        return {};
    case SortColumn::pixels:
        return m_mono11;
    default:
        return m_mono12;
    }
}

std::optional<int> FileListModel::rowOf(const QUrl& url) const
{
    const auto found = m_rows.constFind(url);
    if (found == m_rows.cend())
        return std::nullopt;
    return *found;
}

bool FileListModel::isEdited(const ImageItem& item) const
{
    return m_editedNames.contains(item.filename.toLower());
}

int FileListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_items.size());
}

int FileListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : columns;
}

QVariant FileListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_items.size())
        return {};
    const ImageItem& item = m_items[index.row()];
    switch (role) {
    case Qt::DisplayRole:
        return cellText(item, index.column());
    case Qt::FontRole:
        if (SortColumn(index.column()) == SortColumn::name)
            return {};
        return cellFont(SortColumn(index.column()));
    case Qt::ForegroundRole:
        return cellColor(item, index.column());
    case Qt::ToolTipRole:
        if (SortColumn(index.column()) == SortColumn::timing && isUnhealthyAnimation(item))
            return QStringLiteral("No frame delays set \u2014 plays too fast. Select it, then Fix Timing.");
        return {};
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    case editedRole:
        return m_showBadge && isEdited(item);
    case urlRole:
        return item.url;
    default:
        return {};
    }
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columns)
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromLatin1(columnTitles[section]);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

} // namespace plenoria
