#pragma once

#include "imaging/model/RestorationSession.h"
#include "imaging/read/ImageItem.h"
#include "imaging/write/ExportFormat.h"
#include "store/BackupRecords.h"
#include "store/BookmarkStore.h"
#include "store/FileOperations.h"
#include "store/FilingOutcome.h"
#include "store/FolderChooser.h"
#include "store/RenameOutcome.h"
#include "store/RestorationOutcome.h"
#include "store/RevealService.h"
#include "store/UndoableAction.h"

#include <QFileInfoList>
#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QUrl>
#include <functional>
#include <memory>
#include <optional>

namespace plenoria {

// The platform services the store works through. Absent ones get the defaults: the path bookmark
// store over the application's settings and the real file system; no chooser (choosing does
// nothing) and no reveal (revealing does nothing) until the application provides its own.
struct FolderStoreServices {
    std::shared_ptr<BookmarkStore> bookmarks;
    std::shared_ptr<FolderChooser> chooser;
    std::shared_ptr<RevealService> reveal;
    std::shared_ptr<FileSystem> fileSystem;
};

// The one owner of the working folder: which folder, its images, the images with a backup, the
// files filed into each subfolder, and the undo stack. Main thread only; every request runs
// synchronously. Each published property has a change signal, emitted only on a real change.
class FolderStore : public QObject {
    Q_OBJECT

public:
    // Restores the remembered folder and scans it before returning.
    explicit FolderStore(FolderStoreServices services = {}, QObject* parent = nullptr);

    std::optional<QUrl> workingFolder() const { return m_workingFolder; }
    // The images at the top level of the working folder, in listing order (views sort).
    const QList<ImageItem>& items() const { return m_items; }
    // Newest last.
    const QList<UndoableAction>& undoStack() const { return m_undoStack; }
    // Lower-cased names of the backups folder's entries: an image is edited when its lower-cased
    // name is in here.
    const QSet<QString>& editedFilenames() const { return m_editedFilenames; }
    // Subfolder name to the number of non-hidden regular files directly inside it; a link to a folder
    // counts as that folder, since filing through it lands there.
    const QHash<QString, qint64>& filedCounts() const { return m_filedCounts; }
    // Raised whenever a save or a put back rewrites a file's content, which can leave its item equal
    // (same size, same timing), so that views holding decoded pixels know to read the file again.
    qint64 contentRevision() const { return m_contentRevision; }

    // Runs the folder chooser and sets what the user picked.
    void chooseFolder();
    // Only a local folder with an absolute path is taken; anything else changes nothing.
    void setWorkingFolder(const QUrl& folder, bool saveBookmark);
    // Rescans the working folder; items whose URL is still listed are kept as they were.
    void reload();
    void refreshEditedFilenames();
    void refreshFiledCounts(const QFileInfoList& listing);
    // The count of the subfolder a destination name reaches (the one of exactly that name, else one
    // that differs only in letter case); none when no such subfolder is known.
    std::optional<qint64> filedCount(const QString& destinationName) const;
    // Why filing into a destination would fail before anything moves (a link that leads to no folder,
    // into .plenoria or back to the working folder, or a file in the way of the subfolder); empty when
    // filing may go ahead. Filing words a link's refusal after "Couldn’t move a.png: ", and a file in
    // the way as the folder it couldn't create.
    QString destinationRefusal(const QString& destinationName) const;

    bool hasOriginalsFolder() const;
    // Called with the user's sentence when no file manager could show the backup; on the main
    // thread, perhaps after the request returned. A missing backup shows nothing and is no failure.
    using RevealFailureHandler = std::function<void(const QString& message)>;
    void revealOriginalsFolder(RevealFailureHandler onFailure = {});
    void revealOriginal(const ImageItem& item, RevealFailureHandler onFailure = {});

    // Files the image into the subfolder `destinationName` (as stored, untrimmed) of the working folder,
    // under the next free name when its own is taken.
    FilingOutcome fileItem(const ImageItem& item, const QString& destinationName);
    struct UniqueDestination {
        QUrl url;
        bool changed = false; // the name had to differ from the file's own
        bool operator==(const UniqueDestination&) const = default;
    };
    UniqueDestination uniqueDestination(const QUrl& file, const QUrl& folder) const;
    // Gives the image a new name in the working folder (`newName` as typed).
    RenameOutcome rename(const ImageItem& item, const QString& newName);
    // Takes back the newest filing or rename.
    FilingOutcome undo();

    // Writes the session's rendered result over the file it was opened from, after copying the file
    // into the backups folder (once: an existing backup is never replaced) when `backup` is set.
    RestorationOutcome save(const RestorationSession& session, bool backup);
    // Puts the image's backup back in its place. The file it replaces is set aside in the displaced
    // folder, never deleted, so an unwanted put-back can be undone by hand.
    RestorationOutcome putBackOriginal(const ImageItem& item);
    // Writes the session's rendered frames as a new file `name`.`format` in the working folder
    // (`name` as typed), under the first free name of name, name-2, name-3, …; never replaces a file.
    RestorationOutcome exportImage(const RestorationSession& session, const QString& name,
        ExportFormat format, double quality, const GIFPalette& palette);

    // F/.plenoria/originals of a folder F.
    static QString backupsFolderPath(const QString& folder);
    // F/.plenoria/displaced: backups that would otherwise have been replaced or orphaned.
    static QString displacedFolderPath(const QString& folder);

signals:
    void workingFolderChanged();
    void itemsChanged();
    void undoStackChanged();
    void editedFilenamesChanged();
    void filedCountsChanged();
    void contentRevisionChanged();
    // Every rescan ends with this, changed or not, for views that read more of the folder than the
    // published properties.
    void rescanned();

private:
    void restoreBookmark();
    // A case-only rename stopped halfway leaves its file in a holding folder in `folder` (or, from
    // earlier versions, under a temporary name): each of `names` (of an interrupted rename's kind) gives
    // back its file under the old name, or the next free one of its series. Only what such a rename
    // leaves is touched: a regular file that reads as an image under a name rename accepts.
    void restoreInterruptedRenames(const QString& folder, const QStringList& names);
    void restoreHeld(const QString& folder, const QString& held, const QString& name);
    std::optional<QString> workingFolderPath() const;
    bool liesInWorkingFolder(const QUrl& url) const;
    // The store's own folders are never followed through a link: of F/.plenoria and F/.plenoria/`inner`
    // ("originals", "displaced" or "records"), the first that is a link, named from F
    // (".plenoria/originals"); empty when neither is.
    QString linkAmongOwnFolders(const QString& folder, const QString& inner) const;

    void setItems(QList<ImageItem> items);
    void setEditedFilenames(QSet<QString> names);
    void setFiledCounts(QHash<QString, qint64> counts);
    void pushAction(const UndoableAction& action);
    void popAction();
    void advanceContentRevision();

    // The subfolder a destination name reaches, or why it could not be made, or why it may not be
    // used (`refusal`, the reason after "Couldn’t move a.png: ").
    struct Subfolder {
        QString name; // as it is on disk
        FileResult result = FileResult::success();
        QString refusal;
    };
    Subfolder reachSubfolder(const QString& folder, const QString& name);
    // Why the link `name` in `folder` may not take filed images; empty when it leads to a folder
    // outside the store's own.
    QString linkRefusal(const QString& folder, const QString& name) const;
    // The name of the link or subfolder in `folder` that filing into `name` reaches; empty when none.
    QString reachedDestination(const QString& folder, const QString& name) const;
    // The name of the subfolder of `folder` (or link to a folder) that `name` reaches; empty when there
    // is none.
    static QString existingSubfolder(const QString& folder, const QString& name);
    // Of `subfolders`, the one `name` reaches: exactly that name, else the first that differs only in
    // letter case; empty when none does.
    static QString reachedName(QStringList subfolders, const QString& name);

    FilingOutcome undoMove(const Move& move);
    FilingOutcome undoRename(const Rename& rename);
    // The undo failed; when its source is gone for good the action is dropped and the toast says so.
    FilingOutcome undoFailure(const QString& sourcePath, const FileResult& result);

    // Where a backup was set aside in the displaced folder of its working folder, or why it wasn't.
    struct SetAside {
        std::optional<QString> path;
        FileResult result = FileResult::success();
    };
    SetAside setAside(const QString& folder, const QString& backupPath);
    // Brings a backup set aside by a filing back under the image's name, when that name is free;
    // empty when it came back, else why it stays set aside.
    QString bringBack(const QString& displacedPath, const QString& folder, const QString& filename);
    // Renames `from` to `to` in one folder; where both names reach `oneFile` (a change of letter case
    // only, on a case-insensitive volume), through a temporary name.
    FileResult renameInPlace(const QString& from, const QString& to, bool oneFile);
    // What a rename from `from` would meet at `to`: nothing, the file itself (another spelling of its
    // name on a case-insensitive volume) or another entry; or `error`, the errno that kept it from
    // looking.
    struct Occupant {
        enum class Kind { none, itself, another };
        Kind kind = Kind::none;
        int error = 0;
    };
    Occupant occupantOf(const QString& from, const QString& to) const;
    // Whether rename gives a file this name (as typed, once trimmed) in the working folder.
    static bool isAllowedName(const QString& name);

    // Whose the backup under `name` in `folder` is, for a file holding `content`. It is this file's
    // only where its record lists that content, or where it holds that content itself; `unknown`
    // when looking at the backup or reading it or its record failed, for `error`.
    struct BackupOwner {
        enum class Kind { none, thisFile, another, notAFile, unknown };
        Kind kind = Kind::none;
        int error = 0;
    };
    BackupOwner backupOwner(
        const QString& folder, const QString& name, const BackupRecords::Content& content);
    // The same for the file at `path`, read for its content; `none` where it is gone or no image file.
    BackupOwner backupOwnerFor(const QString& folder, const QString& name, const QString& path);
    // What a rename from `oldName` to `newName` in `folder` will carry along, looked at before the
    // image moves so that an error while looking stops the rename before anything changes.
    struct BackupCarry {
        bool needed = false; // a backup is under the old name
        bool staleInTheWay = false; // another one is under the new name
        bool oneBackup = false; // both names reach one backup (a case-insensitive volume)
        bool oneRecord = false; // and one record
        BackupRecords::Record record; // of the old name
        FileResult result = FileResult::success();
    };
    // With `imagePath` (an undo), only a backup of the image there is carried, and one of the image's
    // already under the new name stays as it is.
    BackupCarry planBackupCarry(
        const QString& folder, const QString& oldName, const QString& newName, const QString& imagePath = {});
    // Carries the backup as planned, after the image was renamed; empty when it came along (or there
    // was none), else why it stays under the old name, which is also logged.
    QString carryBackup(
        const BackupCarry& plan, const QString& folder, const QString& oldName, const QString& newName);

    // Puts the backup at `backupPath` in place of the file at `path`, after giving that file a second
    // name in the displaced folder.
    FileResult restoreBackup(const QString& folder, const QString& path, const QString& backupPath);
    // The backup of a file about to be saved, or why there is none.
    struct BackupTaken {
        QString failure; // the reason after "Couldn’t back up a.png: ", empty on success
        // Where an earlier backup that was not this file's went: on failure too, should it not come back.
        std::optional<QString> displacedAs;
    };
    // Makes sure the backup under `name` is that of the file at `path`, which holds `current`, and
    // records that the file will next hold `written`: a backup that is not this file's (`owner`) is
    // set aside and a new one copied. A failure leaves the earlier backup where it was, with its record,
    // unless `displacedAs` says otherwise.
    BackupTaken backUp(const QString& folder, const QString& name, const QString& path,
        const QByteArray& current, const QByteArray& written, BackupOwner::Kind owner);
    // After a save without backup, a backup that is this file's own follows its new content.
    FileResult noteRewrite(
        const QString& folder, const QString& name, const QByteArray& current, const QByteArray& written);
    // Why the file at `path` may not be saved over by a session opened on `opened` (gone, changed, or
    // unreadable, as the words after "Couldn’t save a.png: "); empty when it still holds just that.
    QString unchangedSinceOpened(const QString& path, const QByteArray& opened) const;
    // Why the backup under the item's name may not replace the file now there; empty when it may.
    QString putBackRefusal(const QString& folder, const QString& path, const QString& name);
    // Whether a backup can be told from its size alone to be another file's: a look, never a read.
    bool mayBeEditedImage(const QString& folder, const QString& name, const BackupRecords& records) const;
    // The item read afresh after a write, or none when the file cannot be asked for its size: a
    // size of 0 standing in for it would be reported as saved.
    std::optional<ImageItem> readBack(const QUrl& url) const;
    // Replaces the item listed under `url` by `item`, when one is.
    void replaceListedItem(const QUrl& url, const ImageItem& item);

    FolderStoreServices m_services;
    FileOperations m_files;

    std::optional<QUrl> m_workingFolder;
    QList<ImageItem> m_items;
    QList<UndoableAction> m_undoStack;
    QSet<QString> m_editedFilenames;
    QHash<QString, qint64> m_filedCounts;
    qint64 m_contentRevision = 0;
    std::optional<QUrl> m_accessedURL;
};

} // namespace plenoria
