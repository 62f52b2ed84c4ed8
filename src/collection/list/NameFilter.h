#pragma once

#include "imaging/read/ImageItem.h"

#include <QList>
#include <QLocale>
#include <QString>

namespace plenoria {

// The filter field's query as the list applies it: spaces and tabs trimmed at both ends (line
// breaks are kept), matched as a case-insensitive containment in the file name under a locale.
class NameFilter {
public:
    explicit NameFilter(const QString& query, const QLocale& locale = QLocale());

    // True when the trimmed query is empty: every image passes.
    bool isEmpty() const { return m_query.isEmpty(); }
    QString trimmedQuery() const { return m_query; }

    bool matches(const QString& filename) const;
    // The items that pass, in their order.
    QList<ImageItem> apply(const QList<ImageItem>& items) const;

private:
    QLocale m_locale;
    QString m_query;
    QString m_folded;
};

} // namespace plenoria
