#include "FolderStore.h"

#include "StoreLog.h"
#include "render/Renderer.h"

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
    if (m_files.isGone(path))
        return RestorationOutcome::failed(
            QStringLiteral("Couldn’t save ") + name + QStringLiteral(": it is no longer in the folder."));
    // Another program's edit since the bench opened would be overwritten, and once a backup exists,
    // lost for good.
    if (!m_files.holds(path, session.originalData))
        return RestorationOutcome::failed(QStringLiteral("Couldn’t save ") + name
            + QStringLiteral(": it changed on disk after it was opened."));
    if (backup) {
        const QString couldNot = QStringLiteral("Couldn’t back up ") + name + QStringLiteral(": ");
        if (const QString link = linkAmongOwnFolders(fileFolder, QStringLiteral("originals"));
            !link.isEmpty())
            return RestorationOutcome::failed(couldNot + link + QStringLiteral(" isn’t a folder."));
        const QString backups = backupsFolderPath(fileFolder);
        if (const FileResult made = m_files.makeDirectories(backups); !made.ok())
            return RestorationOutcome::failed(
                QStringLiteral("Couldn’t create the backup folder: ") + made.description());
        // Synced with its folder before the original is touched: the copy is the user's only way back.
        // A backup found, or one that appears meanwhile, is never replaced; but only a file is a backup.
        const QString copy = FileOperations::childPath(backups, name);
        const FileResult copied
            = m_files.exists(copy) ? FileResult::failure(EEXIST) : m_files.copyNoReplace(path, copy);
        if (copied.error() == EEXIST && !m_files.isRegularFile(copy))
            return RestorationOutcome::failed(
                couldNot + QStringLiteral("something that isn’t a file is in the way."));
        if (!copied.ok() && copied.error() != EEXIST)
            return RestorationOutcome::failed(couldNot + copied.description());
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

    const std::optional<ImageItem> item = ImageItem::fromUrl(url);
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
    if (!m_files.exists(backup))
        return RestorationOutcome::failed(
            QStringLiteral("No backup found for ") + item.filename + QLatin1Char('.'));
    // Only a file can take the image's place; a folder of that name would be moved in whole.
    if (!m_files.isRegularFile(backup))
        return RestorationOutcome::failed(couldNot + QStringLiteral("its backup isn’t a file."));
    if (const QString link = linkAmongOwnFolders(*folder, QStringLiteral("displaced")); !link.isEmpty())
        return RestorationOutcome::failed(couldNot + link + QStringLiteral(" isn’t a folder."));
    if (const FileResult restored = restoreBackup(*folder, localPath(item.url), backup); !restored.ok())
        return RestorationOutcome::failed(couldNot + restored.description());
    advanceContentRevision();

    QSet<QString> names = m_editedFilenames;
    names.remove(item.filename.toLower());
    setEditedFilenames(std::move(names));

    const std::optional<ImageItem> fresh = ImageItem::fromUrl(item.url);
    if (!fresh)
        return RestorationOutcome::failed(
            QStringLiteral("Put back ") + item.filename + QStringLiteral(", but it couldn’t be re-read."));
    replaceListedItem(item.url, *fresh);
    return RestorationOutcome::saved(*fresh);
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
