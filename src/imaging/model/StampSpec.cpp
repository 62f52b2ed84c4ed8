#include "imaging/model/StampSpec.h"

#include "imaging/model/Characters.h"
#include "imaging/model/Rounding.h"

namespace plenoria {

QString StampSpec::summary() const
{
    return leadingCharacters(name, 12) + QStringLiteral(" \u00B7 ") + QString::number(roundHalfAway(width))
        + QStringLiteral("px");
}

} // namespace plenoria
