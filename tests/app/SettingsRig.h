#pragma once

#include "store/FolderStore.h"
#include "store/Preferences.h"

#include <QMap>
#include <QSettings>
#include <QTemporaryDir>
#include <QUrl>
#include <memory>

// Records what the store asks the file manager to show.
class RecordingReveal : public plenoria::RevealService {
public:
    void reveal(const QUrl& url, FailureHandler onFailure) override
    {
        revealed.append(url);
        if (fail)
            onFailure();
    }
    QList<QUrl> revealed;
    // Answers as a desktop without a file manager or a folder opener would.
    bool fail = false;
};

// Preferences and a store over a settings file and a working folder of their own.
struct SettingsRig {
    explicit SettingsRig(bool withFolder = true);

    QString originalsPath() const;
    // What the preferences wrote for `key`, read back from the file by a fresh reader.
    QVariant stored(const QString& key) const;
    // Every key of the settings file with its value as text, as a fresh process reads them; a key
    // never written is absent.
    QMap<QString, QString> storedKeys() const;

    QTemporaryDir folder;
    QTemporaryDir settingsDir;
    QSettings settings;
    std::shared_ptr<RecordingReveal> reveal = std::make_shared<RecordingReveal>();
    std::unique_ptr<plenoria::FolderStore> store;
    std::unique_ptr<plenoria::Preferences> prefs;
};
