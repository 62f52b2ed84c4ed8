#pragma once

#include <QWidget>

namespace plenoria {

class Chip;
class ConfigStripView;
class ContentController;
class ElidedLabel;
class PreviewColumnController;
class PreviewPaneView;
class ZoomControls;

// The preview side of the main window: the controls row (title, playback and timing chips, zoom
// controls), the two preview tiles and the filing destinations strip. It has no state of its own:
// it follows the window's selection, the preferences and the store.
class PreviewColumn : public QWidget {
    Q_OBJECT
public:
    // The window's controller outlives the column.
    explicit PreviewColumn(ContentController& content, QWidget* parent = nullptr);

    PreviewColumnController& controller() const { return *m_controller; }
    ElidedLabel* title() const { return m_title; }
    Chip* playbackChip() const { return m_playbackChip; }
    Chip* timingChip() const { return m_timingChip; }
    ZoomControls* zoomControls() const { return m_zoomControls; }
    PreviewPaneView* pane() const { return m_pane; }
    ConfigStripView* strip() const { return m_strip; }

private:
    QWidget* buildControlsRow();
    void refreshControls();
    void refreshPane();

    ContentController& m_content;
    PreviewColumnController* m_controller;
    ElidedLabel* m_title = nullptr;
    Chip* m_playbackChip = nullptr;
    Chip* m_timingChip = nullptr;
    ZoomControls* m_zoomControls = nullptr;
    PreviewPaneView* m_pane = nullptr;
    ConfigStripView* m_strip = nullptr;
};

} // namespace plenoria
