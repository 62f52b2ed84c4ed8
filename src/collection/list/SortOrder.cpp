#include "collection/list/SortOrder.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <algorithm>
#include <vector>

namespace plenoria {

namespace {

QCollator& filenameCollator()
{
    static QCollator collator = [] {
        // The C locale collates code point by code point; names are then ordered as in English.
        const QLocale system;
        QCollator made(
            system.language() == QLocale::C ? QLocale(QLocale::English, QLocale::UnitedStates) : system);
        made.setNumericMode(true);
        made.setCaseSensitivity(Qt::CaseInsensitive);
        return made;
    }();
    return collator;
}

template <typename T> int threeWay(const T& a, const T& b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

// One item with what sorting it needs, computed once instead of at every comparison.
struct Entry {
    const ImageItem* item;
    QCollatorSortKey nameKey;
};

int compareEntries(const Entry& a, const Entry& b, SortColumn column)
{
    switch (column) {
    case SortColumn::name: {
        const int byCollation = a.nameKey.compare(b.nameKey);
        return byCollation != 0 ? byCollation : a.item->filename.compare(b.item->filename);
    }
    case SortColumn::type:
        return a.item->type.compare(b.item->type);
    case SortColumn::size:
        return threeWay(a.item->byteSize, b.item->byteSize);
    case SortColumn::pixels:
        return threeWay(a.item->pixelCount(), b.item->pixelCount());
    case SortColumn::timing:
        return threeWay(a.item->timingSortKey(), b.item->timingSortKey());
    }
    return 0;
}

} // namespace

int compareFilenames(const QString& a, const QString& b)
{
    const int byCollation = filenameCollator().compare(a, b);
    return byCollation != 0 ? byCollation : a.compare(b);
}

QList<ImageItem> SortOrder::sorted(QList<ImageItem> items) const
{
    const bool byName = std::any_of(
        keys.cbegin(), keys.cend(), [](const SortKey& key) { return key.column == SortColumn::name; });
    const QCollator& collator = filenameCollator();
    std::vector<Entry> entries;
    entries.reserve(size_t(items.size()));
    for (const ImageItem& item : items)
        entries.push_back(Entry{&item, collator.sortKey(byName ? item.filename : QString())});

    std::stable_sort(entries.begin(), entries.end(), [this](const Entry& a, const Entry& b) {
        for (const SortKey& key : keys) {
            const int order = compareEntries(a, b, key.column);
            if (order != 0)
                return key.ascending ? order < 0 : order > 0;
        }
        return false;
    });

    QList<ImageItem> result;
    result.reserve(items.size());
    for (const Entry& entry : entries)
        result.append(*entry.item);
    return result;
}

SortOrder SortOrder::afterHeaderClick(SortColumn column) const
{
    SortKey clicked{column, true};
    if (!keys.isEmpty() && keys.first().column == column) {
        clicked.ascending = !keys.first().ascending;
    } else {
        const auto earlier = std::find_if(
            keys.cbegin(), keys.cend(), [column](const SortKey& key) { return key.column == column; });
        if (earlier != keys.cend())
            clicked.ascending = earlier->ascending;
    }
    SortOrder next;
    next.keys = {clicked};
    for (const SortKey& key : keys) {
        if (key.column != column)
            next.keys.append(key);
    }
    return next;
}

} // namespace plenoria
