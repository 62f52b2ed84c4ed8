#pragma once

#include <QtGlobal>
#include <array>

namespace plenoria {

// Straight colour channels of premultiplied pixels: entry [a × 256 + c] is c × (255 / a), rounded half away
// from zero and held to 0 … 255 (c itself for a = 0). The quantizer's histogram and the GIF colour
// reduction share it, so that both see the same colours. Built once; safe to read from any thread.
using UnpremultiplyTable = std::array<uchar, 256 * 256>;
const UnpremultiplyTable& unpremultiplyTable();

} // namespace plenoria
