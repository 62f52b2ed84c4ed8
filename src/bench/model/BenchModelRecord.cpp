#include "bench/model/BenchModel.h"

#include <algorithm>

namespace plenoria {

void BenchModel::selectOriginal()
{
    setSelection(std::nullopt);
}

void BenchModel::removeEntry(const QUuid& id)
{
    transact([&] {
        TreatmentRecord record = m_session.record;
        std::erase_if(record, [&](const TreatmentEntry& entry) { return entry.id == id; });
        setRecord(std::move(record));
        if (m_selection == id)
            setSelection(std::nullopt);
    });
}

void BenchModel::moveEntries(const std::set<qint64>& sources, qint64 destination)
{
    const TreatmentRecord& record = m_session.record;
    const qint64 count = qint64(record.size());
    destination = std::clamp<qint64>(destination, 0, count);
    TreatmentRecord moved;
    TreatmentRecord kept;
    qint64 movedBefore = 0;
    for (qint64 i = 0; i < count; ++i) {
        if (sources.contains(i)) {
            moved.push_back(record[size_t(i)]);
            if (i < destination)
                ++movedBefore;
        } else {
            kept.push_back(record[size_t(i)]);
        }
    }
    // The rows that went before the destination no longer push it along.
    kept.insert(kept.begin() + (destination - movedBefore), moved.begin(), moved.end());
    setRecord(std::move(kept));
}

std::optional<qint64> BenchModel::selectedPlacementIndex() const
{
    if (const std::optional<qint64> text = selectedIndex(TreatmentKind::text))
        return text;
    return selectedIndex(TreatmentKind::stamp);
}

} // namespace plenoria
