#include "store/ListSide.h"

namespace plenoria {

QString rawValue(ListSide side)
{
    return side == ListSide::right ? QStringLiteral("right") : QStringLiteral("left");
}

std::optional<ListSide> listSideFromRawValue(const QString& raw)
{
    for (ListSide side : allListSides) {
        if (rawValue(side) == raw)
            return side;
    }
    return std::nullopt;
}

} // namespace plenoria
