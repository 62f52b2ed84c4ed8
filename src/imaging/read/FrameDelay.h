#pragma once

#include <QtGlobal>
#include <optional>
#include <vector>

namespace plenoria {

class ImageSource;

// The delay of one frame in seconds as the file states it: GIF, then WebP, then APNG properties,
// each the unclamped value before the plain one. None when nothing is stated.
std::optional<double> frameDelay(const ImageSource& source, qint64 index);

// Whole milliseconds in steps of 10: max(0, round(s × 100) × 10), rounding half away from zero.
// None for values that are not finite or leave the 64-bit range.
std::optional<qint64> delayMilliseconds(double seconds);

// The most common delay in milliseconds, the smaller on ties; 100 for an empty list.
qint64 delayMode(const std::vector<double>& delaysInSeconds);

} // namespace plenoria
