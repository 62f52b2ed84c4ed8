#include "app/RestorationPane.h"

#include "app/FormSection.h"
#include "app/SettingsController.h"
#include "app/SettingsToggle.h"
#include "imaging/model/Theme.h"
#include "inspectors/controls/ThemedLabel.h"

#include <QPushButton>

namespace plenoria {

RestorationPane::RestorationPane(SettingsController& controller, QWidget* parent)
    : PaneForm(parent)
    , m_controller(controller)
    , m_backup(new SettingsToggle)
    , m_badge(new SettingsToggle)
    , m_reveal(new QPushButton(QStringLiteral("Open in File Manager")))
    , m_revealFailure(new ThemedLabel(QString(), Theme::serifFont(12), &Theme::rust))
{
    FormSection* backups
        = addSection(QStringLiteral("Backups"), QStringLiteral("Backups preserve your original specimen."));
    backups->addRow(QStringLiteral("Back up originals on Save"), m_backup);
    backups->addRow(QStringLiteral("Show edited badge in the collection"), m_badge);
    backups->addRow(
        new ThemedLabel(SettingsController::originalsFolderLabel, Theme::monospacedFont(12), &Theme::ink),
        m_reveal);
    m_revealFailure->setWordWrap(true);
    m_revealFailure->setContentsMargins(4, 0, 4, 0);
    m_revealFailure->hide();
    backups->addLine(m_revealFailure);
    m_backup->setAccessibleName(QStringLiteral("Back up originals on Save"));
    m_badge->setAccessibleName(QStringLiteral("Show edited badge in the collection"));

    connect(m_backup, &SettingsToggle::clicked, &m_controller, &SettingsController::setBackupOnSave);
    connect(m_badge, &SettingsToggle::clicked, &m_controller, &SettingsController::setShowEditedBadge);
    connect(m_reveal, &QPushButton::clicked, &m_controller, &SettingsController::revealOriginals);
    connect(&m_controller, &SettingsController::changed, this, &RestorationPane::refresh);
    refresh();
}

void RestorationPane::refresh()
{
    m_backup->setChecked(m_controller.backupOnSave());
    m_badge->setChecked(m_controller.showEditedBadge());
    m_reveal->setEnabled(m_controller.canRevealOriginals());
    const std::optional<QString> failure = m_controller.revealFailure();
    m_revealFailure->setText(failure.value_or(QString()));
    m_revealFailure->setVisible(failure.has_value());
}

} // namespace plenoria
