#include "imaging/model/Characters.h"

#include <QTextBoundaryFinder>

namespace plenoria {

QString leadingCharacters(const QString& text, qint64 count)
{
    if (count <= 0)
        return {};
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qint64 taken = 0;
    qsizetype end = 0;
    while (taken < count) {
        const qsizetype next = finder.toNextBoundary();
        if (next < 0)
            break;
        end = next;
        ++taken;
    }
    return text.left(end);
}

qint64 characterCount(const QString& text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qint64 count = 0;
    while (finder.toNextBoundary() >= 0)
        ++count;
    return count;
}

} // namespace plenoria
