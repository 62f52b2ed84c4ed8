#pragma once

#include "imaging/model/ExtendSpec.h"

#include <QRectF>
#include <QSizeF>
#include <QWidget>

class QPainter;

namespace plenoria {

// The dashed outline of the canvas an extend row grows to, drawn over the canvas image. It only
// shows: it spans its parent and lets every click through.
class ExtendOverlay : public QWidget {
    Q_OBJECT
public:
    explicit ExtendOverlay(QWidget* parent = nullptr);

    // `input`: the pixel size of the image entering the row; `imageRect`: where that image is drawn,
    // in this widget's coordinates.
    void setOutline(QSizeF input, const QRectF& imageRect, const ExtendSpec& spec);

    // Where the grown canvas lies around the image drawn in `imageRect`. The anchor places the image
    // in whole pixels, an odd padding leaving its extra pixel on the right or bottom when centred.
    static QRectF outlineRect(QSizeF input, const QRectF& imageRect, const ExtendSpec& spec);
    // Draws the dashed outline along the inside of `outline` (the canvas paints it with its overlays).
    static void paint(QPainter& painter, const QRectF& outline);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRectF m_outline;
};

} // namespace plenoria
