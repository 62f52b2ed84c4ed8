#pragma once

#include "imaging/read/Filmstrip.h"

#include <QColor>
#include <QImage>

namespace plenoria::test {

// A width × height image in the pixel convention filled with one colour (may be translucent).
QImage solidImage(int width, int height, QColor color);

// An opaque disc of `color` centred on a transparent (or `ground`) canvas.
QImage discImage(int width, int height, QColor color, QColor ground = Qt::transparent);

// A horizontal gradient from `from` to `to`, opaque.
QImage gradientImage(int width, int height, QColor from, QColor to);

// Frame `index` of a typical animated emoji, 256 × 256: a shaded face on a transparent ground whose
// eyes and mouth move, so frames share most of their pixels, as real ones do.
QImage animatedEmojiFrame(int index, int frameCount = 100);
// `frameCount` such frames, each `delayMs` long.
Filmstrip animatedEmojiStrip(int frameCount, qint64 delayMs);

// The straight (un-premultiplied) colour of one pixel.
QColor pixelAt(const QImage& image, int x, int y);

} // namespace plenoria::test
