#include "bench/record/RecordListModel.h"

#include <QMimeData>
#include <algorithm>

namespace plenoria {

namespace {

// Whether `part` is `whole` with some elements left out.
bool isSubsequence(const std::vector<QUuid>& part, const std::vector<QUuid>& whole)
{
    size_t found = 0;
    for (const QUuid& id : whole) {
        if (found < part.size() && part[found] == id)
            ++found;
    }
    return found == part.size();
}

} // namespace

const QString RecordListModel::mimeType = QStringLiteral("application/x-plenoria-record-rows");

RecordListModel::RecordListModel(BenchModel& bench, QObject* parent)
    : QAbstractListModel(parent)
    , m_bench(bench)
    , m_ids(currentIds())
{ }

std::vector<QUuid> RecordListModel::currentIds() const
{
    std::vector<QUuid> ids;
    ids.reserve(m_bench.record().size());
    for (const TreatmentEntry& entry : m_bench.record())
        ids.push_back(entry.id);
    return ids;
}

void RecordListModel::sync()
{
    const std::vector<QUuid> ids = currentIds();
    if (ids == m_ids) {
        if (!ids.empty())
            emit dataChanged(index(0), index(int(ids.size()) - 1));
        return;
    }
    // Appended rows.
    if (ids.size() > m_ids.size() && std::equal(m_ids.begin(), m_ids.end(), ids.begin())) {
        beginInsertRows({}, int(m_ids.size()), int(ids.size()) - 1);
        m_ids = ids;
        endInsertRows();
        return;
    }
    // Removed rows: what is left stands in the old order.
    if (ids.size() < m_ids.size() && isSubsequence(ids, m_ids)) {
        size_t kept = 0;
        for (size_t row = 0; row < m_ids.size();) {
            if (kept < ids.size() && m_ids[row] == ids[kept]) {
                ++kept;
                ++row;
                continue;
            }
            beginRemoveRows({}, int(row), int(row));
            m_ids.erase(m_ids.begin() + qsizetype(row));
            endRemoveRows();
        }
        // The rows after a removed one have new numbers.
        if (!m_ids.empty())
            emit dataChanged(index(0), index(rowCount() - 1));
        return;
    }
    beginResetModel();
    m_ids = ids;
    endResetModel();
}

QModelIndex RecordListModel::indexOf(const QUuid& id) const
{
    const auto found = std::find(m_ids.begin(), m_ids.end(), id);
    return found == m_ids.end() ? QModelIndex() : index(int(found - m_ids.begin()));
}

QUuid RecordListModel::idAt(const QModelIndex& index) const
{
    if (!index.isValid() || index.row() >= int(m_ids.size()))
        return {};
    return m_ids[size_t(index.row())];
}

int RecordListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_ids.size());
}

QVariant RecordListModel::data(const QModelIndex& index, int role) const
{
    const TreatmentRecord& record = m_bench.record();
    if (!index.isValid() || index.row() >= int(record.size()))
        return {};
    const TreatmentEntry& entry = record[size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return treatmentKindTitle(entry.treatment.kind());
    case summaryRole:
        return entry.treatment.summary();
    case idRole:
        return entry.id;
    case numberRole:
        return qint64(index.row()) + 1;
    default:
        return {};
    }
}

Qt::ItemFlags RecordListModel::flags(const QModelIndex& index) const
{
    // Rows are dropped between rows, never onto one.
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

QMimeData* RecordListModel::mimeData(const QModelIndexList& indexes) const
{
    QStringList ids;
    for (const QModelIndex& index : indexes)
        ids.append(idAt(index).toString(QUuid::WithoutBraces));
    auto* data = new QMimeData;
    data->setData(mimeType, ids.join(QLatin1Char('\n')).toUtf8());
    return data;
}

bool RecordListModel::dropMimeData(
    const QMimeData* data, Qt::DropAction action, int row, int, const QModelIndex& parent)
{
    if (!data || !data->hasFormat(mimeType) || action != Qt::MoveAction || parent.isValid())
        return false;
    std::set<qint64> sources;
    for (const QByteArray& text : data->data(mimeType).split('\n')) {
        const QModelIndex source = indexOf(QUuid::fromString(QString::fromUtf8(text)));
        if (source.isValid())
            sources.insert(source.row());
    }
    if (sources.empty())
        return false;
    m_bench.moveEntries(sources, row < 0 ? rowCount() : row);
    return true;
}

} // namespace plenoria
