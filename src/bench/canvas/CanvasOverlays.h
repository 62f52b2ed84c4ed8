#pragma once

#include "bench/canvas/CropOverlay.h"
#include "bench/canvas/PlacementOverlay.h"
#include "bench/model/BenchModel.h"

#include <QByteArray>
#include <QRectF>
#include <QSizeF>
#include <optional>

namespace plenoria {

// What stands on the canvas image for the selected row, without widgets: the crop rectangle of a
// crop row, the outline of an extend row's grown canvas, the box of a text or stamp row; and where
// the image is drawn. The canvas refreshes it after every change of the model or of its own size,
// routes presses, drags and releases to it and paints what it holds. The overlays live across those
// refreshes, bound afresh to the selected row each time, so a drag that rewrites the record keeps
// its hold; a drag ends only on release, another row being selected, or the overlay going away.
class CanvasOverlays {
public:
    explicit CanvasOverlays(BenchModel& model);

    // Brings everything up to date with the model for a canvas of `canvasSize` points.
    void refresh(QSizeF canvasSize);

    // Where the rendered image is drawn; empty without an image.
    QRectF displayRect() const { return m_displayRect; }
    // The overlay shown, if any; at most one of the three is present.
    const CropOverlay* crop() const { return m_showsCrop ? &m_crop : nullptr; }
    const PlacementOverlay* placement() const { return m_showsPlacement ? &m_placement : nullptr; }
    // The grown canvas of a selected extend row, in canvas points.
    std::optional<QRectF> extendOutline() const { return m_extendOutline; }

    // A press the shown overlay takes hold of starts a drag (and writes its first step); false when
    // it takes nothing.
    bool press(QPointF location);
    void drag(QPointF location);
    void release();
    bool isDragging() const;

    // The stamp's height over its width, from the first image its data decodes to; 1 (a square
    // box) when it does not decode or is less than a pixel wide.
    static double stampAspect(const QByteArray& imageData);

private:
    void showCrop(std::optional<qint64> index, QSizeF imageSize);
    void showPlacement(std::optional<qint64> index, QSizeF imageSize);
    QSizeF placementBox(const Treatment& treatment);
    void hideAll();

    BenchModel& m_model;
    QRectF m_displayRect;
    // Hidden, never destroyed: a drag step re-renders the bench and refreshes this object while the
    // overlay that wrote is still running.
    CropOverlay m_crop;
    bool m_showsCrop = false;
    PlacementOverlay m_placement;
    bool m_showsPlacement = false;
    std::optional<QRectF> m_extendOutline;
    // The row the overlays were last bound to: a new one ends any drag.
    std::optional<QUuid> m_boundRow;
    // Decoding a stamp on every step of a drag would be wasted: its image never changes mid-drag.
    std::optional<std::pair<QByteArray, double>> m_stampAspect;
};

} // namespace plenoria
