#pragma once

#include <QImage>
#include <set>

namespace plenoria::test {

// The largest difference of any channel between two images of the same size, compared in the
// premultiplied convention (so colours under full transparency never count); 256 when the sizes differ.
int maxChannelDifference(const QImage& a, const QImage& b);

// The distinct colours of the fully opaque pixels.
std::set<QRgb> opaqueColors(const QImage& image);

} // namespace plenoria::test
