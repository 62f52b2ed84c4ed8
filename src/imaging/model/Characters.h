#pragma once

#include <QString>

namespace plenoria {

// The first `count` user-perceived characters of `text` (grapheme clusters, so an emoji or an
// accented letter is never cut in half).
QString leadingCharacters(const QString& text, qint64 count);

// The number of user-perceived characters of `text`.
qint64 characterCount(const QString& text);

} // namespace plenoria
