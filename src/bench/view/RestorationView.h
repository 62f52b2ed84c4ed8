#pragma once

#include "bench/model/BenchModel.h"

#include <QWidget>

namespace plenoria {

class BenchCanvas;
class BenchHeader;
class BenchSheets;
class BenchStatusBar;
class ClickAwayFilter;
class InspectorPane;
class Preferences;
class RecordColumn;
class TimelineHost;

// The restoration bench as it lies over the main window's content: a thin composition of separate
// parts over one BenchModel, which holds all of the bench's state. Top to bottom: the header
// (BenchHeader), a divider, three columns divided by rules — the record (RecordColumn, 232 wide),
// the canvas column (BenchCanvas over the TimelineHost, taking all room left and the only part
// that shrinks), the inspector (InspectorPane, 250 wide) — a divider and the status bar
// (BenchStatusBar). The save gate and the export sheet are window-modal dialogs that BenchSheets
// opens and closes from the model's flags. While the view is shown, a click anywhere outside the
// focused widget ends its editing (ClickAwayFilter).
//
// Each part takes the model, connects to BenchModel::changed itself and refreshes in place for the
// flags it shows (see BenchModel); parts never talk to each other, only through the model, so each
// can be replaced or filled on its own. The view writes no file: the model's request signals
// (cancel, save, export, notice) go to whoever hosts the bench.
class RestorationView : public QWidget {
    Q_OBJECT
public:
    // Takes ownership of the model; `prefs` (the canvas grounds) outlives the view. Stamps are
    // picked in a file dialog opening in the image's folder unless the model is given another chooser.
    RestorationView(BenchModel* model, const Preferences& prefs, QWidget* parent = nullptr);

    BenchModel& model() const { return *m_model; }
    BenchHeader* header() const { return m_header; }
    RecordColumn* recordColumn() const { return m_record; }
    BenchCanvas* canvas() const { return m_canvas; }
    TimelineHost* timelineHost() const { return m_timeline; }
    InspectorPane* inspectorPane() const { return m_inspector; }
    BenchStatusBar* statusBar() const { return m_status; }
    BenchSheets* sheets() const { return m_sheets; }
    ClickAwayFilter* clickAwayFilter() const { return m_clickAway; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* buildColumns();

    BenchModel* m_model;
    const Preferences& m_prefs;
    BenchHeader* m_header;
    RecordColumn* m_record = nullptr;
    BenchCanvas* m_canvas = nullptr;
    TimelineHost* m_timeline = nullptr;
    InspectorPane* m_inspector = nullptr;
    BenchStatusBar* m_status;
    BenchSheets* m_sheets;
    ClickAwayFilter* m_clickAway;
};

} // namespace plenoria
