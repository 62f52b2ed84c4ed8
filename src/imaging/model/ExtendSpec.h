#pragma once

#include "imaging/model/Geometry.h"

#include <QSizeF>
#include <QtGlobal>

namespace plenoria {

// Where an image sits in a larger canvas, per axis: 0 = left (top), 1 = centre, 2 = right (bottom).
struct Anchor {
    qint64 h = 1;
    qint64 v = 1;
    bool operator==(const Anchor&) const = default;
};

// The canvas an image is extended to, in pixels, and where the image sits in it.
struct ExtendSpec {
    qint64 width = 0;
    qint64 height = 0;
    Anchor anchor;

    // Never smaller than an image of `size` (sides truncated) and at least 1 × 1; the anchor kept.
    [[nodiscard]] ExtendSpec clamped(QSizeF size) const;
    // A square of max(side, the image's sides, 1); the anchor kept.
    [[nodiscard]] ExtendSpec squared(qint64 side, QSizeF size) const;
    // The room added on each axis around an image of `size`: never negative.
    [[nodiscard]] IntSize padding(QSizeF size) const;

    bool operator==(const ExtendSpec&) const = default;
};

} // namespace plenoria
