#pragma once

#include "collection/preview/PreviewPaneModel.h"

#include <QWidget>

namespace plenoria {

class PreviewTile;

// The selected image twice, stacked: on the dark and on the light ground, in the order the
// preferences give, the two tiles sharing the height equally. It owns the model that decodes and
// plays the image, and reports the side at which the tiles draw it.
class PreviewPaneView : public QWidget {
    Q_OBJECT
public:
    explicit PreviewPaneView(QWidget* parent = nullptr);

    PreviewPaneModel& model() { return *m_model; }
    // Top first.
    PreviewTile* tile(int position) const { return position == 0 ? m_first : m_second; }
    // The larger of the two tiles' sides; 0 while the pane is not on screen.
    double zoomSide() const;

signals:
    // Every side the tiles report while on screen.
    void zoomSideReported(double side);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void applyGrounds();
    void reportSide();

    PreviewPaneModel* m_model;
    PreviewTile* m_first;
    PreviewTile* m_second;
};

} // namespace plenoria
