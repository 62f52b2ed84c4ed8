#pragma once

#include <QString>

namespace plenoria {

// Destination names are trimmed of spaces and tabs only: a line break is part of the name (and
// makes it invalid), as everywhere destination names are read.
inline QString trimmedOfSpacesAndTabs(const QString& text)
{
    const auto blank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && blank(text.at(start)))
        ++start;
    while (end > start && blank(text.at(end - 1)))
        --end;
    return text.mid(start, end - start);
}

} // namespace plenoria
