#pragma once

#include <QSizeF>
#include <QtGlobal>

namespace plenoria {

// The rectangle a crop keeps, in pixels of the image the crop receives (top-left origin).
struct CropSpec {
    qint64 x = 0;
    qint64 y = 0;
    qint64 width = 0;
    qint64 height = 0;

    // Settled inside an image of `size` (sides truncated): at least 1 × 1, size first, then origin.
    [[nodiscard]] CropSpec clamped(QSizeF size) const;

    bool operator==(const CropSpec&) const = default;
};

} // namespace plenoria
