#include "imaging/model/ExtendSpec.h"

#include <algorithm>

namespace plenoria {

ExtendSpec ExtendSpec::clamped(QSizeF size) const
{
    return {std::max({width, qint64(size.width()), qint64(1)}),
        std::max({height, qint64(size.height()), qint64(1)}), anchor};
}

ExtendSpec ExtendSpec::squared(qint64 side, QSizeF size) const
{
    const qint64 squareSide = std::max(
        {side, std::max<qint64>(qint64(size.width()), 1), std::max<qint64>(qint64(size.height()), 1)});
    return {squareSide, squareSide, anchor};
}

IntSize ExtendSpec::padding(QSizeF size) const
{
    return {std::max<qint64>(0, width - std::max<qint64>(qint64(size.width()), 1)),
        std::max<qint64>(0, height - std::max<qint64>(qint64(size.height()), 1))};
}

} // namespace plenoria
