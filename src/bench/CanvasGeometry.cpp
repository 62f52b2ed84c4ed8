#include "CanvasGeometry.h"

#include <algorithm>

namespace plenoria {

QRectF fitRect(QSizeF content, QSizeF container, double margin)
{
    const double w = content.width();
    const double h = content.height();
    if (!(w > 0 && h > 0))
        return QRectF(container.width() / 2, container.height() / 2, 0, 0);
    const double scale = std::min(std::max(container.height() - 2 * margin, 1.0) / h,
        std::max(container.width() - 2 * margin, 1.0) / w);
    return QRectF(
        (container.width() - w * scale) / 2, (container.height() - h * scale) / 2, w * scale, h * scale);
}

} // namespace plenoria
