#include "imaging/model/ZoomLevel.h"

#include <algorithm>

namespace plenoria {

std::optional<ZoomLevel> zoomLevelFromRawValue(qint64 raw)
{
    for (const ZoomLevel level : allZoomLevels)
        if (rawValue(level) == raw)
            return level;
    return std::nullopt;
}

qint64 zoomLevelIndex(ZoomLevel level)
{
    const auto found = std::find(allZoomLevels.begin(), allZoomLevels.end(), level);
    return qint64(found - allZoomLevels.begin());
}

ZoomLevel stepped(ZoomLevel level, qint64 delta)
{
    const qint64 last = qint64(allZoomLevels.size()) - 1;
    // Clamp before adding so that an extreme delta cannot overflow.
    const qint64 target = zoomLevelIndex(level) + std::clamp<qint64>(delta, -last, last);
    return allZoomLevels[size_t(std::clamp<qint64>(target, 0, last))];
}

} // namespace plenoria
