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
    if (!session.fileURL.isLocalFile() || !QFileInfo(path).isAbsolute())
        return RestorationOutcome::failed(QStringLiteral("Couldn’t save ") + name + QStringLiteral(": ")
            + FileResult::failure(ENOENT).description());
    const FileOperations::Lookup found = m_files.lookUp(path);
    if (found.kind == FileOperations::Lookup::Kind::none)
        return RestorationOutcome::failed(
            QStringLiteral("Couldn’t save ") + name + QStringLiteral(": it is no longer in the folder."));
    if (found.kind == FileOperations::Lookup::Kind::unknown)
        return RestorationOutcome::failed(QStringLiteral("Couldn’t save ") + name + QStringLiteral(": ")
            + FileResult::failure(found.error).description());
    // Another program's edit since the bench opened would be overwritten, and once a backup exists,
    // lost for good. The bench opens no link, so one at the name came later; written through, it would
    // become a plain file and its target's bytes would pass for this image's backup.
    if (found.kind != FileOperations::Lookup::Kind::file || !m_files.holds(path, session.originalData))
        return RestorationOutcome::failed(QStringLiteral("Couldn’t save ") + name
            + QStringLiteral(": it changed on disk after it was opened."));
    if (backup) {
        const QString couldNot = QStringLiteral("Couldn’t back up ") + name + QStringLiteral(": ");
        if (const QString link = linkAmongOwnFolders(fileFolder, QStringLiteral("originals"));
            !link.isEmpty())
            return RestorationOutcome::failed(couldNot + link + QStringLiteral(" isn’t a folder."));
        if (const FileResult made = m_files.makeDirectories(backupsFolderPath(fileFolder)); !made.ok())
            return RestorationOutcome::failed(
                QStringLiteral("Couldn’t create the backup folder: ") + made.description());
        if (const QString failure = backUp(fileFolder, name, path, session.originalData, *data);
            !failure.isEmpty())
            return RestorationOutcome::failed(couldNot + failure);
    } else if (const FileResult noted = noteRewrite(fileFolder, name, session.originalData, *data);
               !noted.ok()) {
        return RestorationOutcome::failed(
            QStringLiteral("Couldn’t save ") + name + QStringLiteral(": ") + noted.description());
    }
    if (const FileResult written = m_files.writeAtomically(path, *data); !written.ok())
        return RestorationOutcome::failed(
            QStringLiteral("Couldn’t save ") + name + QStringLiteral(": ") + written.description());
    advanceContentRevision();
    if (backup && inWorkingFolder) {
        QSet<QString> names = m_editedFilenames;
        names.insert(name.toLower());
        setEditedFilenames(std::move(names));
    }

    const std::optional<ImageItem> item = readBack(url);
    if (!item)
        return RestorationOutcome::failed(
            QStringLiteral("Saved ") + name + QStringLiteral(", but it couldn’t be re-read."));
    replaceListedItem(url, *item);
    return RestorationOutcome::saved(*item);
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
    if (const QString refusal = putBackRefusal(*folder, path, item.filename, backup); !refusal.isEmpty())
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

QString FolderStore::backUp(const QString& folder, const QString& name, const QString& path,
    const QByteArray& current, const QByteArray& written)
{
    using Kind = FileOperations::Lookup::Kind;
    BackupRecords records(m_files, folder);
    const QString copy = FileOperations::childPath(backupsFolderPath(folder), name);
    FileOperations::Lookup found = m_files.lookUp(copy);
    if (found.kind == Kind::unknown)
        return FileResult::failure(found.error).description();
    if (found.kind == Kind::other)
        return QStringLiteral("something that isn’t a file is in the way.");
    if (found.kind == Kind::file && !backupBelongs(records.read(name), copy, current)) {
        // Taken from an earlier file of this name (renamed, filed or replaced meanwhile): it stays that
        // file's, set aside and never deleted, and this file gets a backup of its own.
        const SetAside aside = setAside(folder, copy);
        if (!aside.path)
            return aside.result.description();
        found.kind = Kind::none;
    }
    // Written before the copy is made: killed in between, a backup is never left without a record
    // saying which file it belongs to. Both contents are listed while the file changes from one to
    // the other.
    const BackupRecords::Content before = BackupRecords::contentOf(current);
    const BackupRecords::Content after = BackupRecords::contentOf(written);
    const QList<BackupRecords::Content> contents = before == after ? QList{before} : QList{before, after};
    if (const FileResult noted = records.write(name, contents); !noted.ok())
        return noted.description();
    if (found.kind == Kind::file)
        return {};
    // Synced with its folder before the original is touched: the copy is the user's only way back.
    const FileResult copied = m_files.copyNoReplace(path, copy);
    if (copied.error() == EEXIST) {
        // One made meanwhile by another program is never replaced; but only a file is a backup.
        if (m_files.lookUp(copy).kind != Kind::file)
            return QStringLiteral("something that isn’t a file is in the way.");
        return {};
    }
    return copied.ok() ? QString() : copied.description();
}

FileResult FolderStore::noteRewrite(
    const QString& folder, const QString& name, const QByteArray& current, const QByteArray& written)
{
    if (!linkAmongOwnFolders(folder, QStringLiteral("originals")).isEmpty())
        return FileResult::success();
    BackupRecords records(m_files, folder);
    const BackupRecords::Record record = records.read(name);
    const QString copy = FileOperations::childPath(backupsFolderPath(folder), name);
    // No record is trusted as it stands; a backup of another file is left to the next save with backup.
    if (record.error != 0 || m_files.lookUp(copy).kind != FileOperations::Lookup::Kind::file
        || !backupBelongs(record, copy, current))
        return FileResult::success();
    return records.write(name, {BackupRecords::contentOf(current), BackupRecords::contentOf(written)});
}

bool FolderStore::backupBelongs(
    const BackupRecords::Record& record, const QString& backupPath, const QByteArray& current) const
{
    // A file that still holds what the backup holds loses nothing whichever way this goes.
    return record.admits(BackupRecords::contentOf(current)) || m_files.holds(backupPath, current);
}

QString FolderStore::putBackRefusal(
    const QString& folder, const QString& path, const QString& name, const QString& backup)
{
    const BackupRecords::Record record = BackupRecords(m_files, folder).read(name);
    if (record.missing())
        return {};
    // A record that makes no sense, like a name that holds no file now, vouches for nothing.
    if (record.error != 0 && record.error != EINVAL)
        return FileResult::failure(record.error).description();
    // Images are small; the limit only keeps a huge file from being read whole.
    const FileOperations::Contents now = m_files.readRegular(path, RegularFile::maxFileBytes);
    // A file removed meanwhile loses nothing when the backup takes its name.
    if (now.error == ENOENT)
        return {};
    if (now.error != 0 && now.error != EINVAL)
        return FileResult::failure(now.error).description();
    if (now.error == 0 && backupBelongs(record, backup, now.bytes))
        return {};
    return QStringLiteral("its backup was taken from an earlier file of that name; it is kept in "
                          ".plenoria/originals.");
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
