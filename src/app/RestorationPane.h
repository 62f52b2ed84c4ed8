#pragma once

#include "app/PaneForm.h"

class QPushButton;

namespace plenoria {

class SettingsController;
class SettingsToggle;
class ThemedLabel;

// Backups of originals: whether Save keeps one, whether the list marks edited images, and the
// way to the backups folder in the file manager.
class RestorationPane : public PaneForm {
    Q_OBJECT
public:
    explicit RestorationPane(SettingsController& controller, QWidget* parent = nullptr);

    SettingsToggle* backupToggle() const { return m_backup; }
    SettingsToggle* badgeToggle() const { return m_badge; }
    QPushButton* revealButton() const { return m_reveal; }
    // Shown under the backups while the last reveal has failed.
    ThemedLabel* revealFailureLine() const { return m_revealFailure; }

private:
    void refresh();

    SettingsController& m_controller;
    SettingsToggle* m_backup;
    SettingsToggle* m_badge;
    QPushButton* m_reveal;
    ThemedLabel* m_revealFailure;
};

} // namespace plenoria
