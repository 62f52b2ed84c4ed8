#pragma once

#include "imaging/model/FramesSpec.h"
#include "inspectors/controls/Binding.h"

#include <QImage>
#include <QWidget>
#include <vector>

class QScrollArea;

namespace plenoria {

class TimelineCell;
class TimelineHeader;

// An animation's frame positions under the canvas: a header (frames kept, running time, loops,
// skips, the selection, a warning about fast delays) over a horizontally scrolling strip with a cell
// for every edit. Clicks move the playhead and build the selection; while editable each cell has a
// delay field. It keeps nothing of its own: everything is read through its sources, and written
// back through them at once. The owner calls `refresh` whenever what the sources read has changed.
class FramesTimeline : public QWidget {
    Q_OBJECT
public:
    struct Sources {
        Binding<FramesSpec> spec; // the edits in output order, one cell each
        Binding<FrameSelection> selection; // selected positions, shared with the frames inspector
        std::vector<QImage> frames; // the incoming frames that an edit's `input` indexes
        Binding<qint64> playhead; // the position whose frame the canvas shows
        qint64 loopCount = 0; // 0 is endless
        bool editable = false; // false: no delay fields and the read-only hint
    };

    static const QString readOnlyHint;

    explicit FramesTimeline(QWidget* parent = nullptr);

    // Takes new sources and shows them; cells are kept and reused where they can be.
    void setSources(Sources sources);
    // Shows what the sources read now.
    void refresh();

    // A click on the cell at `position`: the playhead moves there first, then the selection follows
    // the modifiers (Ctrl toggles, Shift spans, else that cell alone).
    void click(qint64 position, Qt::KeyboardModifiers modifiers);
    // What the delay field of `position` edits: reads 0 and ignores writes once the position is gone;
    // a write sets that edit's delay, held to what a GIF stores and rounded to a step of 10.
    Binding<qint64> delayBinding(qint64 position) const;

    bool editable() const { return m_sources.editable; }
    qint64 cellCount() const { return qint64(m_cells.size()); }
    TimelineCell* cell(qint64 position) const { return m_cells.at(size_t(position)); }
    QScrollArea* strip() const { return m_scroll; }
    TimelineHeader* header() const { return m_header; }
    // The header's whole texts; empty for a part not shown.
    struct HeaderTexts {
        QString summary, skipped, selection, warning, hint;
    };
    HeaderTexts headerTexts() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void matchCellCount(qint64 count);
    void layOutStrip();

    Sources m_sources;
    TimelineHeader* m_header;
    QScrollArea* m_scroll;
    QWidget* m_stripContent;
    std::vector<TimelineCell*> m_cells;
};

} // namespace plenoria
