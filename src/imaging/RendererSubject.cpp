#include "Renderer.h"

namespace plenoria {

// No subject detector is built in yet: nothing is ever found, so a subject key leaves the image as
// it was and the ground inspector offers no subjects.

std::optional<ForegroundInstances> Renderer::foregroundInstances(const QImage&)
{
    return std::nullopt;
}

std::optional<QByteArray> Renderer::subjectPixels(const QImage& image, const std::optional<std::set<qint64>>&)
{
    if (!foregroundInstances(image))
        return std::nullopt;
    return std::nullopt;
}

} // namespace plenoria
