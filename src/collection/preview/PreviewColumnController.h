#pragma once

#include "imaging/model/ZoomLevel.h"
#include "imaging/read/ImageItem.h"

#include <QColor>
#include <QObject>
#include <QString>
#include <optional>

namespace plenoria {

class ContentController;

// What the preview column's controls row shows and does, without widgets: the title, the
// playback and timing chips, the zoom buttons and readout. It reads the window's selection and
// the preferences, and writes only the zoom and playback preferences. Main thread only.
class PreviewColumnController : public QObject {
    Q_OBJECT
public:
    using ColorRole = QColor (*)();

    // The window's controller outlives this one.
    explicit PreviewColumnController(ContentController& content, QObject* parent = nullptr);

    ContentController& content() const { return m_content; }
    std::optional<ImageItem> item() const;

    // The item's file name, or "No specimen" without one.
    QString titleText() const;
    bool hasItem() const { return item().has_value(); }

    bool showsPlaybackChip() const;
    bool showsTimingChip() const;
    // The symbol shows the state, not the action: play while playing.
    QString playbackSymbol() const;
    ColorRole playbackTint() const;
    QString playbackHelp() const;
    static QString timingChipText();
    static QString timingHelp();

    // "128 px", or "< 128 px" when the tiles draw the image smaller for want of room.
    QString zoomLabel() const;
    static QString zoomLabel(ZoomLevel zoom, double previewZoomSide);
    bool canZoomOut() const;
    bool canZoomIn() const;
    static QString resetZoomHelp();

    void zoomOut();
    void zoomIn();
    void resetZoom();
    void togglePlayback();
    // The timing chip was clicked; only while it shows.
    void requestTimingRepair();

signals:
    // Anything the controls row shows may have changed.
    void changed();
    // The user asked to open the selected image on the bench with its timing repair ready.
    void timingRepairRequested();

private:
    ContentController& m_content;
};

} // namespace plenoria
