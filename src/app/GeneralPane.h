#pragma once

#include "app/PaneForm.h"

namespace plenoria {

class SettingsController;
class SettingsSegmentedPicker;

// Appearance and the collection's layout: the theme and the side of the file list.
class GeneralPane : public PaneForm {
    Q_OBJECT
public:
    explicit GeneralPane(SettingsController& controller, QWidget* parent = nullptr);

    SettingsSegmentedPicker* themePicker() const { return m_theme; }
    SettingsSegmentedPicker* listSidePicker() const { return m_listSide; }

private:
    void refresh();

    SettingsController& m_controller;
    SettingsSegmentedPicker* m_theme;
    SettingsSegmentedPicker* m_listSide;
};

} // namespace plenoria
