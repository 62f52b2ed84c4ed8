#include "bench/sheets/BenchSheets.h"

#include "bench/sheets/ExportPanel.h"
#include "bench/sheets/SaveGate.h"

namespace plenoria {

namespace {

// Closes a sheet that the model no longer wants; `finished` follows, which lets it go.
void closeSheet(QDialog* sheet)
{
    if (sheet)
        sheet->reject();
}

} // namespace

BenchSheets::BenchSheets(BenchModel& model, QWidget* host)
    : QObject(host)
    , m_model(model)
    , m_host(host)
{
    connect(&model, &BenchModel::changed, this, &BenchSheets::modelChanged);
    sync();
}

SaveGate* BenchSheets::saveGate() const
{
    return m_gate;
}

ExportPanel* BenchSheets::exportPanel() const
{
    return m_export;
}

void BenchSheets::modelChanged(BenchModel::Changes changes)
{
    if (changes & BenchModel::Change::sheets)
        sync();
}

void BenchSheets::sync()
{
    if (!m_model.showingSaveGate())
        closeSheet(m_gate);
    if (!m_model.showingExport())
        closeSheet(m_export);
    if (m_model.showingSaveGate() && !m_gate && !m_export)
        openGate();
    else if (m_model.showingExport() && !m_export && !m_gate)
        openExport();
}

void BenchSheets::openGate()
{
    auto* gate = new SaveGate(m_model, m_host);
    m_gate = gate;
    connect(gate, &QDialog::finished, this, [this, gate] {
        // Forget the sheet first: the flag's change below must not close it a second time.
        if (m_gate == gate)
            m_gate.clear();
        gate->deleteLater();
        m_model.keepEditing();
        // A sheet asked for while this one was closing opens now.
        sync();
    });
    gate->open();
}

void BenchSheets::openExport()
{
    auto* model
        = new ExportPanelModel(m_model.exportStrip(), m_model.fileName(), m_model.baseName(), m_sizeJob);
    connect(model, &ExportPanelModel::cancelRequested, &m_model, &BenchModel::cancelExport);
    connect(model, &ExportPanelModel::exportRequested, &m_model, &BenchModel::finishExport);
    auto* panel = new ExportPanel(model, m_host);
    m_export = panel;
    connect(panel, &QDialog::finished, this, [this, panel] {
        if (m_export == panel)
            m_export.clear();
        // Whatever still runs for this panel stores nothing from now on.
        panel->model().stopEstimating();
        panel->deleteLater();
        m_model.cancelExport();
        sync();
    });
    panel->open();
}

} // namespace plenoria
