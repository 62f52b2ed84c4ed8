#include "collection/chrome/SplitGeometry.h"

#include <algorithm>
#include <cmath>

namespace plenoria {

SplitGeometry SplitGeometry::layout(double width, double fraction, double minLeftWidth, double minRightWidth)
{
    SplitGeometry geometry;
    geometry.available = width - handleWidth;
    if (geometry.available <= minLeftWidth + minRightWidth)
        geometry.available = minLeftWidth + minRightWidth;
    // A stored fraction that is not a number would otherwise pass both clamps below.
    double left = std::isfinite(fraction) ? fraction * geometry.available : minLeftWidth;
    if (left <= minLeftWidth)
        left = minLeftWidth;
    geometry.leftWidth = std::min(left, geometry.available - minRightWidth);
    geometry.rightWidth = geometry.available - geometry.leftWidth;
    return geometry;
}

double SplitGeometry::fractionForPointer(double pointerX, double minLeftWidth, double minRightWidth) const
{
    double x = pointerX - handleWidth / 2;
    if (x <= minLeftWidth)
        x = minLeftWidth;
    x = std::min(x, available - minRightWidth);
    return available > 0 ? x / available : 0;
}

} // namespace plenoria
