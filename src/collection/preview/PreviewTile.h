#pragma once

#include "collection/preview/PreviewPaneModel.h"

#include <QSizeF>
#include <QWidget>
#include <optional>

namespace plenoria {

// One preview tile: its ground filling the whole tile, the model's current frame fitted into a
// square of the zoom's size (smaller when the tile lacks room) with high interpolation, or a
// placeholder symbol while there is no animation, and its caption in the bottom-left corner.
class PreviewTile : public QWidget {
    Q_OBJECT
public:
    static constexpr int placeholderSize = 32;
    static constexpr double placeholderOpacity = 0.4;
    static constexpr double captionOpacity = 0.5;
    static constexpr int captionPadding = 10;

    // The model outlives the tile.
    explicit PreviewTile(PreviewPaneModel& model, QWidget* parent = nullptr);

    PreviewGround ground() const { return m_ground; }
    void setGround(const PreviewGround& ground);
    // The room the tile is given: the pane shares its height exactly in two, so that both tiles
    // draw at one side (and share one set of scaled frames) even when the pixels split unevenly.
    // Until it is set, the tile's own size.
    void setRoom(const QSizeF& room);
    // The side of the square the image is drawn in, for the tile's room.
    double side() const;
    // Where the image lies in the tile, in device-independent pixels; empty without an animation.
    QRectF imageRect() const;

signals:
    void sideChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    qint64 pixelSide() const;
    void paintPlaceholder(QPainter& painter, const QColor& contrast);
    void paintFrame(QPainter& painter);
    void paintCaption(QPainter& painter, const QColor& contrast);

    PreviewPaneModel& m_model;
    PreviewGround m_ground;
    std::optional<QSizeF> m_room;
};

} // namespace plenoria
