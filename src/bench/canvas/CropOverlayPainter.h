#pragma once

class QPainter;

namespace plenoria {

class CropOverlay;

// Draws a crop overlay: the image outside the kept rectangle darkened, the rectangle outlined in
// moss, a round handle on each corner.
class CropOverlayPainter {
public:
    CropOverlayPainter() = delete;

    static void paint(QPainter& painter, const CropOverlay& overlay);
};

} // namespace plenoria
