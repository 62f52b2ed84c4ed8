#include "imaging/model/Geometry.h"

#include "imaging/model/Rounding.h"

#include <algorithm>

namespace plenoria {

IntSize fitToLongestEdge(qint64 longestEdge, QSizeF size)
{
    const double w = size.width();
    const double h = size.height();
    const double longer = std::max(w, h);
    if (!(longer > 0))
        return {qint64(w), qint64(h)};
    const double s = double(longestEdge) / longer;
    return {std::max<qint64>(1, roundHalfAway(w * s)), std::max<qint64>(1, roundHalfAway(h * s))};
}

} // namespace plenoria
