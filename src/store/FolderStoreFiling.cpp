#include "store/FolderStore.h"

#include "imaging/model/FolderName.h"
#include "store/SpacesAndTabs.h"
#include "store/StoreLog.h"
#include "store/TemporaryFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>

namespace plenoria {

namespace {

QString localPath(const QUrl& url)
{
    return QDir::cleanPath(url.toLocalFile());
}

QString folderOf(const QString& path)
{
    return QFileInfo(path).path();
}

QString nameOf(const QString& path)
{
    return QFileInfo(path).fileName();
}

QString quoted(const QString& text)
{
    return QStringLiteral("“") + text + QStringLiteral("”");
}

// The end of a toast for an image that moved while its backup could not follow.
QString backupStays(const QString& keptIn, const QString& keptAs, const QString& reason)
{
    return QStringLiteral(", but its backup stays in .plenoria/") + keptIn + QStringLiteral(" as ") + keptAs
        + QStringLiteral(": ") + reason + QLatin1Char('.');
}

} // namespace

FilingOutcome FolderStore::fileItem(const ImageItem& item, const QString& destinationName)
{
    const QString name = trimmedOfSpacesAndTabs(destinationName);
    if (name.isEmpty())
        return FilingOutcome::skipped(QStringLiteral("No destination set for that key."));
    const std::optional<QString> folder = workingFolderPath();
    if (!folder)
        return FilingOutcome::failed(QStringLiteral("No working folder."));
    if (!isValidFolderName(name))
        return FilingOutcome::failed(quoted(name) + QStringLiteral(" isn’t a valid folder name."));
    const QString destination = QDir::cleanPath(FileOperations::childPath(*folder, name));
    if (!destination.startsWith(FileOperations::childPath(*folder, {})))
        return FilingOutcome::failed(QStringLiteral("Destination escapes the working folder."));

    const Subfolder subfolder = reachSubfolder(*folder, name);
    if (!subfolder.refusal.isEmpty())
        return FilingOutcome::failed(
            QStringLiteral("Couldn’t move ") + item.filename + QStringLiteral(": ") + subfolder.refusal);
    if (!subfolder.result.ok()) {
        // With the working folder itself gone, the image went with it: that is the failure to report.
        if (subfolder.result.error() == ENOENT)
            return FilingOutcome::failed(QStringLiteral("Couldn’t move ") + item.filename
                + QStringLiteral(": ") + subfolder.result.description());
        return FilingOutcome::failed(QStringLiteral("Couldn’t create “") + name + QStringLiteral("”: ")
            + subfolder.result.description());
    }

    const QString source = localPath(item.url);
    const QString sourceFolder = folderOf(source);
    const QString backup = FileOperations::childPath(backupsFolderPath(sourceFolder), item.filename);
    const bool backupsLinked = !linkAmongOwnFolders(sourceFolder, QStringLiteral("originals")).isEmpty();
    // Whether the image leaves a backup behind is known before it moves, or the filing does not happen.
    const FileOperations::Lookup backupFound
        = backupsLinked ? FileOperations::Lookup() : m_files.lookUp(backup);
    if (backupFound.kind == FileOperations::Lookup::Kind::unknown)
        return FilingOutcome::failed(QStringLiteral("Couldn’t move ") + item.filename + QStringLiteral(": ")
            + FileResult::failure(backupFound.error).description());
    const QString subfolderPath = FileOperations::childPath(*folder, subfolder.name);
    const FileOperations::NewFile placed = m_files.moveUnderFreeName(source, subfolderPath, nameOf(source));
    if (!placed.result.ok()) {
        // Across volumes only a file is copied: one that became a pipe or a link since the scan stays.
        const bool notAFile = placed.result.error() == EXDEV
            && m_files.lookUp(source).kind == FileOperations::Lookup::Kind::other;
        return FilingOutcome::failed(QStringLiteral("Couldn’t move ") + item.filename + QStringLiteral(": ")
            + (notAFile ? QStringLiteral("it isn’t an image file.") : placed.result.description()));
    }
    const QUrl target = QUrl::fromLocalFile(FileOperations::childPath(subfolderPath, placed.name));

    // A backup left under this name would pass for the original of any later image of that name.
    std::optional<QUrl> displaced;
    QString note;
    if (backupFound.kind != FileOperations::Lookup::Kind::none) {
        const SetAside aside = setAside(sourceFolder, backup);
        if (aside.path) {
            displaced = QUrl::fromLocalFile(*aside.path);
        } else {
            qCWarning(storeLog).noquote() << QStringLiteral("Plenoria: couldn’t set aside the backup of ")
                    + item.filename + QStringLiteral(": ") + aside.result.description();
            note = QStringLiteral("Filed ") + item.filename + QStringLiteral(" in ") + subfolder.name
                + (placed.name != nameOf(source) ? QStringLiteral(" as ") + placed.name : QString())
                + backupStays(QStringLiteral("originals"), item.filename, aside.result.description());
        }
    }

    pushAction(Move{item, target, displaced});
    // `item` may be an element of the list, which setItems replaces.
    const ImageItem filed = item;
    QList<ImageItem> remaining = m_items;
    remaining.removeIf([&](const ImageItem& listed) { return listed.url == item.url; });
    setItems(std::move(remaining));
    QHash<QString, qint64> counts = m_filedCounts;
    counts[subfolder.name] += 1;
    setFiledCounts(std::move(counts));
    if (displaced)
        refreshEditedFilenames();

    return FilingOutcome::filed(
        filed, placed.name != nameOf(source) ? std::optional(placed.name) : std::nullopt, note);
}

FolderStore::Subfolder FolderStore::reachSubfolder(const QString& folder, const QString& name)
{
    const QString reached = reachedDestination(folder, name);
    if (reached.isEmpty()) {
        // One folder inside the working folder, never its parents: a working folder removed behind our
        // back must not come back as an empty shell.
        return {name, m_files.makeDirectory(FileOperations::childPath(folder, name)), {}};
    }
    if (m_files.isLink(FileOperations::childPath(folder, reached)))
        return {reached, FileResult::success(), linkRefusal(folder, reached)};
    return {reached, FileResult::success(), {}};
}

QString FolderStore::reachedDestination(const QString& folder, const QString& name) const
{
    // A link of exactly that name is the user's, even one that leads nowhere: never a name to make anew.
    return m_files.isLink(FileOperations::childPath(folder, name)) ? name : existingSubfolder(folder, name);
}

QString FolderStore::linkRefusal(const QString& folder, const QString& name) const
{
    const QFileInfo link(FileOperations::childPath(folder, name));
    if (!link.isDir())
        return quoted(name) + QStringLiteral(" is a link that leads to no folder.");
    // Filed in there, an image would pass for a backup and could end up only in the store's keeping.
    const QString own
        = QFileInfo(FileOperations::childPath(folder, QStringLiteral(".plenoria"))).canonicalFilePath();
    const QString target = link.canonicalFilePath();
    // Filed "into" it, an image would only take the next free name beside itself.
    if (target == QFileInfo(folder).canonicalFilePath())
        return quoted(name) + QStringLiteral(" leads back into the working folder.");
    if (!own.isEmpty() && (target == own || target.startsWith(own + QLatin1Char('/'))))
        return quoted(name) + QStringLiteral(" leads into .plenoria.");
    return {};
}

QString FolderStore::existingSubfolder(const QString& folder, const QString& name)
{
    // Links to folders are taken as the counts take them, so that the strip and the filing agree.
    return reachedName(QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted), name);
}

FolderStore::UniqueDestination FolderStore::uniqueDestination(const QUrl& file, const QUrl& folder) const
{
    const QString folderPath = localPath(folder);
    const QString filename = nameOf(localPath(file));
    const QString free = m_files.freeName(folderPath, filename);
    return {QUrl::fromLocalFile(FileOperations::childPath(folderPath, free)), free != filename};
}

RenameOutcome FolderStore::rename(const ImageItem& item, const QString& newName)
{
    const QString name = newName.trimmed();
    if (name.isEmpty())
        return RenameOutcome::failed(QStringLiteral("A file needs a name."));
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char(':')))
        return RenameOutcome::failed(QStringLiteral("A name can’t contain “/” or “:”."));
    const std::optional<QString> folder = workingFolderPath();
    if (!folder)
        return RenameOutcome::failed(QStringLiteral("No working folder."));
    if (name == item.filename)
        return RenameOutcome::unchanged();
    const QString newPath = QDir::cleanPath(FileOperations::childPath(*folder, name));
    if (folderOf(newPath) != *folder || !isAllowedName(name))
        return RenameOutcome::failed(QStringLiteral("That name isn’t allowed here."));

    const QString oldPath = localPath(item.url);
    const QString couldNot = QStringLiteral("Couldn’t rename ") + item.filename + QStringLiteral(": ");
    // On a volume that folds letter case both spellings reach the image; an error while telling is
    // no answer either way.
    const Occupant occupant = occupantOf(oldPath, newPath);
    if (occupant.error != 0)
        return RenameOutcome::failed(couldNot + FileResult::failure(occupant.error).description());
    if (occupant.kind == Occupant::Kind::another)
        return RenameOutcome::failed(quoted(name) + QStringLiteral(" already exists."));
    const BackupCarry carry = planBackupCarry(*folder, item.filename, name);
    if (!carry.result.ok())
        return RenameOutcome::failed(couldNot + carry.result.description());
    if (const FileResult moved = renameInPlace(oldPath, newPath, occupant.kind == Occupant::Kind::itself);
        !moved.ok())
        return RenameOutcome::failed(couldNot + moved.description());

    const QUrl newURL = QUrl::fromLocalFile(newPath);
    pushAction(Rename{item, newURL});
    const QString stays = carryBackup(carry, *folder, item.filename, name);
    std::optional<ImageItem> newItem = ImageItem::fromUrl(newURL);

    QList<ImageItem> items = m_items;
    const auto listed
        = std::find_if(items.begin(), items.end(), [&](const ImageItem& i) { return i.url == item.url; });
    if (listed != items.end()) {
        if (newItem)
            *listed = *newItem;
        else
            items.erase(listed);
    }
    setItems(std::move(items));
    if (!stays.isEmpty())
        return RenameOutcome::renamed(std::move(newItem),
            QStringLiteral("Renamed ") + item.filename + QStringLiteral(" to ") + name
                + backupStays(QStringLiteral("originals"), item.filename, stays));
    return RenameOutcome::renamed(std::move(newItem));
}

FilingOutcome FolderStore::undo()
{
    if (m_undoStack.isEmpty())
        return FilingOutcome::nothingToUndo();
    const UndoableAction action = m_undoStack.last();
    if (const Move* move = std::get_if<Move>(&action))
        return undoMove(*move);
    return undoRename(std::get<Rename>(action));
}

FilingOutcome FolderStore::undoMove(const Move& move)
{
    const QString origin = localPath(move.item.url);
    const QString moved = localPath(move.destination);
    if (m_files.exists(origin))
        return FilingOutcome::failed(
            QStringLiteral("Can’t undo: something now occupies ") + move.item.filename + QLatin1Char('.'));
    if (const FileResult back = m_files.moveNoReplace(moved, origin); !back.ok())
        return undoFailure(moved, back);
    popAction();

    const QString originFolder = folderOf(origin);
    QString note;
    if (move.displacedBackup) {
        const QString displaced = localPath(*move.displacedBackup);
        if (const QString stays = bringBack(displaced, originFolder, move.item.filename); !stays.isEmpty())
            note = QStringLiteral("Moved ") + move.item.filename + QStringLiteral(" back")
                + backupStays(QStringLiteral("displaced"), nameOf(displaced), stays);
    }
    if (!liesInWorkingFolder(move.item.url))
        return FilingOutcome::undone(move.item, note);

    setItems(m_items + QList<ImageItem>{move.item});
    const QString subfolder = folderOf(moved);
    if (folderOf(subfolder) == originFolder) {
        QHash<QString, qint64> counts = m_filedCounts;
        const auto count = counts.find(nameOf(subfolder));
        if (count != counts.end() && *count >= 1) {
            --*count;
            setFiledCounts(std::move(counts));
        }
    }
    if (move.displacedBackup)
        refreshEditedFilenames();
    return FilingOutcome::undone(move.item, note);
}

FilingOutcome FolderStore::undoRename(const Rename& rename)
{
    const QString before = localPath(rename.before.url);
    const QString after = localPath(rename.afterURL);
    const Occupant occupant = occupantOf(after, before);
    if (occupant.error != 0)
        return FilingOutcome::failed(
            QStringLiteral("Undo failed: ") + FileResult::failure(occupant.error).description());
    if (occupant.kind == Occupant::Kind::another)
        return FilingOutcome::failed(QStringLiteral("Can’t undo: something now occupies ")
            + rename.before.filename + QLatin1Char('.'));
    const QString folder = folderOf(before);
    // Only the image's own backup comes back with it: one that stayed under the old name when the
    // rename could not carry it, or another file's under the new one, stays where it is.
    const BackupCarry carry = planBackupCarry(folder, nameOf(after), rename.before.filename, after);
    if (!carry.result.ok())
        return FilingOutcome::failed(QStringLiteral("Undo failed: ") + carry.result.description());
    if (const FileResult back = renameInPlace(after, before, occupant.kind == Occupant::Kind::itself);
        !back.ok())
        return undoFailure(after, back);
    popAction();

    const QString stays = carryBackup(carry, folder, nameOf(after), rename.before.filename);
    QList<ImageItem> items = m_items;
    items.removeIf([&](const ImageItem& listed) { return listed.url == rename.afterURL; });
    if (liesInWorkingFolder(rename.before.url))
        items.append(rename.before);
    setItems(std::move(items));
    if (!stays.isEmpty())
        return FilingOutcome::renameUndone(rename.before,
            QStringLiteral("Renamed back to ") + rename.before.filename
                + backupStays(QStringLiteral("originals"), nameOf(after), stays));
    return FilingOutcome::renameUndone(rename.before);
}

FilingOutcome FolderStore::undoFailure(const QString& sourcePath, const FileResult& result)
{
    // Retrying could never succeed, and the action would block every older one beneath it.
    if (m_files.isGone(sourcePath)) {
        popAction();
        return FilingOutcome::failed(QStringLiteral("Can’t undo: ") + nameOf(sourcePath)
            + QStringLiteral(" is no longer in ") + nameOf(folderOf(sourcePath))
            + QStringLiteral(", so that step was dropped."));
    }
    return FilingOutcome::failed(QStringLiteral("Undo failed: ") + result.description());
}

FileResult FolderStore::renameInPlace(const QString& from, const QString& to, bool oneFile)
{
    return oneFile ? m_files.renameThroughTemporary(from, to) : m_files.moveNoReplace(from, to);
}

FolderStore::Occupant FolderStore::occupantOf(const QString& from, const QString& to) const
{
    if (from.toLower() == to.toLower()) {
        const FileOperations::Sameness same = m_files.sameFile(from, to);
        if (same.error != 0)
            return {Occupant::Kind::none, same.error};
        if (same.same)
            return {Occupant::Kind::itself, 0};
    }
    const FileOperations::Lookup found = m_files.lookUp(to);
    if (found.kind == FileOperations::Lookup::Kind::unknown)
        return {Occupant::Kind::none, found.error};
    return {
        found.kind == FileOperations::Lookup::Kind::none ? Occupant::Kind::none : Occupant::Kind::another, 0};
}

bool FolderStore::isAllowedName(const QString& name)
{
    // A NUL would end the name early at the system call and rename the file to something else.
    // The store's own folder: an image under that name would block every later backup.
    // A name the store gives its own files for a while: the sweep would delete the image as a stale
    // leftover, or the next scan rename it.
    return !name.isEmpty() && name == name.trimmed() && !name.contains(QLatin1Char('/'))
        && !name.contains(QLatin1Char(':')) && !name.contains(QChar(0)) && name != QStringLiteral(".")
        && name != QStringLiteral("..") && name.compare(QStringLiteral(".plenoria"), Qt::CaseInsensitive) != 0
        && !TemporaryFiles::isStoreName(name);
}

} // namespace plenoria
