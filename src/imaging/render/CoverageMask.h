#pragma once

#include <QPainterPath>
#include <QRect>
#include <QTransform>
#include <vector>

namespace plenoria {

// The antialiased coverage (0…1, non-zero winding) of a path over a rectangle of a canvas, computed
// exactly from the area each flattened edge covers in each pixel. Single-threaded by design: Qt's
// raster engine fans small fills out over a thread pool, which costs more than it saves here.
class CoverageMask {
public:
    // `path` mapped through `transform` into canvas pixels, clipped to 0…canvas size.
    CoverageMask(const QPainterPath& path, const QTransform& transform, QSize canvas);

    // The pixels the mask may cover, in canvas coordinates; empty when the path misses the canvas.
    QRect bounds() const { return m_bounds; }

    // Coverage of canvas pixel (x, y), which must lie inside bounds().
    float at(int x, int y) const
    {
        return m_coverage[size_t(y - m_bounds.top()) * size_t(m_bounds.width())
            + size_t(x - m_bounds.left())];
    }

private:
    QRect m_bounds;
    std::vector<float> m_coverage;
    std::vector<float> m_accumulation; // signed area per cell, one spare column per row

    void addLine(QPointF from, QPointF to);
    void addClippedLine(QPointF from, QPointF to);
    void accumulate();
};

} // namespace plenoria
