#include "collection/list/NameFilter.h"

#include "store/SpacesAndTabs.h"

namespace plenoria {

NameFilter::NameFilter(const QString& query, const QLocale& locale)
    : m_locale(locale)
    , m_query(trimmedOfSpacesAndTabs(query))
    , m_folded(m_locale.toLower(m_query))
{ }

bool NameFilter::matches(const QString& filename) const
{
    // The locale's lower case first (a Turkish İ is an i there), then Unicode case folding for
    // what lower-casing leaves apart.
    return m_query.isEmpty() || m_locale.toLower(filename).contains(m_folded, Qt::CaseInsensitive);
}

QList<ImageItem> NameFilter::apply(const QList<ImageItem>& items) const
{
    if (m_query.isEmpty())
        return items;
    QList<ImageItem> shown;
    for (const ImageItem& item : items) {
        if (matches(item.filename))
            shown.append(item);
    }
    return shown;
}

} // namespace plenoria
