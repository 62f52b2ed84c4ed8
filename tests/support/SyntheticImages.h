#pragma once

#include <QColor>
#include <QImage>

namespace plenoria::test {

// A width × height image in the pixel convention filled with one colour (may be translucent).
QImage solidImage(int width, int height, QColor color);

// An opaque disc of `color` centred on a transparent (or `ground`) canvas.
QImage discImage(int width, int height, QColor color, QColor ground = Qt::transparent);

// A horizontal gradient from `from` to `to`, opaque.
QImage gradientImage(int width, int height, QColor from, QColor to);

// The straight (un-premultiplied) colour of one pixel.
QColor pixelAt(const QImage& image, int x, int y);

} // namespace plenoria::test
