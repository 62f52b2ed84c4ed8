#include "app/PreviewPane.h"

#include "app/FormSection.h"
#include "app/SettingsColorButton.h"
#include "app/SettingsController.h"
#include "app/SettingsSegmentedPicker.h"
#include "app/SettingsToggle.h"

#include <QComboBox>
#include <QPushButton>

namespace plenoria {

PreviewPane::PreviewPane(SettingsController& controller, QWidget* parent)
    : PaneForm(parent)
    , m_controller(controller)
    , m_order(new SettingsSegmentedPicker({QStringLiteral("Dark first"), QStringLiteral("Light first")}))
    , m_size(new QComboBox)
    , m_dark(new SettingsColorButton(QStringLiteral("Dark tile")))
    , m_light(new SettingsColorButton(QStringLiteral("Light tile")))
    , m_restore(new QPushButton(QStringLiteral("Restore defaults")))
    , m_play(new SettingsToggle)
{
    for (const ZoomLevel level : allZoomLevels)
        m_size->addItem(zoomMenuLabel(level), QVariant::fromValue(rawValue(level)));

    FormSection* previews = addSection(QStringLiteral("Previews"),
        QStringLiteral("Change the order of the background colors and the default preview size."));
    previews->addRow(QStringLiteral("Background order"), m_order);
    previews->addRow(QStringLiteral("Default size"), m_size);

    FormSection* colors = addSection(QStringLiteral("Background colors"),
        QStringLiteral("Change the default background colors to whatever you like."));
    colors->addRow(QStringLiteral("Dark tile"), m_dark);
    colors->addRow(QStringLiteral("Light tile"), m_light);
    colors->addWideRow(m_restore);

    addSection(QStringLiteral("Animated files"),
        QStringLiteral(
            "The two grounds always play simultaneously. Playback can be toggled on/off in the app."))
        ->addRow(QStringLiteral("Automatically play files"), m_play);
    m_play->setAccessibleName(QStringLiteral("Automatically play files"));

    connect(m_order, &SettingsSegmentedPicker::activated, this,
        [this](int index) { m_controller.setPreviewDarkFirst(index == 0); });
    connect(m_size, &QComboBox::activated, this,
        [this](int index) { m_controller.setDefaultZoom(allZoomLevels.at(static_cast<size_t>(index))); });
    connect(m_dark, &SettingsColorButton::colorPicked, &m_controller, &SettingsController::setDarkColor);
    connect(m_light, &SettingsColorButton::colorPicked, &m_controller, &SettingsController::setLightColor);
    connect(m_restore, &QPushButton::clicked, &m_controller, &SettingsController::restoreDefaultColors);
    connect(m_play, &SettingsToggle::clicked, &m_controller, &SettingsController::setAnimateGIFs);
    connect(&m_controller, &SettingsController::changed, this, &PreviewPane::refresh);
    refresh();
}

void PreviewPane::refresh()
{
    m_order->setCurrentIndex(m_controller.previewDarkFirst() ? 0 : 1);
    m_size->setCurrentIndex(static_cast<int>(zoomLevelIndex(m_controller.defaultZoom())));
    m_dark->setColor(m_controller.darkColor());
    m_light->setColor(m_controller.lightColor());
    m_restore->setEnabled(!m_controller.usesDefaultColors());
    m_play->setChecked(m_controller.animateGIFs());
}

} // namespace plenoria
