#pragma once

#include "app/PaneForm.h"

#include <QList>

namespace plenoria {

class DestinationField;
class SettingsController;

// The nine filing destinations of the digit keys, each field outlined while its name is flagged.
class FilingPane : public PaneForm {
    Q_OBJECT
public:
    explicit FilingPane(SettingsController& controller, QWidget* parent = nullptr);

    // Position 0 to 8: the field of digit key 1 to 9.
    DestinationField* field(qint64 position) const { return m_fields.at(position); }

private:
    void refresh();

    SettingsController& m_controller;
    QList<DestinationField*> m_fields;
};

} // namespace plenoria
