#include "imaging/model/FolderName.h"

#include <QList>
#include <QStringView>

namespace plenoria {

namespace {

bool isSpaceOrTab(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool isAllowed(char32_t scalar)
{
    if (scalar == U' ' || scalar == U'-' || scalar == U'_')
        return true;
    return QChar::isLetterOrNumber(scalar) || QChar::isMark(scalar);
}

} // namespace

bool isValidFolderName(const QString& name)
{
    QStringView trimmed(name);
    while (!trimmed.isEmpty() && isSpaceOrTab(trimmed.front()))
        trimmed = trimmed.sliced(1);
    while (!trimmed.isEmpty() && isSpaceOrTab(trimmed.back()))
        trimmed.chop(1);
    if (trimmed.isEmpty())
        return false;
    for (const char32_t scalar : trimmed.toUcs4())
        if (!isAllowed(scalar))
            return false;
    return true;
}

} // namespace plenoria
