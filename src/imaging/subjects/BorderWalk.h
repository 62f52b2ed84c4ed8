#pragma once

#include <QtGlobal>

namespace plenoria {

// Calls visit(x, y) for every border pixel of a width × height image, once each: the whole top and
// bottom rows, and the first and last pixel of every row between them.
template<typename Visit>
void forEachBorderPixel(qint64 width, qint64 height, Visit&& visit)
{
    for (qint64 y = 0; y < height; ++y) {
        if (y == 0 || y == height - 1) {
            for (qint64 x = 0; x < width; ++x)
                visit(x, y);
        } else {
            visit(qint64(0), y);
            if (width > 1)
                visit(width - 1, y);
        }
    }
}

} // namespace plenoria
