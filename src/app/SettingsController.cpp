#include "app/SettingsController.h"

#include "imaging/model/FolderName.h"
#include "imaging/model/HexColor.h"
#include "store/FolderStore.h"
#include "store/Preferences.h"

#include <QHash>
#include <QPointer>

namespace plenoria {

SettingsController::SettingsController(Preferences& prefs, FolderStore& store, QObject* parent)
    : QObject(parent)
    , m_prefs(prefs)
    , m_store(store)
{
    for (auto signal : {&Preferences::themeChanged, &Preferences::listSideChanged,
             &Preferences::previewDarkFirstChanged, &Preferences::defaultZoomChanged,
             &Preferences::previewDarkHexChanged, &Preferences::previewLightHexChanged,
             &Preferences::animateGIFsChanged, &Preferences::subfolderNamesChanged,
             &Preferences::backupOnSaveChanged, &Preferences::showEditedBadgeChanged})
        connect(&m_prefs, signal, this, &SettingsController::changed);
    // The backups folder can appear with any store change (the first save makes it), and the
    // store has no signal of its own for it.
    for (auto signal :
        {&FolderStore::workingFolderChanged, &FolderStore::itemsChanged, &FolderStore::editedFilenamesChanged,
            &FolderStore::filedCountsChanged, &FolderStore::undoStackChanged})
        connect(&m_store, signal, this, &SettingsController::changed);
}

AppTheme SettingsController::theme() const
{
    return m_prefs.theme();
}
void SettingsController::setTheme(AppTheme theme)
{
    m_prefs.setTheme(theme);
}
ListSide SettingsController::listSide() const
{
    return m_prefs.listSide();
}
void SettingsController::setListSide(ListSide side)
{
    m_prefs.setListSide(side);
}

bool SettingsController::previewDarkFirst() const
{
    return m_prefs.previewDarkFirst();
}
void SettingsController::setPreviewDarkFirst(bool darkFirst)
{
    m_prefs.setPreviewDarkFirst(darkFirst);
}
ZoomLevel SettingsController::defaultZoom() const
{
    return m_prefs.defaultZoom();
}
void SettingsController::setDefaultZoom(ZoomLevel zoom)
{
    m_prefs.setDefaultZoom(zoom);
}

QColor SettingsController::darkColor() const
{
    return parseHexColor(m_prefs.previewDarkHex());
}
QColor SettingsController::lightColor() const
{
    return parseHexColor(m_prefs.previewLightHex());
}
void SettingsController::setDarkColor(const QColor& color)
{
    m_prefs.setPreviewDarkHex(hexString(color));
}
void SettingsController::setLightColor(const QColor& color)
{
    m_prefs.setPreviewLightHex(hexString(color));
}

void SettingsController::restoreDefaultColors()
{
    m_prefs.setPreviewDarkHex(defaultDarkHex);
    m_prefs.setPreviewLightHex(defaultLightHex);
}

bool SettingsController::usesDefaultColors() const
{
    return m_prefs.previewDarkHex() == defaultDarkHex && m_prefs.previewLightHex() == defaultLightHex;
}

bool SettingsController::animateGIFs() const
{
    return m_prefs.animateGIFs();
}
void SettingsController::setAnimateGIFs(bool animate)
{
    m_prefs.setAnimateGIFs(animate);
}

QString SettingsController::destinationName(qint64 position) const
{
    const QStringList names = m_prefs.subfolderNames();
    return position >= 0 && position < names.size() ? names.at(position) : QString();
}

void SettingsController::setDestinationName(qint64 position, const QString& name)
{
    m_prefs.setSubfolderName(position, name);
}

bool SettingsController::isFlagged(qint64 position) const
{
    return isFlagged(m_prefs.subfolderNames(), position);
}

QSet<QString> SettingsController::duplicateNames(const QStringList& names)
{
    QHash<QString, qint64> counts;
    for (const QString& name : names) {
        const QString trimmed = name.trimmed();
        if (!trimmed.isEmpty())
            ++counts[trimmed.toLower()];
    }
    QSet<QString> duplicates;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > 1)
            duplicates.insert(it.key());
    }
    return duplicates;
}

bool SettingsController::isFlagged(const QStringList& names, qint64 position)
{
    if (position < 0 || position >= names.size())
        return false;
    const QString trimmed = names.at(position).trimmed();
    if (trimmed.isEmpty())
        return false;
    if (!isValidFolderName(trimmed))
        return true;
    return duplicateNames(names).contains(trimmed.toLower());
}

bool SettingsController::backupOnSave() const
{
    return m_prefs.backupOnSave();
}
void SettingsController::setBackupOnSave(bool backup)
{
    m_prefs.setBackupOnSave(backup);
}
bool SettingsController::showEditedBadge() const
{
    return m_prefs.showEditedBadge();
}
void SettingsController::setShowEditedBadge(bool show)
{
    m_prefs.setShowEditedBadge(show);
}

bool SettingsController::canRevealOriginals() const
{
    return m_store.hasOriginalsFolder();
}

void SettingsController::revealOriginals()
{
    // Each attempt starts without the last one's failure; its own may arrive later, on the event loop.
    if (std::exchange(m_revealFailure, std::nullopt))
        emit changed();
    // The folder may have gone since the button was enabled; the store then does nothing.
    m_store.revealOriginalsFolder([self = QPointer<SettingsController>(this)](const QString& message) {
        if (!self)
            return;
        self->m_revealFailure = message;
        emit self->changed();
    });
}

QString zoomMenuLabel(ZoomLevel level)
{
    return QStringLiteral("%1 px").arg(rawValue(level));
}

QString themeSegmentLabel(AppTheme theme)
{
    const QString raw = rawValue(theme);
    return raw.left(1).toUpper() + raw.mid(1);
}

} // namespace plenoria
