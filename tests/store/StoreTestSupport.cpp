#include "StoreTestSupport.h"

#include "SyntheticImages.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>

namespace plenoria::test {

QByteArray pngBytes(QColor color, int side)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    solidImage(side, side, color).save(&buffer, "PNG");
    return bytes;
}

Folder::Folder()
{
    EXPECT_TRUE(m_dir.isValid());
}

QUrl Folder::url() const
{
    return QUrl::fromLocalFile(path());
}

QUrl Folder::url(const QString& relative) const
{
    return QUrl::fromLocalFile(path(relative));
}

void Folder::write(const QString& relative, const QByteArray& bytes) const
{
    QDir().mkpath(QFileInfo(path(relative)).path());
    QFile file(path(relative));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << qPrintable(relative);
    file.write(bytes);
}

void Folder::writeBackup(const QString& name, const QByteArray& backup, const QByteArray& image) const
{
    write(".plenoria/originals/" + name, backup);
    FileOperations files;
    ASSERT_TRUE(BackupRecords(files, path()).write(name, {BackupRecords::contentOf(image)}).ok());
}

void Folder::makeFolder(const QString& relative) const
{
    QDir().mkpath(path(relative));
}

QByteArray Folder::read(const QString& relative) const
{
    QFile file(path(relative));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool Folder::exists(const QString& relative) const
{
    return QFileInfo::exists(path(relative));
}

QStringList Folder::snapshot() const
{
    QStringList entries;
    QDirIterator it(path(), QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
        QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString entry = it.next();
        const QString relative = QDir(path()).relativeFilePath(entry);
        const QFileInfo info(entry);
        // Nothing is read through a link, and a pipe is never opened.
        if (info.isSymLink()) {
            entries.append(relative + QStringLiteral(" -> ") + info.symLinkTarget());
            continue;
        }
        if (info.isDir()) {
            entries.append(relative + QLatin1Char('/'));
            continue;
        }
        if (!info.isFile()) {
            entries.append(relative + QStringLiteral(" special"));
            continue;
        }
        if (info.size() > 64 * 1024 * 1024) {
            entries.append(
                relative + QLatin1Char(' ') + QString::number(info.size()) + QStringLiteral(" large"));
            continue;
        }
        const QByteArray bytes = read(relative);
        entries.append(
            QStringLiteral("%1 %2 %3")
                .arg(relative)
                .arg(bytes.size())
                .arg(QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex())));
    }
    entries.sort();
    return entries;
}

TemporarySettings::TemporarySettings()
    : settings(
        std::make_unique<QSettings>(dir.filePath(QStringLiteral("Plenoria.conf")), QSettings::IniFormat))
{ }

QString TemporarySettings::filePath() const
{
    return settings->fileName();
}

void FakeBookmarks::storeBookmark(const QByteArray& data)
{
    stored = data;
    events.push_back(QStringLiteral("store"));
}

void FakeBookmarks::removeStoredBookmark()
{
    stored.reset();
    events.push_back(QStringLiteral("remove"));
}

BookmarkResolution FakeBookmarks::resolve(const QByteArray& data) const
{
    if (!resolveError.isEmpty())
        return {std::nullopt, resolveError};
    return {ResolvedBookmark{QUrl::fromLocalFile(QString::fromUtf8(data)), resolvesStale}, {}};
}

BookmarkCreation FakeBookmarks::create(const QUrl& folder) const
{
    if (!createError.isEmpty())
        return {std::nullopt, createError};
    return {folder.toLocalFile().toUtf8(), {}};
}

bool FakeBookmarks::startAccess(const QUrl& folder)
{
    events.push_back(QStringLiteral("start ") + folder.toLocalFile());
    return grantAccess;
}

void FakeBookmarks::stopAccess(const QUrl& folder)
{
    events.push_back(QStringLiteral("stop ") + folder.toLocalFile());
}

std::optional<QUrl> FakeChooser::chooseFolder(const FolderChooserRequest& request)
{
    requests.push_back(request);
    return answer;
}

void FaultyFileSystem::fail(Call call, int error, int skip, bool always, const QString& pathPart)
{
    m_rules.push_back({call, error, skip, always, pathPart});
}

void FaultyFileSystem::failCall(qint64 number, int error)
{
    m_failingCall = m_total + number;
    m_failingError = error;
}

qint64 FaultyFileSystem::calls(Call call) const
{
    return m_calls.value(call);
}

int FaultyFileSystem::injected(Call call, const QByteArray& path)
{
    if (beforeEachCall)
        beforeEachCall();
    ++m_calls[call];
    if (m_total++ == m_failingCall)
        return m_failingError;
    for (auto rule = m_rules.begin(); rule != m_rules.end(); ++rule) {
        if (rule->call != call
            || (!rule->pathPart.isEmpty() && !QFile::decodeName(path).contains(rule->pathPart)))
            continue;
        if (rule->skip > 0) {
            --rule->skip;
            continue;
        }
        const int error = rule->error;
        if (!rule->always)
            m_rules.erase(rule);
        return error;
    }
    return 0;
}

SysResult FaultyFileSystem::renameNoReplace(const QByteArray& from, const QByteArray& to)
{
    if (const int error = injected(Call::renameNoReplace, from + "\n" + to))
        return {0, error};
    return FileSystem::renameNoReplace(from, to);
}

SysResult FaultyFileSystem::renameReplacing(const QByteArray& from, const QByteArray& to)
{
    if (const int error = injected(Call::renameReplacing, from + "\n" + to))
        return {0, error};
    return FileSystem::renameReplacing(from, to);
}

SysResult FaultyFileSystem::link(const QByteArray& from, const QByteArray& to)
{
    if (const int error = injected(Call::link, from + "\n" + to))
        return {0, error};
    return FileSystem::link(from, to);
}

SysResult FaultyFileSystem::unlink(const QByteArray& path)
{
    if (const int error = injected(Call::unlink, path))
        return {0, error};
    return FileSystem::unlink(path);
}

SysResult FaultyFileSystem::makeDirectory(const QByteArray& path)
{
    if (const int error = injected(Call::makeDirectory, path))
        return {0, error};
    return FileSystem::makeDirectory(path);
}

SysResult FaultyFileSystem::open(const QByteArray& path, int flags, mode_t mode)
{
    if (const int error = injected(Call::open, path))
        return {0, error};
    const SysResult opened = FileSystem::open(path, flags, mode);
    if (opened.ok())
        m_opened[int(opened.value)] = path;
    return opened;
}

SysResult FaultyFileSystem::read(int fd, char* buffer, qint64 size)
{
    if (const int error = injected(Call::read, m_opened.value(fd)))
        return {0, error};
    return FileSystem::read(fd, buffer, size);
}

SysResult FaultyFileSystem::write(int fd, const char* buffer, qint64 size)
{
    if (const int error = injected(Call::write, m_opened.value(fd)))
        return {0, error};
    return FileSystem::write(fd, buffer, size);
}

SysResult FaultyFileSystem::fsync(int fd)
{
    if (const int error = injected(Call::fsync, m_opened.value(fd)))
        return {0, error};
    return FileSystem::fsync(fd);
}

SysResult FaultyFileSystem::close(int fd)
{
    const int error = injected(Call::close, m_opened.take(fd));
    const SysResult closed = FileSystem::close(fd);
    return error ? SysResult{0, error} : closed;
}

StatResult FaultyFileSystem::lstat(const QByteArray& path)
{
    if (const int error = injected(Call::lstat, path))
        return {{}, error};
    return FileSystem::lstat(path);
}

StatResult FaultyFileSystem::stat(const QByteArray& path)
{
    if (const int error = injected(Call::stat, path))
        return {{}, error};
    return FileSystem::stat(path);
}

QByteArray CaseInsensitiveFileSystem::resolved(const QByteArray& path)
{
    const QFileInfo requested(QFile::decodeName(path));
    const QStringList entries
        = QDir(requested.path())
              .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        if (entry.toLower() == requested.fileName().toLower())
            return QFile::encodeName(QDir(requested.path()).filePath(entry));
    }
    return path;
}

// The checks of an entry of another spelling are the volume's own, not calls of the store's.
SysResult CaseInsensitiveFileSystem::renameNoReplace(const QByteArray& from, const QByteArray& to)
{
    if (FileSystem::lstat(resolved(to)).ok())
        return {0, EEXIST};
    return FaultyFileSystem::renameNoReplace(resolved(from), to);
}

SysResult CaseInsensitiveFileSystem::renameReplacing(const QByteArray& from, const QByteArray& to)
{
    return FaultyFileSystem::renameReplacing(resolved(from), resolved(to));
}

SysResult CaseInsensitiveFileSystem::link(const QByteArray& from, const QByteArray& to)
{
    if (FileSystem::lstat(resolved(to)).ok())
        return {0, EEXIST};
    return FaultyFileSystem::link(resolved(from), to);
}

SysResult CaseInsensitiveFileSystem::unlink(const QByteArray& path)
{
    return FaultyFileSystem::unlink(resolved(path));
}

SysResult CaseInsensitiveFileSystem::makeDirectory(const QByteArray& path)
{
    if (FileSystem::lstat(resolved(path)).ok())
        return {0, EEXIST};
    return FaultyFileSystem::makeDirectory(path);
}

StatResult CaseInsensitiveFileSystem::lstat(const QByteArray& path)
{
    return FaultyFileSystem::lstat(resolved(path));
}

StatResult CaseInsensitiveFileSystem::stat(const QByteArray& path)
{
    return FaultyFileSystem::stat(resolved(path));
}

SysResult CaseInsensitiveFileSystem::open(const QByteArray& path, int flags, mode_t mode)
{
    if ((flags & O_CREAT) && (flags & O_EXCL) && FileSystem::lstat(resolved(path)).ok())
        return {0, EEXIST};
    return FaultyFileSystem::open(resolved(path), flags, mode);
}

StoreRig::StoreRig(const std::optional<QUrl>& folder, std::shared_ptr<FileSystem> fileSystem)
{
    if (folder)
        bookmarks->stored = folder->toLocalFile().toUtf8();
    store = std::make_unique<FolderStore>(
        FolderStoreServices{bookmarks, chooser, reveal, std::move(fileSystem)});
}

ImageItem StoreRig::item(const QString& filename) const
{
    for (const ImageItem& listed : store->items()) {
        if (listed.filename == filename)
            return listed;
    }
    ADD_FAILURE() << "no listed item " << filename.toStdString();
    return {};
}

QStringList StoreRig::filenames() const
{
    QStringList names;
    for (const ImageItem& listed : store->items())
        names.append(listed.filename);
    names.sort();
    return names;
}

namespace {
QStringList capturedLines;
QtMessageHandler previousHandler = nullptr;
} // namespace

LogCapture::LogCapture()
{
    capturedLines.clear();
    previousHandler = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& message) { capturedLines.append(message); });
}

LogCapture::~LogCapture()
{
    qInstallMessageHandler(previousHandler);
}

QStringList LogCapture::lines() const
{
    return capturedLines;
}

} // namespace plenoria::test
