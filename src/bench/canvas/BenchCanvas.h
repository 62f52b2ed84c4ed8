#pragma once

#include "bench/canvas/CanvasOverlays.h"
#include "bench/model/BenchModel.h"

#include <QWidget>
#include <optional>

namespace plenoria {

class CanvasEyedropper;
class Preferences;

// The middle of the bench. Its own coordinates are the space the overlays work in. It paints, clipped
// to itself: the chosen ground, the image the model last rendered (fitted with a 48-point margin,
// scaled up as well as down, beside an extend's grown canvas when one is selected) or "Couldn’t
// render <name>." when there is none, and the overlay of the selected row; over that the caption and
// the ground buttons. Presses on the overlay drag it; presses on a ground button choose that ground.
// While the ground inspector samples a colour, its eyedropper owns the presses.
class BenchCanvas : public QWidget {
    Q_OBJECT
public:
    BenchCanvas(BenchModel& model, const Preferences& prefs, QWidget* parent = nullptr);
    ~BenchCanvas() override;

    // Where the rendered image is drawn, in this widget's coordinates; empty without an image.
    QRectF imageRect() const { return m_overlays.displayRect(); }
    // The text shown instead of an image.
    QString failureText() const;
    const CanvasOverlays& overlays() const { return m_overlays; }
    CanvasEyedropper* eyedropper() const { return m_eyedropper; }
    // The colour shown at `location`: the ground and the image, without overlay, caption or buttons.
    QColor shownColor(QPointF location) const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void modelChanged(BenchModel::Changes changes);
    // The ground (over the bench's background, which a clear ground lets through) and the image.
    void paintPicture(QPainter& painter) const;
    void paintOverlay(QPainter& painter) const;
    void updateCursor(QPointF location);

    BenchModel& m_model;
    const Preferences& m_prefs;
    CanvasOverlays m_overlays;
    CanvasEyedropper* m_eyedropper;
    // The ground button a press went down on; chosen when the press is released over it.
    std::optional<CanvasGround> m_pressedGround;
};

} // namespace plenoria
