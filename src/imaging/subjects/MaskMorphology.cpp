#include "imaging/subjects/MaskMorphology.h"

#include "imaging/subjects/ConnectedParts.h"

#include <algorithm>

namespace plenoria {

namespace {

quint8 largest(quint8 a, quint8 b, quint8 c)
{
    return std::max(a, std::max(b, c));
}
quint8 smallest(quint8 a, quint8 b, quint8 c)
{
    return std::min(a, std::min(b, c));
}

} // namespace

// The 3 × 3 square is separable: a pass along each row into `scratch`, then one down each column back
// into the mask. The inner loops take no bounds checks, so they vectorise.
template <typename Pick>
void MaskMorphology::filter(
    std::vector<quint8>& mask, std::vector<quint8>& scratch, qint64 width, qint64 height, Pick pick)
{
    scratch.resize(mask.size());
    for (qint64 y = 0; y < height; ++y) {
        const quint8* in = mask.data() + y * width;
        quint8* out = scratch.data() + y * width;
        out[0] = pick(in[0], in[0], in[std::min<qint64>(1, width - 1)]);
        for (qint64 x = 1; x < width - 1; ++x)
            out[x] = pick(in[x - 1], in[x], in[x + 1]);
        out[width - 1] = pick(in[std::max<qint64>(width - 2, 0)], in[width - 1], in[width - 1]);
    }
    for (qint64 y = 0; y < height; ++y) {
        const quint8* above = scratch.data() + std::max<qint64>(y - 1, 0) * width;
        const quint8* row = scratch.data() + y * width;
        const quint8* below = scratch.data() + std::min(y + 1, height - 1) * width;
        quint8* out = mask.data() + y * width;
        for (qint64 x = 0; x < width; ++x)
            out[x] = pick(above[x], row[x], below[x]);
    }
}

void MaskMorphology::closeThenOpen(std::vector<quint8>& mask, qint64 width, qint64 height)
{
    std::vector<quint8> scratch;
    filter(mask, scratch, width, height, largest);
    filter(mask, scratch, width, height, smallest);
    filter(mask, scratch, width, height, smallest);
    filter(mask, scratch, width, height, largest);
}

void MaskMorphology::fillHoles(std::vector<quint8>& mask, qint64 width, qint64 height)
{
    // The outside is taken 4-connected, the dual of the 8-connected parts it surrounds: a diagonal gap
    // in an outline does not let the outside in.
    const ConnectedParts regions = ConnectedParts::of(mask, width, height, ConnectedParts::Side::outside);
    std::vector<quint8> isHole(size_t(regions.count()) + 1, 0);
    for (int region = 1; region <= regions.count(); ++region)
        isHole[size_t(region)] = regions.touchesBorder(region) ? 0 : 1;
    regions.paint(mask, isHole);
}

} // namespace plenoria
