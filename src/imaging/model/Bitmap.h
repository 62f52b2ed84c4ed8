#pragma once

#include <QImage>
#include <optional>

namespace plenoria {

// The pixel convention of the whole imaging core: 8-bit RGBA, alpha premultiplied, rows of exactly
// 4 × width bytes, row 0 at the top.
inline constexpr QImage::Format pixelFormat = QImage::Format_RGBA8888_Premultiplied;

// Bitmaps larger than this cannot be made: a typed size must never exhaust memory.
inline constexpr qint64 maxBitmapSide = 16384;
inline constexpr qint64 maxBitmapPixels = 64LL * 1024 * 1024;

// A fully transparent bitmap of the given size, each side raised to at least 1; none when it
// cannot be made (a side above maxBitmapSide, an area above maxBitmapPixels, or no memory).
[[nodiscard]] std::optional<QImage> makeBitmap(qint64 width, qint64 height);

} // namespace plenoria
