#include "imaging/render/Renderer.h"

#include "imaging/model/Bitmap.h"
#include "imaging/subjects/SubjectDetector.h"

#include <QHashFunctions>
#include <QMutex>
#include <QMutexLocker>
#include <algorithm>
#include <iterator>

namespace plenoria {

namespace {

// Both caches are keyed by pixel content, not by image object: the bench hands over a new image on
// every re-render, and the same pixels must not be analysed or masked again. Each entry keeps its
// image alive, so a matching cache key always means the same pixels.

struct DetectionCache {
    bool filled = false;
    QImage image; // the analysed pixels
    size_t contentHash = 0;
    std::optional<ForegroundInstances> found; // none is remembered too: a flat image stays flat
};

struct MaskCache {
    std::shared_ptr<const SubjectDetection> detection;
    std::set<qint64> chosen;
    QByteArray bytes;
};

// Used from the main thread; the lock only keeps a stray caller from tearing an entry.
struct SubjectCaches {
    QMutex mutex;
    DetectionCache detection;
    MaskCache mask;
};

SubjectCaches& subjectCaches()
{
    static SubjectCaches caches;
    return caches;
}

// The image in the pixel convention without going through the normalisation cache when it already
// is: replacing that entry would make the bench redraw its source on the next render.
std::optional<QImage> inConvention(const QImage& image)
{
    if (!image.isNull() && image.format() == pixelFormat)
        return image;
    return Renderer::normalized(image);
}

size_t contentHash(const QByteArray& bytes, qint64 width, qint64 height)
{
    return qHashMulti(qHashBits(bytes.constData(), size_t(bytes.size())), width, height);
}

// The pixels of an image in the convention, read in place (valid while the image lives); none when its
// rows are not exactly 4 × width bytes.
std::optional<QByteArray> pixelView(const QImage& image)
{
    const qint64 rowBytes = 4LL * image.width();
    if (image.isNull() || image.format() != pixelFormat || image.bytesPerLine() != rowBytes)
        return std::nullopt;
    return QByteArray::fromRawData(
        reinterpret_cast<const char*>(image.constBits()), rowBytes * image.height());
}

bool sameContent(const QImage& cached, const QByteArray& bytes, qint64 width, qint64 height)
{
    if (cached.width() != width || cached.height() != height)
        return false;
    const std::optional<QByteArray> cachedBytes = pixelView(cached);
    return cachedBytes && *cachedBytes == bytes;
}

} // namespace

std::optional<ForegroundInstances> Renderer::foregroundInstances(const QImage& image)
{
    const std::optional<QImage> normal = inConvention(image);
    if (!normal)
        return std::nullopt;
    SubjectCaches& caches = subjectCaches();
    QMutexLocker lock(&caches.mutex);
    DetectionCache& cache = caches.detection;
    if (cache.filled && cache.image.cacheKey() == normal->cacheKey())
        return cache.found;

    const std::optional<QByteArray> bytes = pixelView(*normal);
    if (!bytes)
        return std::nullopt;
    const qint64 width = normal->width();
    const qint64 height = normal->height();
    const size_t hash = contentHash(*bytes, width, height);
    if (cache.filled && cache.contentHash == hash && sameContent(cache.image, *bytes, width, height))
        return cache.found;

    std::optional<ForegroundInstances> found;
    if (std::shared_ptr<const SubjectDetection> detection = SubjectDetector::detect(*bytes, width, height))
        found = ForegroundInstances{detection->allInstances(), std::move(detection)};
    cache = DetectionCache{true, *normal, hash, found};
    return found;
}

std::optional<QByteArray> Renderer::subjectPixels(
    const QImage& image, const std::optional<std::set<qint64>>& included)
{
    const std::optional<QImage> normal = inConvention(image);
    if (!normal)
        return std::nullopt;
    const std::optional<ForegroundInstances> found = foregroundInstances(*normal);
    if (!found || !found->detection)
        return std::nullopt;
    std::set<qint64> chosen;
    if (included) {
        std::set_intersection(included->begin(), included->end(), found->allInstances.begin(),
            found->allInstances.end(), std::inserter(chosen, chosen.end()));
    } else {
        chosen = found->allInstances;
    }
    if (chosen.empty())
        return std::nullopt;

    SubjectCaches& caches = subjectCaches();
    QMutexLocker lock(&caches.mutex);
    MaskCache& cache = caches.mask;
    if (cache.detection == found->detection && cache.chosen == chosen)
        return cache.bytes;
    const SubjectDetection& detection = *found->detection;
    const std::optional<QByteArray> bytes = pixelView(*normal);
    if (!bytes || detection.width() != normal->width() || detection.height() != normal->height())
        return std::nullopt;
    QByteArray masked = detection.maskedPixels(*bytes, chosen);
    if (masked.isEmpty())
        return std::nullopt;
    cache = MaskCache{found->detection, chosen, masked};
    return masked;
}

} // namespace plenoria
