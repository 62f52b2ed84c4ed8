#include "app/FilingPane.h"

#include "app/DestinationField.h"
#include "app/FormSection.h"
#include "app/SettingsController.h"
#include "store/Preferences.h"

namespace plenoria {

FilingPane::FilingPane(SettingsController& controller, QWidget* parent)
    : PaneForm(parent)
    , m_controller(controller)
{
    FormSection* destinations = addSection(QStringLiteral("Destinations"),
        QStringLiteral(
            "Keys 1-9 can be set to destination subfolders for easy file sorting. Empty fields are "
            "unset. See help file for more details."));
    for (qint64 position = 0; position < Preferences::destinationCount; ++position) {
        const QString label = QStringLiteral("Key %1").arg(position + 1);
        auto* field = new DestinationField;
        field->setAccessibleName(label);
        destinations->addRow(label, field);
        // Every keystroke stores the whole text, blanks included, as typed.
        connect(field, &QLineEdit::textEdited, this,
            [this, position](const QString& text) { m_controller.setDestinationName(position, text); });
        m_fields.append(field);
    }
    connect(&m_controller, &SettingsController::changed, this, &FilingPane::refresh);
    refresh();
}

void FilingPane::refresh()
{
    for (qint64 position = 0; position < m_fields.size(); ++position) {
        DestinationField* field = m_fields.at(position);
        const QString stored = m_controller.destinationName(position);
        // Rewriting the same text would move the caret of the field being typed in.
        if (field->text() != stored)
            field->setText(stored);
        field->setFlagged(m_controller.isFlagged(position));
    }
}

} // namespace plenoria
