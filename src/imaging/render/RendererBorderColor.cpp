#include "imaging/render/Renderer.h"
#include "imaging/subjects/BorderWalk.h"

#include <algorithm>
#include <vector>

namespace plenoria {

namespace {

// 32 cells per channel: near shades of one background (JPEG noise, a faint gradient) fall together.
constexpr int cellsPerChannel = 32;

struct Bucket {
    qint64 count = 0;
    double red = 0;
    double green = 0;
    double blue = 0;
};

int cellOf(double fraction)
{
    return std::clamp(int(fraction * 255.0) / 8, 0, cellsPerChannel - 1);
}

} // namespace

std::optional<QString> Renderer::guessBorderColor(const QImage& image)
{
    const std::optional<QImage> normal = normalized(image);
    if (!normal)
        return std::nullopt;
    const std::optional<QByteArray> bytes = pixelBytes(*normal);
    const qint64 width = normal->width();
    const qint64 height = normal->height();
    if (!bytes || width <= 2 || height <= 2)
        return std::nullopt;

    std::vector<Bucket> buckets(cellsPerChannel * cellsPerChannel * cellsPerChannel);
    std::vector<int> firstSeen; // ties go to the bucket met first on the border walk
    const uchar* data = reinterpret_cast<const uchar*>(bytes->constData());
    const auto visit = [&](qint64 x, qint64 y) {
        const uchar* p = data + 4 * (y * width + x);
        const double a = p[3] / 255.0;
        if (!(a > 0.9))
            return;
        const double r = (p[0] / 255.0) / a;
        const double g = (p[1] / 255.0) / a;
        const double b = (p[2] / 255.0) / a;
        const int index = (cellOf(r) * cellsPerChannel + cellOf(g)) * cellsPerChannel + cellOf(b);
        Bucket& bucket = buckets[size_t(index)];
        if (bucket.count == 0)
            firstSeen.push_back(index);
        ++bucket.count;
        bucket.red += r;
        bucket.green += g;
        bucket.blue += b;
    };
    forEachBorderPixel(width, height, visit);
    if (firstSeen.empty())
        return std::nullopt;
    const Bucket* best = nullptr;
    for (int index : firstSeen) {
        const Bucket& bucket = buckets[size_t(index)];
        if (!best || bucket.count > best->count)
            best = &bucket;
    }
    const double n = double(best->count);
    return RGB{best->red / n, best->green / n, best->blue / n}.hexString();
}

} // namespace plenoria
