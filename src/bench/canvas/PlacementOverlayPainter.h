#pragma once

#include "bench/canvas/PlacementOverlay.h"

class QPainter;

namespace plenoria {

// Draws a placement overlay: the treatment's box dashed in moss and turned by its rotation, and its
// two upright handles, moss discs with a white glyph: a double arrow to scale, a turning arrow to
// rotate.
class PlacementOverlayPainter {
public:
    PlacementOverlayPainter() = delete;

    static void paint(QPainter& painter, const PlacementOverlay& overlay);

private:
    static void paintHandle(QPainter& painter, QPointF center, PlacementOverlay::Grip handle);
    static void paintScaleGlyph(QPainter& painter);
    static void paintRotateGlyph(QPainter& painter);
};

} // namespace plenoria
