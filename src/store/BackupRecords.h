#pragma once

#include "store/FileOperations.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace plenoria {

// Which contents each backup belongs to, so that a later file that merely took the name is never
// mistaken for the one a backup was taken from. One small file per backed-up name in
// F/.plenoria/records, holding a line "<size> <SHA-256 in hex>" per content the store found or wrote
// under that name since the backup was taken. A name without a record is trusted, as backups made
// before records were kept have none. Paths are absolute local paths; main thread only.
class BackupRecords {
public:
    struct Content {
        qint64 size = 0;
        QByteArray sha256; // in hex
        bool operator==(const Content&) const = default;
    };
    // `error` is ENOENT when the name has no record, another errno when it could not be read or
    // made no sense; `contents` are valid only when it is 0.
    struct Record {
        QList<Content> contents;
        int error = 0;
        bool missing() const { return error == ENOENT; }
        // Whether the record is missing or lists this content: the backup may be kept for it.
        bool admits(const Content& content) const { return missing() || contents.contains(content); }
    };

    BackupRecords(FileOperations& files, const QString& workingFolder);

    // F/.plenoria/records of a folder F.
    static QString folderPath(const QString& workingFolder);
    static Content contentOf(const QByteArray& bytes);

    // Where the record of a name is kept.
    QString pathOf(const QString& name) const;
    Record read(const QString& name) const;
    // Replaces the name's record atomically; never writes through a link among the store's folders.
    FileResult write(const QString& name, const QList<Content>& contents);
    // A record that is already gone counts as removed.
    FileResult remove(const QString& name);
    // Gives `newName` the record of `oldName` (or none, when it has none), leaving `oldName`'s in
    // place: its backup moves after this, and a record without a backup misleads no one.
    FileResult carry(const QString& oldName, const QString& newName);

private:
    // ENOTDIR when .plenoria or its records folder is a link, or the errno that kept it from looking.
    FileResult ownFoldersUnlinked() const;

    FileOperations& m_files;
    QString m_folder;
};

} // namespace plenoria
