#pragma once

#include "bench/canvas/CanvasGeometry.h"

#include <QLineF>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <cmath>
#include <optional>

namespace plenoria {

// What the canvas's drag overlays share, without widgets: where the image is drawn, and the grip a
// press took hold of (a handle or the body, of the overlay's own `Grip` type) until it is released.
// A display with no width (no finite, positive scale) takes no drag at all. Main thread.
template <typename Grip> class OverlayGrip {
public:
    // `imageSize`: pixels of the image shown; `displayRect`: where it is drawn.
    void setGeometry(QSizeF imageSize, const QRectF& displayRect)
    {
        m_imageSize = imageSize;
        m_displayRect = displayRect;
    }
    QSizeF imageSize() const { return m_imageSize; }
    QRectF displayRect() const { return m_displayRect; }
    // Points per pixel (1 for an image with no width).
    double pointsPerPixel() const { return displayScale(m_imageSize, m_displayRect); }
    bool isDraggable() const
    {
        const double scale = pointsPerPixel();
        return std::isfinite(scale) && scale > 0;
    }
    // The image pixel (fractional) under canvas point `location`.
    QPointF pixelAt(QPointF location) const { return imagePoint(location, m_displayRect, pointsPerPixel()); }
    std::optional<Grip> grip() const { return m_grip; }

    // Takes hold of `hit(location)` and runs `step(grip, location)` at once; false (nothing held, nothing
    // stepped) when the display takes no drag or the press meets nothing. Any earlier grip is let go.
    template <typename Hit, typename Step> bool press(QPointF location, const Hit& hit, const Step& step)
    {
        m_grip.reset();
        if (!isDraggable())
            return false;
        m_grip = hit(location);
        if (!m_grip)
            return false;
        drag(location, step);
        return true;
    }
    // The held grip's next step as the pointer reaches `location`; nothing while none is held.
    template <typename Step> void drag(QPointF location, const Step& step) const
    {
        if (!m_grip || !isDraggable())
            return;
        step(*m_grip, location);
    }
    void release() { m_grip.reset(); }

    // Whether `location` falls on the round handle centred at `center` that a press of `hitDiameter` takes.
    static bool onHandle(QPointF center, QPointF location, double hitDiameter)
    {
        return QLineF(center, location).length() <= hitDiameter / 2;
    }

private:
    QSizeF m_imageSize;
    QRectF m_displayRect;
    std::optional<Grip> m_grip;
};

} // namespace plenoria
