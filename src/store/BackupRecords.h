#pragma once

#include "store/FileOperations.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace plenoria {

// Which contents each backup belongs to, so that a later file that merely took the name is never
// mistaken for the one a backup was taken from. One small file per backed-up name in
// F/.plenoria/records, holding a line "<size> <SHA-256 in lower-case hex>" per content the store found
// or wrote under that name since the backup was taken. A backup counts for a file only where its
// record lists the file's content. Paths are absolute local paths; main thread only.
class BackupRecords {
public:
    struct Content {
        qint64 size = 0;
        QByteArray sha256; // in lower-case hex
        bool operator==(const Content&) const = default;
    };
    struct Record {
        // listed: `contents` hold what the record lists. missing: there is none. senseless: what is
        // there is no record of ours (unparseable, too large, not a regular file, or behind a link
        // among the store's folders), which vouches for nothing, as a missing one does. unreadable:
        // it could not be read, for `error`, and nothing may be decided from it.
        enum class Kind { listed, missing, senseless, unreadable };
        Kind kind = Kind::missing;
        QList<Content> contents;
        int error = 0;
        bool admits(const Content& content) const
        {
            return kind == Kind::listed && contents.contains(content);
        }
    };

    BackupRecords(FileOperations& files, const QString& workingFolder);

    // F/.plenoria/records of a folder F.
    static QString folderPath(const QString& workingFolder);
    static Content contentOf(const QByteArray& bytes);
    static Content contentOf(const FileOperations::Digest& digest) { return {digest.size, digest.sha256}; }

    // Where the record of a name is kept.
    QString pathOf(const QString& name) const;
    Record read(const QString& name) const;
    // Replaces the name's record atomically; never writes through a link among the store's folders.
    FileResult write(const QString& name, const QList<Content>& contents);
    // A record that is already gone, or behind a link among the store's folders, counts as removed.
    FileResult remove(const QString& name);
    // A record moved out of its name's way, under a temporary name in the records folder (`path`, empty
    // when the name had none), so that it vouches for no backup placed meanwhile; or why it could not be.
    struct Held {
        QString path;
        FileResult result = FileResult::success();
    };
    // Only a regular file is moved: anything else under the name refuses, as a write there would.
    Held holdAside(const QString& name);
    // Puts a held record back under its name, which must be free.
    FileResult bringBack(const Held& held, const QString& name);
    // Removes a held record once the name has a new one.
    void drop(const Held& held);
    // Gives `newName` the contents of `record` (read from the name whose backup is about to move
    // there), or no record when it lists none: a stale record of the new name must not vouch for the
    // backup that arrives.
    FileResult carry(const Record& record, const QString& newName);

    // The text `write` writes for these contents, and the contents a text lists, or none when it is
    // not exactly such a text: the one inverts the other.
    static QByteArray text(const QList<Content>& contents);
    static std::optional<QList<Content>> parse(const QByteArray& text);

private:
    // ENOTDIR when .plenoria or its records folder is a link, or the errno that kept it from looking.
    FileResult ownFoldersUnlinked() const;

    FileOperations& m_files;
    QString m_folder;
};

} // namespace plenoria
