#include "store/FolderStore.h"

#include "imaging/read/RegularFile.h"
#include "imaging/render/Renderer.h"
#include "store/StoreLog.h"

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

QString formatWord(ExportFormat format)
{
    switch (format) {
    case ExportFormat::webp:
        return QStringLiteral("WebP");
    case ExportFormat::gif:
        return QStringLiteral("GIF");
    case ExportFormat::png:
        return QStringLiteral("PNG");
    }
    return {};
}

// Where an unmatched backup was set aside, said after whatever else the toast says.
QString earlierBackupKept(const QString& displacedAs)
{
    return QStringLiteral(
               " Its earlier backup couldn’t be matched to it and is kept in .plenoria/displaced as ")
        + displacedAs;
}

QString failedKeeping(const QString& sentence, const std::optional<QString>& displacedAs)
{
    return displacedAs ? sentence + QLatin1Char('.') + earlierBackupKept(*displacedAs) + QLatin1Char('.')
                       : sentence;
}

} // namespace

RestorationOutcome FolderStore::save(const RestorationSession& session, bool backup)
{
    const std::optional<QString> folder = workingFolderPath();
    if (!folder)
        return RestorationOutcome::failed(QStringLiteral("No working folder."));
    if (session.record.empty())
        return RestorationOutcome::failed(QStringLiteral("Nothing to save."));
    const std::optional<QByteArray> data = Renderer::renderForSave(session.originalData, session.record);
    if (!data)
        return RestorationOutcome::failed(QStringLiteral("Nothing to save."));

    const QString path = localPath(session.fileURL);
    const QUrl url = QUrl::fromLocalFile(path);
    const QString name = QFileInfo(path).fileName();
    // The backup belongs beside the file it copies: filed under another folder's name, it would pass
    // for the original of an unrelated image there.
    const QString fileFolder = QFileInfo(path).path();
    const bool inWorkingFolder = fileFolder == *folder;
    // Without a local path the write would land relative to the process's working directory.
    const QString couldNotSave = QStringLiteral("Couldn’t save ") + name + QStringLiteral(": ");
    if (!session.fileURL.isLocalFile() || !QFileInfo(path).isAbsolute())
        return RestorationOutcome::failed(couldNotSave + FileResult::failure(ENOENT).description());
    if (const QString unchanged = unchangedSinceOpened(path, session.originalData); !unchanged.isEmpty())
        return RestorationOutcome::failed(couldNotSave + unchanged);
    std::optional<QString> displacedAs;
    if (backup) {
        const QString couldNot = QStringLiteral("Couldn’t back up ") + name + QStringLiteral(": ");
        for (const QString& inner : {QStringLiteral("originals"), QStringLiteral("records")}) {
            if (const QString link = linkAmongOwnFolders(fileFolder, inner); !link.isEmpty())
                return RestorationOutcome::failed(couldNot + link + QStringLiteral(" isn’t a folder."));
        }
        // Decided before anything changes: an error while looking is no answer either way.
        const BackupOwner owner
            = backupOwner(fileFolder, name, BackupRecords::contentOf(session.originalData));
        if (owner.kind == BackupOwner::Kind::unknown)
            return RestorationOutcome::failed(couldNotSave + FileResult::failure(owner.error).description());
        if (owner.kind == BackupOwner::Kind::notAFile)
            return RestorationOutcome::failed(
                couldNot + QStringLiteral("something that isn’t a file is in the way."));
        if (const FileResult made = m_files.makeDirectories(backupsFolderPath(fileFolder)); !made.ok())
            return RestorationOutcome::failed(
                QStringLiteral("Couldn’t create the backup folder: ") + made.description());
        const BackupTaken taken = backUp(fileFolder, name, path, session.originalData, *data, owner.kind);
        displacedAs = taken.displacedAs;
        if (!taken.failure.isEmpty())
            return RestorationOutcome::failed(failedKeeping(couldNot + taken.failure, displacedAs));
    } else if (const FileResult noted = noteRewrite(fileFolder, name, session.originalData, *data);
               !noted.ok()) {
        return RestorationOutcome::failed(couldNotSave + noted.description());
    }
    if (const FileResult written = m_files.writeAtomically(path, *data); !written.ok())
        return RestorationOutcome::failed(failedKeeping(couldNotSave + written.description(), displacedAs));
    advanceContentRevision();
    if (backup && inWorkingFolder) {
        QSet<QString> names = m_editedFilenames;
        names.insert(name.toLower());
        setEditedFilenames(std::move(names));
    }

    const QString backedUp = displacedAs
        ? earlierBackupKept(*displacedAs) + QStringLiteral("; the content before this save is backed up.")
        : QString();
    const std::optional<ImageItem> item = readBack(url);
    if (!item)
        return RestorationOutcome::failed(
            QStringLiteral("Saved ") + name + QStringLiteral(", but it couldn’t be re-read.") + backedUp);
    replaceListedItem(url, *item);
    if (displacedAs)
        return RestorationOutcome::saved(
            *item, QStringLiteral("Saved ") + name + QLatin1Char('.') + backedUp);
    return RestorationOutcome::saved(*item);
}

QString FolderStore::unchangedSinceOpened(const QString& path, const QByteArray& opened) const
{
    const QString changed = QStringLiteral("it changed on disk after it was opened.");
    // A larger file is not read at all: it is no longer what was opened.
    const FileOperations::Digest now = m_files.digest(path, opened.size());
    if (now.error == ENOENT)
        return QStringLiteral("it is no longer in the folder.");
    // Another program's edit since the bench opened would be overwritten, and once a backup exists,
    // lost for good. The bench opens no link, so one at the name came later; written through, it would
    // become a plain file and its target's bytes would pass for this image's backup.
    if (now.error == EINVAL || now.error == EFBIG)
        return changed;
    // A file that could not be looked at or read has not been seen to change: the system's reason is
    // the answer.
    if (now.error != 0)
        return FileResult::failure(now.error).description();
    return BackupRecords::contentOf(now) == BackupRecords::contentOf(opened) ? QString() : changed;
}

RestorationOutcome FolderStore::putBackOriginal(const ImageItem& item)
{
    const std::optional<QString> folder = workingFolderPath();
    if (!folder)
        return RestorationOutcome::failed(QStringLiteral("No working folder."));
    const QString couldNot = QStringLiteral("Couldn’t put back ") + item.filename + QStringLiteral(": ");
    if (const QString link = linkAmongOwnFolders(*folder, QStringLiteral("originals")); !link.isEmpty())
        return RestorationOutcome::failed(couldNot + link + QStringLiteral(" isn’t a folder."));
    const QString backup = FileOperations::childPath(backupsFolderPath(*folder), item.filename);
    // A backup that could not be looked at is not reported as missing, nor as something else.
    const FileOperations::Lookup found = m_files.lookUp(backup);
    if (found.kind == FileOperations::Lookup::Kind::none)
        return RestorationOutcome::failed(
            QStringLiteral("No backup found for ") + item.filename + QLatin1Char('.'));
    if (found.kind == FileOperations::Lookup::Kind::unknown)
        return RestorationOutcome::failed(couldNot + FileResult::failure(found.error).description());
    // Only a file can take the image's place; a folder of that name would be moved in whole.
    if (found.kind == FileOperations::Lookup::Kind::other)
        return RestorationOutcome::failed(couldNot + QStringLiteral("its backup isn’t a file."));
    if (const QString link = linkAmongOwnFolders(*folder, QStringLiteral("displaced")); !link.isEmpty())
        return RestorationOutcome::failed(couldNot + link + QStringLiteral(" isn’t a folder."));
    const QString path = localPath(item.url);
    if (const QString refusal = putBackRefusal(*folder, path, item.filename); !refusal.isEmpty())
        return RestorationOutcome::failed(couldNot + refusal);
    if (const FileResult restored = restoreBackup(*folder, path, backup); !restored.ok())
        return RestorationOutcome::failed(couldNot + restored.description());
    advanceContentRevision();
    // With the backup gone its record speaks for nothing; one left behind misleads no one either.
    if (const FileResult forgotten = BackupRecords(m_files, *folder).remove(item.filename); !forgotten.ok())
        qCWarning(storeLog).noquote() << QStringLiteral("Plenoria: couldn’t remove the backup record of ")
                + item.filename + QStringLiteral(": ") + forgotten.description();

    QSet<QString> names = m_editedFilenames;
    names.remove(item.filename.toLower());
    setEditedFilenames(std::move(names));

    const std::optional<ImageItem> fresh = readBack(item.url);
    if (!fresh)
        return RestorationOutcome::failed(
            QStringLiteral("Put back ") + item.filename + QStringLiteral(", but it couldn’t be re-read."));
    replaceListedItem(item.url, *fresh);
    return RestorationOutcome::saved(*fresh);
}

std::optional<ImageItem> FolderStore::readBack(const QUrl& url) const
{
    const FileOperations::Lookup found = m_files.lookUp(localPath(url));
    if (found.kind != FileOperations::Lookup::Kind::file)
        return std::nullopt;
    std::optional<ImageItem> item = ImageItem::fromUrl(url);
    if (!item || item->byteSize != found.size)
        return std::nullopt;
    return item;
}

void FolderStore::advanceContentRevision()
{
    ++m_contentRevision;
    emit contentRevisionChanged();
}

FileResult FolderStore::restoreBackup(const QString& folder, const QString& path, const QString& backupPath)
{
    // A file deleted meanwhile has nothing to keep: the backup simply takes its place.
    if (m_files.isGone(path))
        return m_files.moveNoReplace(backupPath, path);
    // The current content gets its second name while it stays in place, and only then does the backup
    // replace it in one step: killed at any moment, the image's name holds the one or the other.
    const QString displaced = displacedFolderPath(folder);
    if (const FileResult made = m_files.makeDirectories(displaced); !made.ok())
        return made;
    const FileOperations::NewFile kept
        = m_files.duplicateUnderFreeName(path, displaced, QFileInfo(path).fileName());
    if (!kept.result.ok())
        return kept.result;
    const FileResult placed = m_files.replace(path, backupPath);
    // The image still holds what the second name keeps.
    if (!placed.ok()) {
        const QString second = FileOperations::childPath(displaced, kept.name);
        if (const SysResult removed = m_files.fileSystem().unlink(QFile::encodeName(second)); !removed.ok())
            qCWarning(storeLog).noquote() << QStringLiteral("Plenoria: couldn’t remove the spare copy ")
                    + second + QStringLiteral(": ") + FileResult::failure(removed.error).description();
    }
    return placed;
}

RestorationOutcome FolderStore::exportImage(const RestorationSession& session, const QString& name,
    ExportFormat format, double quality, const GIFPalette& palette)
{
    const QString base = name.trimmed();
    if (base.isEmpty())
        return RestorationOutcome::failed(QStringLiteral("A file needs a name."));
    if (base.contains(QLatin1Char('/')) || base.contains(QLatin1Char(':')))
        return RestorationOutcome::failed(QStringLiteral("A name can’t contain “/” or “:”."));
    // A NUL would end the name early at the system call and write the file under another name.
    if (base.contains(QChar(0)))
        return RestorationOutcome::failed(QStringLiteral("That name isn’t allowed here."));
    const std::optional<QString> folder = workingFolderPath();
    if (!folder)
        return RestorationOutcome::failed(QStringLiteral("No working folder."));

    std::optional<QByteArray> bytes;
    if (const std::optional<Filmstrip> strip
        = Renderer::renderFilmstrip(session.originalData, session.record))
        bytes = format.encode(*strip, palette, quality);
    if (!bytes)
        return RestorationOutcome::failed(QStringLiteral("Couldn’t render ")
            + QFileInfo(localPath(session.fileURL)).fileName() + QStringLiteral(" to ") + formatWord(format)
            + QLatin1Char('.'));

    const FileOperations::NewFile written
        = m_files.writeNewUnderFreeName(*folder, base + QLatin1Char('.') + format.rawValue(), *bytes);
    if (!written.result.ok())
        return RestorationOutcome::failed(QStringLiteral("Couldn’t export: ") + written.result.description());
    reload();
    return RestorationOutcome::exported(written.name);
}

void FolderStore::replaceListedItem(const QUrl& url, const ImageItem& item)
{
    QList<ImageItem> items = m_items;
    const auto listed
        = std::find_if(items.begin(), items.end(), [&](const ImageItem& i) { return i.url == url; });
    if (listed == items.end())
        return;
    *listed = item;
    setItems(std::move(items));
}

} // namespace plenoria
