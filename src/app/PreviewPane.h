#pragma once

#include "app/PaneForm.h"

class QComboBox;
class QPushButton;

namespace plenoria {

class SettingsColorButton;
class SettingsController;
class SettingsSegmentedPicker;
class SettingsToggle;

// The preview tiles: their order, the default size, their two ground colours and playback.
class PreviewPane : public PaneForm {
    Q_OBJECT
public:
    explicit PreviewPane(SettingsController& controller, QWidget* parent = nullptr);

    SettingsSegmentedPicker* orderPicker() const { return m_order; }
    QComboBox* sizeMenu() const { return m_size; }
    SettingsColorButton* darkWell() const { return m_dark; }
    SettingsColorButton* lightWell() const { return m_light; }
    QPushButton* restoreButton() const { return m_restore; }
    SettingsToggle* playToggle() const { return m_play; }

private:
    void refresh();

    SettingsController& m_controller;
    SettingsSegmentedPicker* m_order;
    QComboBox* m_size;
    SettingsColorButton* m_dark;
    SettingsColorButton* m_light;
    QPushButton* m_restore;
    SettingsToggle* m_play;
};

} // namespace plenoria
