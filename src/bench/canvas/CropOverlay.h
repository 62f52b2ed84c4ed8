#pragma once

#include "bench/canvas/OverlayGrip.h"
#include "imaging/model/CropSpec.h"
#include "inspectors/controls/Binding.h"

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <array>
#include <optional>

namespace plenoria {

// The crop rectangle of the selected crop row as the user drags it on the canvas, without widgets:
// a drag inside the rectangle moves it, a drag on a corner handle spans it between the opposite
// corner and the pointer. Every step writes the whole spec through the binding, clamped to the
// image. Locations are canvas points; specs are image pixels. The object outlives re-renders (each
// step rewrites the record), so a drag keeps its anchor until it is released or reset. A display
// with no width (no finite, positive scale) takes no drag at all. Main thread.
class CropOverlay {
public:
    enum class Corner { topLeft, topRight, bottomLeft, bottomRight };
    static constexpr std::array<Corner, 4> allCorners
        = {Corner::topLeft, Corner::topRight, Corner::bottomLeft, Corner::bottomRight};
    // What a press took hold of: a corner's handle, or (no corner) the rectangle, to move it.
    struct Grip {
        std::optional<Corner> corner;
        bool operator==(const Grip&) const = default;
    };

    static constexpr double handleDiameter = 11;
    static constexpr double handleHitDiameter = 26;

    // `imageSize`: pixels of the image the crop receives; `displayRect`: where it is drawn.
    void setGeometry(QSizeF imageSize, const QRectF& displayRect)
    {
        m_grip.setGeometry(imageSize, displayRect);
    }
    void setSpec(Binding<CropSpec> spec) { m_spec = std::move(spec); }

    QSizeF imageSize() const { return m_grip.imageSize(); }
    QRectF displayRect() const { return m_grip.displayRect(); }
    CropSpec spec() const { return m_spec.get(); }
    // Points per pixel (1 for an image with no width).
    double pointsPerPixel() const { return m_grip.pointsPerPixel(); }
    // The crop rectangle in canvas points.
    QRectF viewRect() const;
    QPointF cornerPoint(Corner corner) const;
    // What a press at `location` would take hold of; handles first, the last drawn on top.
    std::optional<Grip> hit(QPointF location) const;

    // Starts a drag when `location` takes hold of something and runs its first step at once; false
    // (nothing written) otherwise.
    bool press(QPointF location);
    void drag(QPointF location);
    void release();
    // Forgets a drag in progress (another row selected, the overlay hidden).
    void reset();
    std::optional<Grip> grip() const { return m_grip.grip(); }

    // The steps of the two drags, as the pointer reaches `location`.
    void moveRect(QPointF location);
    void dragCorner(Corner corner, QPointF location);

    // Drag state, in pixels: the fixed corner of a corner drag, the hold's offset from the origin
    // of a move.
    std::optional<QPointF> anchor() const { return m_anchor; }
    std::optional<QSizeF> grabOffset() const { return m_grabOffset; }

private:
    void step(const Grip& grip, QPointF location);
    void write(const CropSpec& spec) const;

    OverlayGrip<Grip> m_grip;
    Binding<CropSpec> m_spec;
    std::optional<QPointF> m_anchor;
    std::optional<QSizeF> m_grabOffset;
};

} // namespace plenoria
