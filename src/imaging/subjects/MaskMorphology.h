#pragma once

#include <QtGlobal>
#include <vector>

namespace plenoria {

// In-place operations on a binary mask of width × height: one byte per pixel, row-major, 1 inside,
// 0 outside. The square structuring element is 3 × 3; outside the image the nearest edge pixel is
// repeated, so a shape touching the border is neither grown nor worn away there.
class MaskMorphology {
public:
    MaskMorphology() = delete;

    // A closing (dilation, erosion), which bridges gaps and notches one or two pixels wide, then an
    // opening (erosion, dilation), which drops specks and strands too thin to hold a 3 × 3 square.
    static void closeThenOpen(std::vector<quint8>& mask, qint64 width, qint64 height);

    // Fills every outside region that the border cannot reach (4-connected).
    static void fillHoles(std::vector<quint8>& mask, qint64 width, qint64 height);

private:
    template <typename Pick>
    static void filter(
        std::vector<quint8>& mask, std::vector<quint8>& scratch, qint64 width, qint64 height, Pick pick);
};

} // namespace plenoria
