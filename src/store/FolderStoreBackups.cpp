#include "store/FolderStore.h"

#include "imaging/read/RegularFile.h"
#include "store/StoreLog.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>

namespace plenoria {

namespace {

using Kind = FileOperations::Lookup::Kind;

QString nameOf(const QString& path)
{
    return QFileInfo(path).fileName();
}

QString folderOf(const QString& path)
{
    return QFileInfo(path).path();
}

} // namespace

FolderStore::BackupOwner FolderStore::backupOwner(
    const QString& folder, const QString& name, const BackupRecords::Content& content)
{
    const QString backup = FileOperations::childPath(backupsFolderPath(folder), name);
    const FileOperations::Lookup found = m_files.lookUp(backup);
    if (found.kind == Kind::none)
        return {BackupOwner::Kind::none, 0};
    if (found.kind == Kind::unknown)
        return {BackupOwner::Kind::unknown, found.error};
    if (found.kind == Kind::other)
        return {BackupOwner::Kind::notAFile, 0};
    const BackupRecords::Record record = BackupRecords(m_files, folder).read(name);
    if (record.kind == BackupRecords::Record::Kind::unreadable)
        return {BackupOwner::Kind::unknown, record.error};
    if (record.admits(content))
        return {BackupOwner::Kind::thisFile, 0};
    // Unvouched for, a backup that holds the very content the file holds loses nothing whichever way
    // it is taken; its size alone tells most others apart without a read.
    if (found.size != content.size)
        return {BackupOwner::Kind::another, 0};
    const FileOperations::Digest held = m_files.digest(backup, content.size);
    if (held.error != 0)
        return {BackupOwner::Kind::unknown, held.error};
    return {
        BackupRecords::contentOf(held) == content ? BackupOwner::Kind::thisFile : BackupOwner::Kind::another,
        0};
}

FolderStore::BackupOwner FolderStore::backupOwnerFor(
    const QString& folder, const QString& name, const QString& path)
{
    // Images are small; the limit only keeps a huge file from being read whole.
    const FileOperations::Digest digest = m_files.digest(path, RegularFile::maxFileBytes);
    // Something other than an image file owns no backup; a file gone meanwhile fails what comes next.
    if (digest.error == ENOENT || digest.error == EINVAL || digest.error == EFBIG)
        return {BackupOwner::Kind::none, 0};
    if (digest.error != 0)
        return {BackupOwner::Kind::unknown, digest.error};
    return backupOwner(folder, name, BackupRecords::contentOf(digest));
}

FolderStore::BackupTaken FolderStore::backUp(const QString& folder, const QString& name, const QString& path,
    const QByteArray& current, const QByteArray& written, BackupOwner::Kind owner)
{
    BackupRecords records(m_files, folder);
    const BackupRecords::Content before = BackupRecords::contentOf(current);
    const BackupRecords::Content after = BackupRecords::contentOf(written);
    // Both contents are listed while the file changes from the one to the other.
    const QList<BackupRecords::Content> contents = before == after ? QList{before} : QList{before, after};
    if (owner == BackupOwner::Kind::thisFile) {
        const FileResult noted = records.write(name, contents);
        return {noted.ok() ? QString() : noted.description(), std::nullopt};
    }

    const QString backups = backupsFolderPath(folder);
    const QString copy = FileOperations::childPath(backups, name);
    const auto discard
        = [&](const QString& file) { (void)m_files.fileSystem().unlink(QFile::encodeName(file)); };
    // Made whole and synced before anything moves: a copy that cannot be read or written changes nothing.
    const FileOperations::Temporary staged = m_files.copyToTemporary(path, backups);
    if (staged.error != 0)
        return {FileResult::failure(staged.error).description(), std::nullopt};
    // Another file's backup stays that file's, set aside and never deleted, and comes back should
    // this one not be made.
    std::optional<QString> aside;
    if (owner == BackupOwner::Kind::another) {
        const SetAside moved = setAside(folder, copy);
        if (!moved.path) {
            discard(staged.path);
            return {moved.result.description(), std::nullopt};
        }
        aside = moved.path;
    }
    // Whether nothing is set aside (any longer).
    const auto bringBackAside = [&] {
        if (!aside)
            return true;
        const FileResult back = m_files.moveNoReplace(*aside, copy);
        if (!back.ok())
            qCWarning(storeLog).noquote() << QStringLiteral("Plenoria: couldn’t bring back the backup of ")
                    + name + QStringLiteral(": ") + back.description();
        // Fails, as it should, while other backups are set aside there.
        (void)m_files.fileSystem().removeDirectory(QFile::encodeName(folderOf(*aside)));
        return back.ok();
    };
    // The name's record, whoever's it is, goes out of the way before the copy comes: killed at any
    // step, no record sits beside a backup it was not written for.
    const BackupRecords::Held held = records.holdAside(name);
    if (!held.result.ok()) {
        discard(staged.path);
        return {held.result.description(), bringBackAside() ? std::nullopt : std::optional(nameOf(*aside))};
    }
    const auto undone = [&](const FileResult& failure) {
        // Only to its own backup: with the copy still in place, the held record is dropped instead.
        if (m_files.lookUp(copy).kind != Kind::none) {
            records.drop(held);
        } else {
            if (const FileResult back = records.bringBack(held, name); !back.ok())
                qCWarning(storeLog).noquote()
                    << QStringLiteral("Plenoria: couldn’t bring back the backup record of ") + name
                        + QStringLiteral(": ") + back.description();
            if (bringBackAside())
                return BackupTaken{failure.description(), std::nullopt};
        }
        return BackupTaken{failure.description(), aside ? std::optional(nameOf(*aside)) : std::nullopt};
    };
    if (const FileResult placed = m_files.placeTemporary(staged, copy); !placed.ok())
        return undone(placed);
    // Its record follows the copy: killed in between, the copy holds what the file still holds and
    // passes for its backup by that alone, and for no other file.
    if (const FileResult noted = records.write(name, contents); !noted.ok()) {
        discard(copy);
        return undone(noted);
    }
    records.drop(held);
    return {{}, aside ? std::optional(nameOf(*aside)) : std::nullopt};
}

FileResult FolderStore::noteRewrite(
    const QString& folder, const QString& name, const QByteArray& current, const QByteArray& written)
{
    // Nothing is read or written through a link among the store's own folders.
    if (!linkAmongOwnFolders(folder, QStringLiteral("originals")).isEmpty()
        || !linkAmongOwnFolders(folder, QStringLiteral("records")).isEmpty())
        return FileResult::success();
    const BackupOwner owner = backupOwner(folder, name, BackupRecords::contentOf(current));
    if (owner.kind == BackupOwner::Kind::unknown)
        return FileResult::failure(owner.error);
    // Another file's backup is left to the next save with backup, which sets it aside.
    if (owner.kind != BackupOwner::Kind::thisFile)
        return FileResult::success();
    return BackupRecords(m_files, folder)
        .write(name, {BackupRecords::contentOf(current), BackupRecords::contentOf(written)});
}

QString FolderStore::putBackRefusal(const QString& folder, const QString& path, const QString& name)
{
    // Images are small; the limit only keeps a huge file from being read whole.
    const FileOperations::Digest now = m_files.digest(path, RegularFile::maxFileBytes);
    // A file removed meanwhile loses nothing when the backup takes its name.
    if (now.error == ENOENT)
        return {};
    // Something other than a file, or one too large to be an image, can't be matched to anything.
    if (now.error != 0 && now.error != EINVAL && now.error != EFBIG)
        return FileResult::failure(now.error).description();
    if (now.error == 0) {
        const BackupOwner owner = backupOwner(folder, name, BackupRecords::contentOf(now));
        if (owner.kind == BackupOwner::Kind::unknown)
            return FileResult::failure(owner.error).description();
        if (owner.kind == BackupOwner::Kind::thisFile)
            return {};
    }
    // True whether the backup is another file's, the record is gone or unreadable, the file was changed
    // by another program, or something other than a file is at the name.
    return QStringLiteral(
        "its backup can’t be matched to the file now under that name; it is kept in .plenoria/originals.");
}

FolderStore::BackupCarry FolderStore::planBackupCarry(
    const QString& folder, const QString& oldName, const QString& newName, const QString& imagePath)
{
    BackupCarry plan;
    const auto failed = [&](int error) {
        plan.needed = false;
        plan.result = FileResult::failure(error);
        return plan;
    };
    // A change of letter case carries the backup too: on a case-sensitive volume the old spelling
    // would no longer be this image's name.
    if (oldName == newName || !linkAmongOwnFolders(folder, QStringLiteral("originals")).isEmpty())
        return plan;
    const QString backups = backupsFolderPath(folder);
    const QString from = FileOperations::childPath(backups, oldName);
    const QString to = FileOperations::childPath(backups, newName);
    const FileOperations::Lookup found = m_files.lookUp(from);
    if (found.kind == Kind::unknown)
        return failed(found.error);
    if (found.kind == Kind::none)
        return plan;
    const bool caseOnly = oldName.toLower() == newName.toLower();
    if (caseOnly) {
        const FileOperations::Sameness same = m_files.sameFile(from, to);
        if (same.error != 0)
            return failed(same.error);
        plan.oneBackup = same.same;
    }
    if (!imagePath.isEmpty()) {
        const BackupOwner owner = backupOwnerFor(folder, oldName, imagePath);
        if (owner.kind == BackupOwner::Kind::unknown)
            return failed(owner.error);
        if (owner.kind != BackupOwner::Kind::thisFile)
            return plan;
    }
    if (!plan.oneBackup) {
        const FileOperations::Lookup taken = m_files.lookUp(to);
        if (taken.kind == Kind::unknown)
            return failed(taken.error);
        if (taken.kind != Kind::none && !imagePath.isEmpty()) {
            const BackupOwner there = backupOwnerFor(folder, newName, imagePath);
            if (there.kind == BackupOwner::Kind::unknown)
                return failed(there.error);
            if (there.kind == BackupOwner::Kind::thisFile)
                return plan;
        }
        plan.staleInTheWay = taken.kind != Kind::none;
    }
    plan.needed = true;
    const BackupRecords records(m_files, folder);
    plan.record = records.read(oldName);
    if (plan.record.kind == BackupRecords::Record::Kind::unreadable)
        return failed(plan.record.error);
    // Nothing is looked at through a link among the store's own folders; carrying then fails, and says so.
    if (caseOnly && linkAmongOwnFolders(folder, QStringLiteral("records")).isEmpty()) {
        const FileOperations::Sameness same
            = m_files.sameFile(records.pathOf(oldName), records.pathOf(newName));
        if (same.error != 0)
            return failed(same.error);
        plan.oneRecord = same.same;
    }
    return plan;
}

QString FolderStore::carryBackup(
    const BackupCarry& plan, const QString& folder, const QString& oldName, const QString& newName)
{
    if (!plan.needed)
        return {};
    const QString backups = backupsFolderPath(folder);
    const QString from = FileOperations::childPath(backups, oldName);
    const QString to = FileOperations::childPath(backups, newName);
    const auto stays = [&](const FileResult& result) {
        qCWarning(storeLog).noquote() << QStringLiteral("Plenoria: couldn’t carry backup ") + oldName
                + QStringLiteral(" → ") + newName + QStringLiteral(": ") + result.description();
        return result.description();
    };

    // A stale backup under the new name is another image's original: set it aside, never delete it.
    if (plan.staleInTheWay) {
        if (const SetAside aside = setAside(folder, to); !aside.path)
            return stays(aside.result);
    }
    // The record goes first and the old one last: killed at any step, no backup sits under a name
    // whose record is another file's.
    BackupRecords records(m_files, folder);
    if (!plan.oneRecord) {
        if (const FileResult noted = records.carry(plan.record, newName); !noted.ok())
            return stays(noted);
    }
    if (const FileResult moved = renameInPlace(from, to, plan.oneBackup); !moved.ok())
        return stays(moved);
    if (!plan.oneRecord)
        (void)records.remove(oldName);
    if (workingFolderPath() == folder) {
        QSet<QString> names = m_editedFilenames;
        names.remove(oldName.toLower());
        names.insert(newName.toLower());
        setEditedFilenames(std::move(names));
    }
    return {};
}

FolderStore::SetAside FolderStore::setAside(const QString& folder, const QString& backupPath)
{
    if (!linkAmongOwnFolders(folder, QStringLiteral("displaced")).isEmpty())
        return {std::nullopt, FileResult::failure(ENOTDIR)};
    const QString displaced = displacedFolderPath(folder);
    if (const FileResult made = m_files.makeDirectories(displaced); !made.ok())
        return {std::nullopt, made};
    const FileOperations::NewFile moved
        = m_files.moveUnderFreeName(backupPath, displaced, nameOf(backupPath));
    if (!moved.result.ok()) {
        // Only an empty folder goes: one made just now for this backup.
        (void)m_files.fileSystem().removeDirectory(QFile::encodeName(displaced));
        return {std::nullopt, moved.result};
    }
    return {FileOperations::childPath(displaced, moved.name), FileResult::success()};
}

QString FolderStore::bringBack(const QString& displacedPath, const QString& folder, const QString& filename)
{
    const QString backups = backupsFolderPath(folder);
    const QString target = FileOperations::childPath(backups, filename);
    const FileOperations::Lookup taken = m_files.lookUp(target);
    // Another image of this name has its own backup by now; this one stays set aside.
    if (taken.kind == Kind::file || taken.kind == Kind::other)
        return QStringLiteral("another backup has that name");
    FileResult result = FileResult::failure(taken.error);
    if (taken.kind == Kind::none) {
        result = linkAmongOwnFolders(folder, QStringLiteral("originals")).isEmpty()
            ? m_files.makeDirectories(backups)
            : FileResult::failure(ENOTDIR);
        if (result.ok())
            result = m_files.moveNoReplace(displacedPath, target);
    }
    if (!result.ok()) {
        qCWarning(storeLog).noquote() << QStringLiteral("Plenoria: couldn’t bring back the backup of ")
                + filename + QStringLiteral(": ") + result.description();
        return result.description();
    }
    // Fails, as it should, while other backups are still set aside there.
    (void)m_files.fileSystem().removeDirectory(QFile::encodeName(folderOf(displacedPath)));
    return {};
}

} // namespace plenoria
