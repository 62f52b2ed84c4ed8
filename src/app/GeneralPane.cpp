#include "app/GeneralPane.h"

#include "app/FormSection.h"
#include "app/SettingsController.h"
#include "app/SettingsSegmentedPicker.h"

namespace plenoria {

namespace {

QStringList themeLabels()
{
    QStringList labels;
    for (const AppTheme theme : allAppThemes)
        labels.append(themeSegmentLabel(theme));
    return labels;
}

} // namespace

GeneralPane::GeneralPane(SettingsController& controller, QWidget* parent)
    : PaneForm(parent)
    , m_controller(controller)
    , m_theme(new SettingsSegmentedPicker(themeLabels()))
    , m_listSide(new SettingsSegmentedPicker({QStringLiteral("Left"), QStringLiteral("Right")}))
{
    addSection(QStringLiteral("Appearance"))->addRow(QStringLiteral("Theme"), m_theme);
    addSection(
        QStringLiteral("Collection layout"), QStringLiteral("Swap the file list and previews if you like."))
        ->addRow(QStringLiteral("File list position"), m_listSide);

    connect(m_theme, &SettingsSegmentedPicker::activated, this,
        [this](int index) { m_controller.setTheme(allAppThemes.at(static_cast<size_t>(index))); });
    connect(m_listSide, &SettingsSegmentedPicker::activated, this,
        [this](int index) { m_controller.setListSide(allListSides.at(static_cast<size_t>(index))); });
    connect(&m_controller, &SettingsController::changed, this, &GeneralPane::refresh);
    refresh();
}

void GeneralPane::refresh()
{
    m_theme->setCurrentIndex(static_cast<int>(m_controller.theme()));
    m_listSide->setCurrentIndex(static_cast<int>(m_controller.listSide()));
}

} // namespace plenoria
