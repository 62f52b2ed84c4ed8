#include "imaging/model/FontFamilies.h"

#include "imaging/model/TextSpec.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QSet>
#include <algorithm>

namespace plenoria {

namespace {

// fontconfig's generic names, which Qt lists beside the real families.
bool isGenericName(const QString& family)
{
    static const QSet<QString> generic{QStringLiteral("sans serif"), QStringLiteral("sans-serif"),
        QStringLiteral("sans"), QStringLiteral("serif"), QStringLiteral("monospace"), QStringLiteral("mono"),
        QStringLiteral("cursive"), QStringLiteral("fantasy"), QStringLiteral("system-ui"),
        QStringLiteral("emoji"), QStringLiteral("math")};
    return generic.contains(family.toLower());
}

bool byCodePoint(const QString& a, const QString& b)
{
    const QList<uint> left = a.toUcs4();
    const QList<uint> right = b.toUcs4();
    return std::lexicographical_compare(left.begin(), left.end(), right.begin(), right.end());
}

const QSet<QString>& installedSet()
{
    static const QSet<QString> set(FontFamilies::installed().begin(), FontFamilies::installed().end());
    return set;
}

} // namespace

QString FontFamilies::withoutFoundry(const QString& family)
{
    // Qt names a family "Name [Foundry]" when several foundries ship it.
    if (!family.endsWith(QLatin1Char(']')))
        return family;
    const qsizetype open = family.lastIndexOf(QLatin1String(" ["));
    return open > 0 ? family.left(open) : family;
}

const QStringList& FontFamilies::installed()
{
    static const QStringList families = [] {
        QStringList result;
        QSet<QString> seen;
        for (const QString& family : QFontDatabase::families()) {
            const QString name = withoutFoundry(family);
            if (name.isEmpty() || isGenericName(name) || seen.contains(name))
                continue;
            seen.insert(name);
            result.append(name);
        }
        std::sort(result.begin(), result.end(), byCodePoint);
        return result;
    }();
    return families;
}

bool FontFamilies::isInstalled(const QString& family)
{
    return installedSet().contains(family);
}

QString FontFamilies::drawable(const QString& family)
{
    if (isInstalled(family))
        return family;
    const QString substitute = QFontInfo(QFont(family)).family();
    if (QFontDatabase::writingSystems(substitute).contains(QFontDatabase::Symbol))
        return defaultTextFont();
    return family;
}

} // namespace plenoria
