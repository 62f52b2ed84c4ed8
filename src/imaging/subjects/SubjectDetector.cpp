#include "imaging/subjects/SubjectDetector.h"
#include "imaging/subjects/BorderWalk.h"

#include "imaging/subjects/BackgroundModel.h"
#include "imaging/subjects/ConnectedParts.h"
#include "imaging/subjects/MaskMorphology.h"

#include <algorithm>
#include <cmath>

namespace plenoria {

namespace {

// Below this a difference from the ground is noise (compression, dithering), in distance steps.
constexpr int noiseFloor = 2;

// A border at least this transparent means the image already carries its own cut-out.
constexpr double transparentBorderShare = 1.0 / 8;

struct Mask {
    std::vector<quint8> inside; // 1 for foreground
    std::vector<quint8> distances; // colour mode only: each pixel's distance from the ground
};

bool hasTransparentBorder(const uchar* data, qint64 width, qint64 height)
{
    qint64 visited = 0;
    qint64 clear = 0;
    const auto visit = [&](qint64 x, qint64 y) {
        ++visited;
        if (data[4 * (y * width + x) + 3] < 128)
            ++clear;
    };
    forEachBorderPixel(width, height, visit);
    return double(clear) >= transparentBorderShare * double(visited);
}

Mask alphaMask(const uchar* data, qint64 count)
{
    Mask mask;
    mask.inside.resize(size_t(count));
    for (qint64 i = 0; i < count; ++i)
        mask.inside[size_t(i)] = data[4 * i + 3] >= 128 ? 1 : 0;
    return mask;
}

// Otsu's threshold over log(1 + distance): a plain one splits a pale subject with dark details
// between the details and the rest, and the flood then takes the pale body with the ground. Among
// equally good thresholds (empty bins between the ground and the subject) the middle one is taken.
int separatingDistance(const std::vector<qint64>& histogram)
{
    const int bins = int(histogram.size());
    double total = 0;
    double totalSum = 0;
    for (int d = 0; d < bins; ++d) {
        total += double(histogram[size_t(d)]);
        totalSum += double(histogram[size_t(d)]) * std::log1p(d);
    }
    double below = 0;
    double belowSum = 0;
    double best = -1;
    int first = 0;
    int last = 0;
    for (int t = 0; t + 1 < bins; ++t) {
        below += double(histogram[size_t(t)]);
        belowSum += double(histogram[size_t(t)]) * std::log1p(t);
        const double above = total - below;
        if (below <= 0 || above <= 0)
            continue;
        const double gap = belowSum / below - (totalSum - belowSum) / above;
        const double spread = below * above * gap * gap;
        if (spread > best * (1 + 1e-12)) {
            best = spread;
            first = last = t;
        } else if (spread >= best * (1 - 1e-12) && last == t - 1) {
            last = t;
        }
    }
    return (first + last) / 2;
}

// The foreground of an opaque image: everything the ground, flooded in from the border, does not
// reach; then smoothed and made solid. Empty when nothing stands clear of the ground.
Mask colourMask(const QByteArray& bytes, qint64 width, qint64 height)
{
    Mask mask;
    const BackgroundModel model = BackgroundModel::fromBorder(bytes, width, height);
    if (model.isEmpty())
        return mask;
    mask.distances = model.distances(bytes);

    // Four interleaved counts: most pixels fall in one bin, and a single counter would make every
    // increment wait for the one before.
    std::vector<qint64> counts(4 * (BackgroundModel::maxDistance + 1), 0);
    const size_t pixels = mask.distances.size();
    for (size_t i = 0; i < pixels; ++i)
        ++counts[4 * size_t(mask.distances[i]) + (i & 3)];
    std::vector<qint64> histogram(BackgroundModel::maxDistance + 1, 0);
    for (size_t bin = 0; bin < histogram.size(); ++bin)
        histogram[bin] = counts[4 * bin] + counts[4 * bin + 1] + counts[4 * bin + 2] + counts[4 * bin + 3];
    const int threshold = std::max(noiseFloor, separatingDistance(histogram));
    const bool anyAbove
        = std::any_of(histogram.begin() + threshold + 1, histogram.end(), [](qint64 n) { return n > 0; });
    if (!anyAbove)
        return mask;

    // What the ground, flooded in from the border through pixels within the threshold, does not reach:
    // the pixels beyond the threshold together with every region they wall off.
    mask.inside.resize(mask.distances.size());
    for (size_t i = 0; i < mask.inside.size(); ++i)
        mask.inside[i] = mask.distances[i] > threshold ? 1 : 0;
    MaskMorphology::fillHoles(mask.inside, width, height);
    MaskMorphology::closeThenOpen(mask.inside, width, height);
    MaskMorphology::fillHoles(mask.inside, width, height);
    return mask;
}

// Numbers the 8-connected parts of the mask by decreasing area (ties: the one met first in reading
// order), keeping at most maxInstances of those above the size floor. Returns their count; `labels`
// gets each pixel's number or 0.
int numberInstances(
    const std::vector<quint8>& inside, qint64 width, qint64 height, std::vector<quint8>& labels)
{
    const ConnectedParts parts = ConnectedParts::of(inside, width, height, ConnectedParts::Side::inside);
    const double sizeFloor = std::max(16.0, 0.005 * double(width * height));
    std::vector<int> ranked;
    for (int part = 1; part <= parts.count(); ++part) {
        if (double(parts.area(part)) >= sizeFloor)
            ranked.push_back(part);
    }
    std::stable_sort(
        ranked.begin(), ranked.end(), [&](int a, int b) { return parts.area(a) > parts.area(b); });
    if (ranked.size() > size_t(SubjectDetection::maxInstances))
        ranked.resize(size_t(SubjectDetection::maxInstances));

    std::vector<quint8> numberOf(size_t(parts.count()) + 1, 0);
    for (size_t rank = 0; rank < ranked.size(); ++rank)
        numberOf[size_t(ranked[rank])] = quint8(rank + 1);
    labels.assign(size_t(width * height), 0);
    parts.paint(labels, numberOf);
    return int(ranked.size());
}

// Flags the pixels of row y whose 3 × 3 neighbourhood holds another label than their own. The inner
// columns take no bounds checks, so the compiler compares many pixels at once.
void flagOutline(const std::vector<quint8>& labels, qint64 width, qint64 height, qint64 y, quint8* out)
{
    const quint8* up = labels.data() + std::max<qint64>(y - 1, 0) * width;
    const quint8* row = labels.data() + y * width;
    const quint8* down = labels.data() + std::min(y + 1, height - 1) * width;
    for (qint64 x = 1; x < width - 1; ++x) {
        const quint8 c = row[x];
        out[x] = quint8((up[x - 1] ^ c) | (up[x] ^ c) | (up[x + 1] ^ c) | (row[x - 1] ^ c) | (row[x + 1] ^ c)
            | (down[x - 1] ^ c) | (down[x] ^ c) | (down[x + 1] ^ c));
    }
    for (qint64 x : {qint64(0), width - 1}) {
        const quint8 c = row[x];
        out[x] = 0;
        for (qint64 nx = std::max<qint64>(x - 1, 0); nx <= std::min(x + 1, width - 1); ++nx)
            out[x] |= quint8((up[nx] ^ c) | (row[nx] ^ c) | (down[nx] ^ c));
    }
}

// The one-pixel soft edge: the pixels on either side of an instance's outline, where a drawn edge
// blends subject and ground. With a cut-out of its own the image's translucent rim is kept whole (its
// alpha already is the edge). On a coloured ground such a pixel is kept by how far it stands from the
// ground compared with the subject beside it, so a pixel half ground, half subject keeps about half
// its opacity instead of showing the ground's colour at full strength.
std::vector<quint8> softenEdges(
    const Mask& mask, const uchar* data, qint64 width, qint64 height, std::vector<quint8>& labels)
{
    const qint64 count = width * height;
    const bool alphaEdge = mask.distances.empty();
    std::vector<quint8> coverage(static_cast<size_t>(count));
    for (qint64 i = 0; i < count; ++i)
        coverage[size_t(i)] = labels[size_t(i)] ? 255 : 0;
    std::vector<quint8> outline(static_cast<size_t>(width));
    // Label changes wait until every outline is read, so that each pixel is judged by the same labels.
    std::vector<std::pair<qint64, quint8>> relabelled;
    for (qint64 y = 0; y < height; ++y) {
        flagOutline(labels, width, height, y, outline.data());
        for (qint64 x = 0; x < width; ++x) {
            const qint64 i = y * width + x;
            if (!outline[size_t(x)] || data[4 * i + 3] == 0)
                continue;
            const int own = labels[size_t(i)];
            int owner = 0;
            int ownerDistance = -1;
            for (qint64 ny = std::max<qint64>(y - 1, 0); ny <= std::min(y + 1, height - 1); ++ny)
                for (qint64 nx = std::max<qint64>(x - 1, 0); nx <= std::min(x + 1, width - 1); ++nx) {
                    const qint64 n = ny * width + nx;
                    const int label = labels[size_t(n)];
                    const int distance = alphaEdge ? 0 : mask.distances[size_t(n)];
                    if (label && (!own || label == own) && distance > ownerDistance) {
                        owner = label;
                        ownerDistance = distance;
                    }
                }
            int kept = 255;
            if (alphaEdge) {
                if (!own && data[4 * i + 3] >= 128)
                    continue;
            } else {
                if (ownerDistance <= 0)
                    continue;
                kept = std::min(255, (255 * mask.distances[size_t(i)] + ownerDistance / 2) / ownerDistance);
            }
            coverage[size_t(i)] = quint8(kept);
            const quint8 label = kept > 0 ? quint8(owner) : 0;
            if (label != own)
                relabelled.emplace_back(i, label);
        }
    }
    for (const auto& [index, label] : relabelled)
        labels[size_t(index)] = label;
    return coverage;
}

} // namespace

std::shared_ptr<const SubjectDetection> SubjectDetector::detect(
    const QByteArray& bytes, qint64 width, qint64 height)
{
    if (width < 1 || height < 1 || bytes.size() < 4 * width * height)
        return nullptr;
    // Every per-pixel pass sizes itself by the bytes, so trailing bytes beyond the image are cut off.
    const QByteArray pixels = QByteArray::fromRawData(bytes.constData(), 4 * width * height);
    const uchar* data = reinterpret_cast<const uchar*>(pixels.constData());
    const Mask mask = hasTransparentBorder(data, width, height) ? alphaMask(data, width * height)
                                                                : colourMask(pixels, width, height);
    if (mask.inside.empty())
        return nullptr;
    std::vector<quint8> labels;
    const int instances = numberInstances(mask.inside, width, height, labels);
    if (instances == 0)
        return nullptr;
    std::vector<quint8> coverage = softenEdges(mask, data, width, height, labels);
    return std::make_shared<const SubjectDetection>(
        width, height, instances, std::move(labels), std::move(coverage));
}

} // namespace plenoria
