#include "SettingsRig.h"

#include "PathBookmarkStore.h"

#include <QDir>
#include <QImage>

using namespace plenoria;

SettingsRig::SettingsRig(bool withFolder)
    : settings(settingsDir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat)
{
    QImage(4, 4, QImage::Format_ARGB32).save(QDir(folder.path()).filePath(QStringLiteral("a.png")));
    if (withFolder)
        settings.setValue(QStringLiteral("workingFolderBookmark"),
            QByteArray("plenoria-folder-path 1\n") + folder.path().toUtf8());
    FolderStoreServices services;
    services.bookmarks = std::make_shared<PathBookmarkStore>(&settings);
    services.reveal = reveal;
    store = std::make_unique<FolderStore>(services);
    prefs = std::make_unique<Preferences>(&settings);
}

QString SettingsRig::originalsPath() const
{
    return FolderStore::backupsFolderPath(folder.path());
}

QVariant SettingsRig::stored(const QString& key) const
{
    // Same process, so sync first: the other reader must see the file, not a shared cache.
    const_cast<QSettings&>(settings).sync();
    QSettings reader(settings.fileName(), QSettings::IniFormat);
    return reader.value(key);
}
