#pragma once

#include "bench/canvas/OverlayGrip.h"
#include "inspectors/controls/Binding.h"

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <functional>
#include <optional>

namespace plenoria {

// The box of the selected text or stamp row as the user places it on the canvas, without widgets:
// dragging the box moves its centre, the handle at its bottom-right corner scales it (reported as a
// new width through `onResize`, since text and stamps turn a width into their settings differently),
// the handle at its top-right corner turns it, snapping to every 15 degrees within 3. Locations are
// canvas points; centre, box and widths are image pixels; rotation is degrees, clockwise on screen.
// The object outlives re-renders, so a drag keeps its anchors until it is released or reset. A display
// with no width (no finite, positive scale) takes no drag at all. Main thread.
class PlacementOverlay {
public:
    enum class Grip { box, scale, rotate };

    static constexpr double minimumBox = 8; // points
    static constexpr double handleDiameter = 18;
    static constexpr double handleHitDiameter = 30;
    static constexpr double minimumWidth = 4; // pixels, the least a scale drag reports

    // `imageSize`: pixels of the image shown; `displayRect`: where it is drawn; `boxSize`: the
    // treatment's unturned extent in pixels.
    void setGeometry(QSizeF imageSize, const QRectF& displayRect, QSizeF boxSize);
    void setBindings(Binding<QPointF> center, Binding<double> rotation, std::function<void(double)> onResize);

    QSizeF imageSize() const { return m_grip.imageSize(); }
    QRectF displayRect() const { return m_grip.displayRect(); }
    QSizeF boxSize() const { return m_boxSize; }
    double rotation() const { return m_rotation.get(); }
    // Points per pixel (1 for an image with no width).
    double pointsPerPixel() const { return m_grip.pointsPerPixel(); }
    // The box's centre in canvas points.
    QPointF viewCenter() const;
    // The box on screen, unturned, never smaller than 8 × 8 points.
    QSizeF viewBox() const;
    // Where a handle sits on screen: the scale handle at the turned box's bottom-right corner, the
    // rotate handle at its top-right corner. The handles themselves stay upright.
    QPointF handleCenter(Grip handle) const;
    // What a press at `location` would take hold of: the rotate handle, the scale handle, the box.
    std::optional<Grip> hit(QPointF location) const;

    // Starts a drag when `location` takes hold of something and runs its first step at once; false
    // (nothing written) otherwise.
    bool press(QPointF location);
    void drag(QPointF location);
    void release();
    // Forgets a drag in progress (another row selected, the overlay hidden).
    void reset();
    std::optional<Grip> grip() const { return m_grip.grip(); }

    // The steps of the three drags, as the pointer reaches `location`.
    void move(QPointF location);
    void scale(QPointF location);
    void rotate(QPointF location);

    // An angle within 3 degrees of a multiple of 15 becomes it, then any angle is brought into
    // −180 up to, not including, 180.
    static double snappedRotation(double degrees);

private:
    void step(Grip grip, QPointF location);

    OverlayGrip<Grip> m_grip;
    QSizeF m_boxSize;
    Binding<QPointF> m_center;
    Binding<double> m_rotation;
    std::function<void(double)> m_onResize;
    std::optional<QSizeF> m_grabOffset;
    // The pointer's distance from the centre and the box width when a scale drag began.
    std::optional<std::pair<double, double>> m_scaleAnchor;
    // The pointer's angle about the centre and the rotation when a rotate drag began.
    std::optional<std::pair<double, double>> m_rotateAnchor;
};

} // namespace plenoria
