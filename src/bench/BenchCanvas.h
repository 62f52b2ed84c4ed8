#pragma once

#include "BenchModel.h"

#include <QWidget>

namespace plenoria {

class Preferences;

// The middle of the bench: the image the model last rendered, fitted with a 48-point margin (scaled
// up as well as down) on the chosen ground, or "Couldn’t render <name>." when there is none. Its
// area is the coordinate space of the overlays that stand on the image; they are its children.
class BenchCanvas : public QWidget {
    Q_OBJECT
public:
    BenchCanvas(BenchModel& model, const Preferences& prefs, QWidget* parent = nullptr);

    // Where the rendered image is drawn, in this widget's coordinates; empty without an image.
    QRectF imageRect() const;
    // The text shown instead of an image.
    QString failureText() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void modelChanged(BenchModel::Changes changes);
    void paintGround(QPainter& painter);

    BenchModel& m_model;
    const Preferences& m_prefs;
};

} // namespace plenoria
