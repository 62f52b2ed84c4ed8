#pragma once

#include "bench/model/BenchModel.h"
#include "inspectors/controls/TitledHeader.h"

class QPushButton;

namespace plenoria {

class ProminentButton;
class StackingRow;
class SymbolLabel;

// The bench's header: "Plenoria" and "Restoration bench", then the file's name and the buttons
// "Export", "Cancel" and "Save" (the last disabled while the record is empty), side by side when
// they fit, else stacked and aligned trailing.
class BenchHeader : public TitledHeader {
    Q_OBJECT
public:
    explicit BenchHeader(BenchModel& model, QWidget* parent = nullptr);

    QPushButton* exportButton() const { return m_export; }
    QPushButton* cancelButton() const { return m_cancel; }
    ProminentButton* saveButton() const { return m_save; }
    bool isStacked() const;

private:
    void modelChanged(BenchModel::Changes changes);

    BenchModel& m_model;
    SymbolLabel* m_fileLabel;
    QPushButton* m_export;
    QPushButton* m_cancel;
    ProminentButton* m_save;
    StackingRow* m_row = nullptr;
};

} // namespace plenoria
