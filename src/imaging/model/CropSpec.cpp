#include "imaging/model/CropSpec.h"

#include <algorithm>

namespace plenoria {

CropSpec CropSpec::clamped(QSizeF size) const
{
    const qint64 maxWidth = std::max<qint64>(qint64(size.width()), 1);
    const qint64 maxHeight = std::max<qint64>(qint64(size.height()), 1);
    CropSpec result;
    result.width = std::clamp<qint64>(width, 1, maxWidth);
    result.height = std::clamp<qint64>(height, 1, maxHeight);
    result.x = std::clamp<qint64>(x, 0, maxWidth - result.width);
    result.y = std::clamp<qint64>(y, 0, maxHeight - result.height);
    return result;
}

} // namespace plenoria
