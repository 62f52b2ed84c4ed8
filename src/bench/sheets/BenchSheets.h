#pragma once

#include "bench/model/BenchModel.h"
#include "bench/sheets/ExportSizeEstimate.h"

#include <QObject>
#include <QPointer>

class QWidget;

namespace plenoria {

class ExportPanel;
class SaveGate;

// Presents the bench's two sheets from the model's flags: while `showingSaveGate` is set the save
// gate is open, while `showingExport` is set the export panel, never both. Each opening builds the
// sheet afresh from the bench's current state (the gate's decision, the export strip); a sheet the
// user dismisses clears its flag, and a flag cleared by the model closes its sheet. The sheets are
// window-modal over `host`'s window.
class BenchSheets : public QObject {
    Q_OBJECT
public:
    BenchSheets(BenchModel& model, QWidget* host);

    // The sheets on show, or null.
    SaveGate* saveGate() const;
    ExportPanel* exportPanel() const;
    // The size estimate's job for panels opened from now on; empty for the real one.
    void setSizeJob(ExportSizeEstimate::Job job) { m_sizeJob = std::move(job); }

private:
    void modelChanged(BenchModel::Changes changes);
    void sync();
    void openGate();
    void openExport();

    BenchModel& m_model;
    QWidget* m_host;
    QPointer<SaveGate> m_gate;
    QPointer<ExportPanel> m_export;
    ExportSizeEstimate::Job m_sizeJob;
};

} // namespace plenoria
