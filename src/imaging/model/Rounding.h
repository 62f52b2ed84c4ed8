#pragma once

#include <QtGlobal>
#include <cmath>

namespace plenoria {

// Every float-to-integer conversion in the imaging core rounds half away from zero (2.5 → 3, −2.5 → −3).
// std::round does exactly that; qRound does not for negative halves.
inline qint64 roundHalfAway(double value) { return static_cast<qint64>(std::round(value)); }

inline int clampByte(double value)
{
    const double r = std::round(value);
    return r < 0 ? 0 : (r > 255 ? 255 : static_cast<int>(r));
}

} // namespace plenoria
