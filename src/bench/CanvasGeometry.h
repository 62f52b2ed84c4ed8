#pragma once

#include <QRectF>
#include <QSizeF>

namespace plenoria {

// The canvas leaves this much room on every side of the image, in points.
inline constexpr double canvasMargin = 48;

// Content of `content` size scaled (up as well as down) to fit `container` less `margin` on every
// side, aspect kept, centred; a container smaller than its margins still fits on a 1-point scale.
// Content with no area gives the empty rectangle at the container's centre.
QRectF fitRect(QSizeF content, QSizeF container, double margin);

} // namespace plenoria
