#include "SettingsRig.h"

#include "ChildProcess.h"
#include "store/PathBookmarkStore.h"

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

QMap<QString, QString> SettingsRig::storedKeys() const
{
    const_cast<QSettings&>(settings).sync();
    QMap<QString, QString> keys;
    const QString printed = plenoria::test::runChild(QStringLiteral("storedKeys"), settings.fileName());
    for (const QString& line : printed.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        keys.insert(line.left(equals), line.mid(equals + 1));
    }
    return keys;
}
