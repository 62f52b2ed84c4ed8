#pragma once

#include <QWidget>

namespace plenoria {

class PlainButton;
class PreviewColumnController;

// Zoom out, the readout (which resets to the default zoom) and zoom in.
class ZoomControls : public QWidget {
    Q_OBJECT
public:
    static constexpr int readoutWidth = 74;

    // The controller outlives the controls.
    explicit ZoomControls(PreviewColumnController& controller, QWidget* parent = nullptr);

    PlainButton* zoomOutButton() const { return m_zoomOut; }
    PlainButton* readout() const { return m_readout; }
    PlainButton* zoomInButton() const { return m_zoomIn; }

private:
    void refresh();

    PreviewColumnController& m_controller;
    PlainButton* m_zoomOut;
    PlainButton* m_readout;
    PlainButton* m_zoomIn;
};

} // namespace plenoria
