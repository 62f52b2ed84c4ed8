#pragma once

#include "imaging/model/ExtendSpec.h"

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <optional>

namespace plenoria {

// The canvas leaves this much room on every side of the image, in points.
inline constexpr double canvasMargin = 48;

// Content of `content` size scaled (up as well as down) to fit `container` less `margin` on every
// side, aspect kept, centred; a container smaller than its margins still fits on a 1-point scale.
// Content with no area gives the empty rectangle at the container's centre.
QRectF fitRect(QSizeF content, QSizeF container, double margin);

// The canvas an extend row grows to, in pixels of the image of `input` size entering it: the image
// sits at (0, 0), the grown canvas at (−offX, −offY) with the extend's size. The anchor places the
// image in whole pixels, an odd padding leaving its extra pixel on the right or bottom when centred.
QRectF extendCanvasRect(QSizeF input, const ExtendSpec& spec);

// Where an image of `width` × `height` pixels is drawn in a canvas of `available` size. Fitted
// alone, unless `extendCanvas` (pixels, as extendCanvasRect gives) reaches beyond the image: then
// the image and the grown canvas are fitted together and the image sits at its place in them.
QRectF canvasImageRect(
    const std::optional<QRectF>& extendCanvas, double width, double height, QSizeF available);

// Points per image pixel for an image of `imageSize` drawn in `displayRect`: the display width over
// the image width, or 1 for an image with no width. Not finite or 0 for a display with no width.
double displayScale(QSizeF imageSize, const QRectF& displayRect);

// The image pixel (fractional, not clamped) under canvas point `location`, at `scale` points per pixel.
QPointF imagePoint(QPointF location, const QRectF& displayRect, double scale);

} // namespace plenoria
