#include "store/FolderStore.h"

#include "store/PathBookmarkStore.h"
#include "store/SpacesAndTabs.h"
#include "store/StoreLog.h"
#include "store/TemporaryFiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace plenoria {

namespace {

RevealService::FailureHandler withRevealMessage(FolderStore::RevealFailureHandler onFailure)
{
    if (!onFailure)
        return {};
    return
        [onFailure = std::move(onFailure)] { onFailure(QStringLiteral("Couldn’t open the file manager.")); };
}

QString quotedName(const QString& name)
{
    return QStringLiteral("“") + name + QStringLiteral("”");
}

} // namespace

FolderStore::FolderStore(FolderStoreServices services, QObject* parent)
    : QObject(parent)
    , m_services(std::move(services))
    , m_files(m_services.fileSystem ? m_services.fileSystem : std::make_shared<FileSystem>())
{
    if (!m_services.bookmarks)
        m_services.bookmarks = std::make_shared<PathBookmarkStore>();
    restoreBookmark();
}

void FolderStore::restoreBookmark()
{
    const std::optional<QByteArray> stored = m_services.bookmarks->storedBookmark();
    if (!stored)
        return;
    const BookmarkResolution resolution = m_services.bookmarks->resolve(*stored);
    if (!resolution.resolved) {
        qCWarning(storeLog).noquote()
            << QStringLiteral("Plenoria: could not resolve folder bookmark: ") + resolution.errorDescription;
        m_services.bookmarks->removeStoredBookmark();
        return;
    }
    setWorkingFolder(resolution.resolved->url, resolution.resolved->isStale);
}

void FolderStore::chooseFolder()
{
    if (!m_services.chooser)
        return;
    const FolderChooserRequest request{QStringLiteral("Choose"),
        QStringLiteral("Choose a folder of images to review and file."), m_workingFolder};
    if (const std::optional<QUrl> chosen = m_services.chooser->chooseFolder(request))
        setWorkingFolder(*chosen, true);
}

void FolderStore::setWorkingFolder(const QUrl& folder, bool saveBookmark)
{
    // Every path of the store is built on this one: an empty or relative path would point the
    // store at the process's current folder.
    if (!folder.isLocalFile() || !QDir::isAbsolutePath(folder.toLocalFile()))
        return;
    // One spelling per folder, so that item URLs built from it compare equal.
    const QUrl url = QUrl::fromLocalFile(QDir::cleanPath(folder.toLocalFile()));

    if (m_accessedURL)
        m_services.bookmarks->stopAccess(*m_accessedURL);
    m_accessedURL.reset();

    if (saveBookmark) {
        const BookmarkCreation creation = m_services.bookmarks->create(url);
        if (creation.data)
            m_services.bookmarks->storeBookmark(*creation.data);
        else
            qCWarning(storeLog).noquote()
                << QStringLiteral("Plenoria: could not create folder bookmark: ") + creation.errorDescription;
    }

    if (m_services.bookmarks->startAccess(url))
        m_accessedURL = url;

    if (m_workingFolder != url) {
        m_workingFolder = url;
        emit workingFolderChanged();
    }
    reload();
}

void FolderStore::reload()
{
    const std::optional<QString> folder = workingFolderPath();
    if (!folder) {
        setItems({});
        return;
    }

    restoreInterruptedRenames(*folder,
        TemporaryFiles(m_files.fileSystem()).removeStale(*folder, QDateTime::currentSecsSinceEpoch()));
    if (const QString backups = backupsFolderPath(*folder);
        linkAmongOwnFolders(*folder, QStringLiteral("originals")).isEmpty())
        restoreInterruptedRenames(backups, TemporaryFiles::interruptedRenamesIn(backups));

    // Hidden entries are left out by not asking for them, and names that are not UTF-8 by Qt, as text
    // could not reach them again; a folder that cannot be listed lists nothing.
    const QFileInfoList listing
        = QDir(*folder).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Unsorted);

    QHash<QUrl, const ImageItem*> known;
    for (const ImageItem& item : m_items) {
        if (!known.contains(item.url))
            known.insert(item.url, &item);
    }

    QList<QUrl> listed;
    QList<QUrl> unknown;
    listed.reserve(listing.size());
    for (const QFileInfo& entry : listing) {
        listed.append(QUrl::fromLocalFile(entry.absoluteFilePath()));
        if (!known.contains(listed.back()))
            unknown.append(listed.back());
    }
    // New files are read all at once, on every core; the list keeps the listing's order.
    std::vector<std::optional<ImageItem>> read = ImageItem::fromUrls(unknown);
    auto nextRead = read.begin();
    QList<ImageItem> scanned;
    for (const QUrl& url : listed) {
        if (const auto found = known.constFind(url); found != known.cend())
            scanned.append(**found);
        else if (std::optional<ImageItem>& item = *nextRead++)
            scanned.append(std::move(*item));
    }
    setItems(std::move(scanned));
    refreshEditedFilenames();
    refreshFiledCounts(listing);
    emit rescanned();
}

void FolderStore::restoreInterruptedRenames(const QString& folder, const QStringList& names)
{
    for (const QString& name : names) {
        const QString path = FileOperations::childPath(folder, name);
        if (!TemporaryFiles::isRenamingName(name)) {
            restoreHeld(folder, path, TemporaryFiles::renamedFrom(name));
            continue;
        }
        // A holding folder of ours, never a link: it holds the one file, or nothing once that is out.
        const StatResult status = m_files.fileSystem().lstat(QFile::encodeName(path));
        if (!status.ok() || !S_ISDIR(status.info.st_mode))
            continue;
        const QStringList held
            = QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        if (held.size() == 1)
            restoreHeld(folder, FileOperations::childPath(path, held.first()), held.first());
        // Only an empty folder goes.
        (void)m_files.fileSystem().removeDirectory(QFile::encodeName(path));
    }
}

void FolderStore::restoreHeld(const QString& folder, const QString& held, const QString& name)
{
    if (!isAllowedName(name) || m_files.lookUp(held).kind != FileOperations::Lookup::Kind::file
        || !ImageItem::fromUrl(QUrl::fromLocalFile(held)))
        return;
    // Never over a file that took the name meanwhile: then the next free name of its series.
    const FileOperations::NewFile back = m_files.moveUnderFreeName(held, folder, name);
    if (!back.result.ok())
        qCWarning(storeLog).noquote() << QStringLiteral("Plenoria: couldn’t give ") + name
                + QStringLiteral(" its name back: ") + back.result.description();
}

void FolderStore::refreshEditedFilenames()
{
    const std::optional<QString> folder = workingFolderPath();
    if (!folder) {
        setEditedFilenames({});
        return;
    }
    if (!linkAmongOwnFolders(*folder, QStringLiteral("originals")).isEmpty()) {
        setEditedFilenames({});
        return;
    }
    QSet<QString> names;
    const QStringList entries
        = QDir(backupsFolderPath(*folder))
              .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System, QDir::Unsorted);
    const BackupRecords records(m_files, *folder);
    for (const QString& entry : entries) {
        if (mayBeEditedImage(*folder, entry, records))
            names.insert(entry.toLower());
    }
    setEditedFilenames(std::move(names));
}

bool FolderStore::mayBeEditedImage(
    const QString& folder, const QString& name, const BackupRecords& records) const
{
    const FileOperations::Lookup image = m_files.lookUp(FileOperations::childPath(folder, name));
    if (image.kind != FileOperations::Lookup::Kind::file)
        return true;
    // A record that could not be read leaves it open; put back says why, should the user try.
    const BackupRecords::Record record = records.read(name);
    if (record.kind == BackupRecords::Record::Kind::unreadable)
        return true;
    // Sizes only: hashing every image with a backup at every scan would cost a read of each. A backup
    // of the file's very content counts with or without a record, as it does everywhere else.
    const FileOperations::Lookup backup
        = m_files.lookUp(FileOperations::childPath(backupsFolderPath(folder), name));
    return backup.size == image.size
        || std::any_of(record.contents.cbegin(), record.contents.cend(),
            [&](const BackupRecords::Content& content) { return content.size == image.size; });
}

void FolderStore::refreshFiledCounts(const QFileInfoList& listing)
{
    QHash<QString, qint64> counts;
    TemporaryFiles temporaries(m_files.fileSystem());
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    for (const QFileInfo& entry : listing) {
        // A link to a folder counts as the folder it leads to, since filing through it lands there.
        if (!entry.isDir())
            continue;
        // A move across volumes killed midway leaves its copy in the destination, which no one else reads.
        (void)temporaries.removeStaleIn(entry.absoluteFilePath(), now);
        const qint64 files
            = QDir(entry.absoluteFilePath()).entryList(QDir::Files | QDir::NoSymLinks, QDir::Unsorted).size();
        counts.insert(entry.fileName(), files);
    }
    setFiledCounts(std::move(counts));
}

std::optional<qint64> FolderStore::filedCount(const QString& destinationName) const
{
    const QString reached = reachedName(m_filedCounts.keys(), trimmedOfSpacesAndTabs(destinationName));
    if (reached.isEmpty())
        return std::nullopt;
    return m_filedCounts.value(reached);
}

QString FolderStore::destinationRefusal(const QString& destinationName) const
{
    const std::optional<QString> folder = workingFolderPath();
    const QString name = trimmedOfSpacesAndTabs(destinationName);
    if (!folder || name.isEmpty())
        return {};
    const QString reached = reachedDestination(*folder, name);
    // Something other than a folder under that very name keeps the subfolder from being made.
    if (reached.isEmpty()) {
        const FileOperations::Lookup found = m_files.lookUp(FileOperations::childPath(*folder, name));
        return found.kind == FileOperations::Lookup::Kind::file
                || found.kind == FileOperations::Lookup::Kind::other
            ? quotedName(name) + QStringLiteral(" isn’t a folder.")
            : QString();
    }
    if (!m_files.isLink(FileOperations::childPath(*folder, reached)))
        return {};
    return linkRefusal(*folder, reached);
}

QString FolderStore::reachedName(QStringList subfolders, const QString& name)
{
    if (subfolders.contains(name))
        return name;
    // Of several that differ only in letter case, always the same one, whatever the listing order.
    subfolders.sort();
    for (const QString& subfolder : subfolders) {
        if (subfolder.compare(name, Qt::CaseInsensitive) == 0)
            return subfolder;
    }
    return {};
}

bool FolderStore::hasOriginalsFolder() const
{
    const std::optional<QString> folder = workingFolderPath();
    return folder && linkAmongOwnFolders(*folder, QStringLiteral("originals")).isEmpty()
        && m_files.exists(backupsFolderPath(*folder));
}

void FolderStore::revealOriginalsFolder(RevealFailureHandler onFailure)
{
    if (!hasOriginalsFolder() || !m_services.reveal)
        return;
    m_services.reveal->reveal(QUrl::fromLocalFile(backupsFolderPath(*workingFolderPath())),
        withRevealMessage(std::move(onFailure)));
}

void FolderStore::revealOriginal(const ImageItem& item, RevealFailureHandler onFailure)
{
    if (!hasOriginalsFolder() || !m_services.reveal)
        return;
    const QString backup = FileOperations::childPath(backupsFolderPath(*workingFolderPath()), item.filename);
    if (m_files.exists(backup))
        m_services.reveal->reveal(QUrl::fromLocalFile(backup), withRevealMessage(std::move(onFailure)));
}

QString FolderStore::backupsFolderPath(const QString& folder)
{
    return FileOperations::childPath(folder, QStringLiteral(".plenoria/originals"));
}

QString FolderStore::displacedFolderPath(const QString& folder)
{
    return FileOperations::childPath(folder, QStringLiteral(".plenoria/displaced"));
}

std::optional<QString> FolderStore::workingFolderPath() const
{
    if (!m_workingFolder)
        return std::nullopt;
    return m_workingFolder->toLocalFile();
}

QString FolderStore::linkAmongOwnFolders(const QString& folder, const QString& inner) const
{
    const QString own = QStringLiteral(".plenoria");
    if (m_files.isLink(FileOperations::childPath(folder, own)))
        return own;
    const QString innerPath = own + QLatin1Char('/') + inner;
    if (m_files.isLink(FileOperations::childPath(folder, innerPath)))
        return innerPath;
    return {};
}

bool FolderStore::liesInWorkingFolder(const QUrl& url) const
{
    const std::optional<QString> folder = workingFolderPath();
    return folder && QFileInfo(QDir::cleanPath(url.toLocalFile())).path() == *folder;
}

void FolderStore::setItems(QList<ImageItem> items)
{
    if (items == m_items)
        return;
    m_items = std::move(items);
    emit itemsChanged();
}

void FolderStore::setEditedFilenames(QSet<QString> names)
{
    if (names == m_editedFilenames)
        return;
    m_editedFilenames = std::move(names);
    emit editedFilenamesChanged();
}

void FolderStore::setFiledCounts(QHash<QString, qint64> counts)
{
    if (counts == m_filedCounts)
        return;
    m_filedCounts = std::move(counts);
    emit filedCountsChanged();
}

void FolderStore::pushAction(const UndoableAction& action)
{
    m_undoStack.append(action);
    emit undoStackChanged();
}

void FolderStore::popAction()
{
    m_undoStack.removeLast();
    emit undoStackChanged();
}

} // namespace plenoria
