#pragma once

#include <QImage>

namespace plenoria::test {

// The largest difference of any channel between two images of the same size, compared in the
// premultiplied convention (so colours under full transparency never count); 256 when the sizes differ.
int maxChannelDifference(const QImage& a, const QImage& b);

} // namespace plenoria::test
