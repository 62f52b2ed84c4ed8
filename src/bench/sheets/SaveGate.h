#pragma once

#include "bench/sheets/BenchSheet.h"

class QCheckBox;
class QPushButton;

namespace plenoria {

class BenchModel;
class ProminentButton;
class ThemedLabel;

// The save gate, as its content is built from the bench's current state. The save variant asks
// "Save changes to cat.png?" with the choice to back up the original; the refusal variant, shown
// when saving in the file's own type would lose the transparency the record made, says why and
// offers Export instead. Return takes the prominent button; Escape keeps editing. Every button
// acts through the bench's model, whose sheet flag closes the gate.
class SaveGate : public BenchSheet {
    Q_OBJECT
public:
    static constexpr int sheetWidth = 380;

    enum class Variant { save, refusal };

    explicit SaveGate(BenchModel& model, QWidget* parent = nullptr);

    Variant variant() const { return m_variant; }
    ThemedLabel* titleLabel() const { return m_title; }
    ThemedLabel* messageLabel() const { return m_message; }
    QPushButton* keepEditingButton() const { return m_keepEditing; }
    // "Save" in the save variant, "Export" in the refusal.
    ProminentButton* actionButton() const { return m_action; }
    // The backup choice; null in the refusal variant.
    QCheckBox* backupToggle() const { return m_backup; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildBackupToggle();
    QWidget* buildButtons(const QString& action);

    BenchModel& m_model;
    Variant m_variant;
    ThemedLabel* m_title = nullptr;
    ThemedLabel* m_message = nullptr;
    QCheckBox* m_backup = nullptr;
    QWidget* m_backupLabels = nullptr;
    QPushButton* m_keepEditing = nullptr;
    ProminentButton* m_action = nullptr;
};

} // namespace plenoria
