#pragma once

#include "imaging/read/Filmstrip.h"

#include <QImage>

namespace plenoria::test {

// A width × height image in the pixel convention whose pixels differ in colour and alpha: the left
// column fully transparent, every third row half transparent, alpha stepping elsewhere; `seed`
// shifts the colours so frames made with different seeds differ everywhere.
QImage translucentImage(int width, int height, int seed = 0);

// A strip of `delays.size()` distinct translucent frames of one size with those delays.
Filmstrip translucentStrip(int width, int height, const std::vector<qint64>& delays, qint64 loopCount = 0);

} // namespace plenoria::test
