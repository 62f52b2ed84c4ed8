#pragma once

#include "bench/model/CanvasGround.h"

#include <QRectF>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <optional>

class QPainter;

namespace plenoria {

class Preferences;

// What the canvas draws over its clipped picture: the caption along its top edge (the image's pixel
// size and which rows it shows, on a capsule of translucent surface) and the three ground buttons in
// its bottom-left corner. Also the grounds themselves, read afresh from the preferences each time.
class CanvasChrome {
public:
    CanvasChrome() = delete;

    static constexpr double outerPadding = 10;
    static constexpr double buttonSide = 22;
    static constexpr double buttonSpacing = 6;
    static constexpr double barPadding = 6;
    static constexpr double materialOpacity = 0.85;

    // Fills `area` with `ground`: a preview colour (clear when its hex does not parse) or the board.
    static void paintGround(
        QPainter& painter, CanvasGround ground, const QRectF& area, const Preferences& prefs);

    // "512 × 512".
    static QString sizeText(QSize size);
    // The caption's capsule for these two texts, centred along the top of a canvas of `canvasSize`.
    static QRectF captionRect(QSizeF canvasSize, const QString& size, const QString& caption);
    static void paintCaption(
        QPainter& painter, QSizeF canvasSize, const QString& size, const QString& caption);

    // The capsule holding the ground buttons, and one button's face within it.
    static QRectF groundBarRect(QSizeF canvasSize);
    static QRectF groundButtonRect(QSizeF canvasSize, CanvasGround ground);
    // The ground button under `location`, if any.
    static std::optional<CanvasGround> groundButtonAt(QSizeF canvasSize, QPointF location);
    static void paintGroundButtons(
        QPainter& painter, QSizeF canvasSize, CanvasGround current, const Preferences& prefs);
};

} // namespace plenoria
