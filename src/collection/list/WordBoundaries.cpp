#include "collection/list/WordBoundaries.h"

#include <QList>
#include <QTextBoundaryFinder>
#include <algorithm>

namespace plenoria {

namespace {

// The UTF-16 offsets at which the user-perceived characters start, with the text's end last.
QList<qsizetype> characterStarts(const QString& text)
{
    QList<qsizetype> starts;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    for (qsizetype at = 0; at >= 0 && at <= text.size(); at = finder.toNextBoundary())
        starts.append(at);
    if (starts.isEmpty() || starts.last() != text.size())
        starts.append(text.size());
    return starts;
}

bool isWordCharacter(const QString& text, qsizetype start)
{
    const char32_t code = text.at(start).isHighSurrogate() && start + 1 < text.size()
        ? QChar::surrogateToUcs4(text.at(start), text.at(start + 1))
        : text.at(start).unicode();
    return QChar::isLetterOrNumber(code);
}

// The index of the character that holds `offset` (the end counts as one past the last).
qsizetype characterIndex(const QList<qsizetype>& starts, qsizetype offset)
{
    const auto after = std::upper_bound(starts.cbegin(), starts.cend(), offset);
    return std::max<qsizetype>(0, qsizetype(after - starts.cbegin()) - 1);
}

} // namespace

qsizetype previousWordBoundary(const QString& text, qsizetype offset)
{
    const QList<qsizetype> starts = characterStarts(text);
    qsizetype index = characterIndex(starts, std::clamp<qsizetype>(offset, 0, text.size()));
    while (index > 0 && !isWordCharacter(text, starts[index - 1]))
        --index;
    if (index == 0)
        return 0;
    while (index > 0 && isWordCharacter(text, starts[index - 1]))
        --index;
    return starts[index];
}

qsizetype nextWordBoundary(const QString& text, qsizetype offset)
{
    const QList<qsizetype> starts = characterStarts(text);
    const qsizetype last = starts.size() - 1; // the end of the text
    qsizetype index = characterIndex(starts, std::clamp<qsizetype>(offset, 0, text.size()));
    while (index < last && !isWordCharacter(text, starts[index]))
        ++index;
    while (index < last && isWordCharacter(text, starts[index]))
        ++index;
    return starts[index];
}

} // namespace plenoria
