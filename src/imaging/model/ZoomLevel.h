#pragma once

#include <QtGlobal>
#include <array>
#include <optional>

namespace plenoria {

// Preview size in pixels; the raw value is what the preferences store.
enum class ZoomLevel : qint64 { px32 = 32, px64 = 64, px128 = 128, px256 = 256, px512 = 512 };

inline constexpr std::array<ZoomLevel, 5> allZoomLevels{ZoomLevel::px32, ZoomLevel::px64, ZoomLevel::px128,
                                                        ZoomLevel::px256, ZoomLevel::px512};

inline qint64 rawValue(ZoomLevel level) { return static_cast<qint64>(level); }
std::optional<ZoomLevel> zoomLevelFromRawValue(qint64 raw);
// Position among all levels: 0 for px32 … 4 for px512.
qint64 zoomLevelIndex(ZoomLevel level);
// Moves along the five sizes and stops at either end.
ZoomLevel stepped(ZoomLevel level, qint64 delta);

} // namespace plenoria
