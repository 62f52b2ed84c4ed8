#include "imaging/model/TextSpec.h"

#include "imaging/model/Characters.h"
#include "imaging/model/FontFamilies.h"
#include "imaging/model/Rounding.h"

#include <algorithm>

namespace plenoria {

TextSpec TextSpec::defaultFor(QSizeF size)
{
    const double w = size.width();
    const double h = size.height();
    // At least 1: a 1-pixel image would otherwise get size 0 and an outline derived from it.
    const double textSize = double(std::max<qint64>(1, roundHalfAway(std::max(std::min(w, h), 1.0) * 0.28)));
    TextSpec spec;
    spec.content = QStringLiteral("OMG");
    spec.fontName = defaultTextFont();
    spec.size = textSize;
    spec.colorHex = QStringLiteral("#FFFFFF");
    spec.outlineHex = QStringLiteral("#211E19");
    spec.outlineWidth = 0.035 * textSize;
    spec.rotation = 0;
    spec.center = QPointF(0.5 * w, 0.82 * h);
    return spec;
}

QStringList TextSpec::lines() const
{
    QStringList result = content.split(QLatin1Char('\n'));
    for (QString& line : result) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    return result;
}

QString TextSpec::summary() const
{
    const QString trimmed = content.trimmed();
    if (trimmed.isEmpty())
        return QStringLiteral("empty");
    return QStringLiteral("\u201C") + leadingCharacters(trimmed, 14) + QStringLiteral("\u201D");
}

QString defaultTextFont()
{
    static const QString family = [] {
        for (const QString& candidate :
            {QStringLiteral("Impact"), QStringLiteral("Helvetica Neue"), QStringLiteral("Helvetica")}) {
            if (FontFamilies::isInstalled(candidate))
                return candidate;
        }
        return QStringLiteral("Helvetica");
    }();
    return family;
}

} // namespace plenoria
