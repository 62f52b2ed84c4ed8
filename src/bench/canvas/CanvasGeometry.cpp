#include "bench/canvas/CanvasGeometry.h"

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

QRectF extendCanvasRect(QSizeF input, const ExtendSpec& spec)
{
    const IntSize padding = spec.padding(input);
    // Integer division, truncating toward zero, as the renderer places the image.
    const qint64 offX = (spec.anchor.h * padding.width) / 2;
    const qint64 offY = (spec.anchor.v * padding.height) / 2;
    return QRectF(-double(offX), -double(offY), double(spec.width), double(spec.height));
}

QRectF canvasImageRect(
    const std::optional<QRectF>& extendCanvas, double width, double height, QSizeF available)
{
    const QRectF image(0, 0, width, height);
    if (!extendCanvas || image.contains(*extendCanvas))
        return fitRect(QSizeF(width, height), available, canvasMargin);
    const QRectF both = image.united(*extendCanvas);
    const QRectF fitted = fitRect(both.size(), available, canvasMargin);
    const double k = both.width() > 0 ? fitted.width() / both.width() : 1;
    return QRectF(fitted.left() - k * both.left(), fitted.top() - k * both.top(), width * k, height * k);
}

double displayScale(QSizeF imageSize, const QRectF& displayRect)
{
    return imageSize.width() > 0 ? displayRect.width() / imageSize.width() : 1;
}

QPointF imagePoint(QPointF location, const QRectF& displayRect, double scale)
{
    return QPointF((location.x() - displayRect.left()) / scale, (location.y() - displayRect.top()) / scale);
}

} // namespace plenoria
