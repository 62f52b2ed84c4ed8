#include "store/FileOperations.h"

#include "store/TemporaryFiles.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>

namespace plenoria {

namespace {

constexpr qint64 chunkSize = 64 * 1024;
constexpr int maxNameAttempts = 1000;

QByteArray encoded(const QString& path)
{
    return QFile::encodeName(path);
}

QString folderOf(const QString& path)
{
    return QFileInfo(path).path();
}

bool renameFlagUnsupported(int error)
{
    return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP;
}

bool hardLinksUnsupported(int error)
{
    return error == EPERM || error == EOPNOTSUPP || error == ENOSYS;
}

} // namespace

FileOperations::FileOperations(std::shared_ptr<FileSystem> fileSystem)
    : m_fileSystem(std::move(fileSystem))
{ }

bool FileOperations::exists(const QString& path) const
{
    return m_fileSystem->lstat(encoded(path)).ok();
}

bool FileOperations::isRegularFile(const QString& path) const
{
    const StatResult status = m_fileSystem->lstat(encoded(path));
    return status.ok() && S_ISREG(status.info.st_mode);
}

bool FileOperations::isLink(const QString& path) const
{
    const StatResult status = m_fileSystem->lstat(encoded(path));
    return status.ok() && S_ISLNK(status.info.st_mode);
}

bool FileOperations::isGone(const QString& path) const
{
    const int error = m_fileSystem->lstat(encoded(path)).error;
    return error == ENOENT || error == ENOTDIR;
}

QString FileOperations::childPath(const QString& folder, const QString& name)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

FileOperations::Sameness FileOperations::sameFile(const QString& a, const QString& b) const
{
    const auto gone = [](int error) { return error == ENOENT || error == ENOTDIR; };
    const StatResult first = m_fileSystem->lstat(encoded(a));
    if (gone(first.error))
        return {false, 0};
    const StatResult second = m_fileSystem->lstat(encoded(b));
    if (gone(second.error))
        return {false, 0};
    if (!first.ok() || !second.ok())
        return {false, first.ok() ? second.error : first.error};
    return {first.info.st_dev == second.info.st_dev && first.info.st_ino == second.info.st_ino, 0};
}

FileOperations::Lookup FileOperations::lookUp(const QString& path) const
{
    const StatResult status = m_fileSystem->lstat(encoded(path));
    if (status.error == ENOENT || status.error == ENOTDIR)
        return {Lookup::Kind::none, 0, 0};
    if (!status.ok())
        return {Lookup::Kind::unknown, status.error, 0};
    if (!S_ISREG(status.info.st_mode))
        return {Lookup::Kind::other, 0, 0};
    return {Lookup::Kind::file, 0, qint64(status.info.st_size)};
}

int FileOperations::readEach(
    const QString& path, qint64 maxBytes, const std::function<void(QByteArrayView)>& chunk) const
{
    const Lookup found = lookUp(path);
    if (found.kind == Lookup::Kind::none)
        return ENOENT;
    if (found.kind == Lookup::Kind::unknown)
        return found.error;
    if (found.kind == Lookup::Kind::other)
        return EINVAL;
    if (found.size > maxBytes)
        return EFBIG;
    // A pipe or a link put in the file's place between the look and the open must not stall the
    // request, nor be followed.
    const SysResult opened = m_fileSystem->open(encoded(path), O_RDONLY | O_NONBLOCK | O_NOFOLLOW);
    if (!opened.ok())
        return opened.error == ELOOP ? EINVAL : opened.error;
    const int fd = int(opened.value);
    QByteArray buffer(chunkSize, Qt::Uninitialized);
    qint64 total = 0;
    int error = 0;
    for (;;) {
        const SysResult got = m_fileSystem->read(fd, buffer.data(), chunkSize);
        if (!got.ok()) {
            error = got.error;
            break;
        }
        if (got.value == 0)
            break;
        // A file that grew after the look is cut off rather than read without end.
        total += got.value;
        if (total > maxBytes) {
            error = EFBIG;
            break;
        }
        chunk(QByteArrayView(buffer.constData(), got.value));
    }
    (void)m_fileSystem->close(fd);
    return error;
}

FileOperations::Contents FileOperations::readRegular(const QString& path, qint64 maxBytes) const
{
    Contents contents;
    contents.error = readEach(path, maxBytes, [&](QByteArrayView chunk) { contents.bytes.append(chunk); });
    if (contents.error != 0)
        contents.bytes.clear();
    return contents;
}

FileResult FileOperations::makeDirectories(const QString& path)
{
    QStringList missing;
    QString current = path;
    for (;;) {
        const StatResult status = m_fileSystem->stat(encoded(current));
        if (status.ok()) {
            if (!S_ISDIR(status.info.st_mode))
                return FileResult::failure(EEXIST);
            break;
        }
        if (status.error != ENOENT)
            return FileResult::failure(status.error);
        missing.prepend(current);
        const QString parent = folderOf(current);
        if (parent == current)
            break;
        current = parent;
    }
    for (const QString& folder : missing) {
        if (const FileResult made = makeDirectory(folder); !made.ok())
            return made;
    }
    return FileResult::success();
}

FileResult FileOperations::makeDirectory(const QString& path)
{
    const SysResult made = m_fileSystem->makeDirectory(encoded(path));
    if (made.ok()) {
        // A backup written into a folder whose own name is not yet durable could vanish with it.
        syncDirectory(folderOf(path));
        return FileResult::success();
    }
    // Another program may have made it meanwhile, which is as good.
    const StatResult status = m_fileSystem->stat(encoded(path));
    if (made.error == EEXIST && status.ok() && S_ISDIR(status.info.st_mode))
        return FileResult::success();
    return FileResult::failure(made.error);
}

FileResult FileOperations::moveNoReplace(const QString& from, const QString& to)
{
    const FileResult placed = placeNoReplace(from, to);
    if (placed.error() == EXDEV)
        return copyAcrossDevices(from, to);
    return placed;
}

FileResult FileOperations::renameThroughTemporary(const QString& from, const QString& to)
{
    // A folder of its own holds the file under its own name, which fits wherever the name did, as a
    // longer temporary name would not; the sweep never takes it, and stopped here, the next scan gives
    // the file its name back.
    QString holder;
    for (;;) {
        holder = TemporaryFiles::newRenamingPathIn(folderOf(from));
        const SysResult made = m_fileSystem->makeDirectory(encoded(holder));
        if (made.ok())
            break;
        if (made.error != EEXIST)
            return FileResult::failure(made.error);
    }
    const QString held = childPath(holder, QFileInfo(from).fileName());
    FileResult result = placeNoReplace(from, held);
    if (result.ok()) {
        result = placeNoReplace(held, to);
        if (!result.ok())
            (void)placeNoReplace(held, from);
    }
    // Fails, as it should, while the file is still inside.
    (void)m_fileSystem->removeDirectory(encoded(holder));
    return result;
}

FileOperations::Temporary FileOperations::copyToTemporary(const QString& from, const QString& folder)
{
    return writeTemporary(folder, {}, from, from);
}

FileResult FileOperations::placeTemporary(const Temporary& temporary, const QString& to)
{
    const FileResult placed = placeNoReplace(temporary.path, to);
    if (!placed.ok()) {
        (void)m_fileSystem->unlink(encoded(temporary.path));
        return placed;
    }
    syncDirectory(folderOf(to));
    return FileResult::success();
}

FileResult FileOperations::copyNoReplace(const QString& from, const QString& to)
{
    const Temporary copy = copyToTemporary(from, folderOf(to));
    if (copy.error != 0)
        return FileResult::failure(copy.error);
    return placeTemporary(copy, to);
}

FileResult FileOperations::writeNew(const QString& path, const QByteArray& bytes)
{
    const Temporary written = writeTemporary(folderOf(path), bytes, {}, {});
    if (written.error != 0)
        return FileResult::failure(written.error);
    const FileResult placed = placeNoReplace(written.path, path);
    if (!placed.ok()) {
        (void)m_fileSystem->unlink(encoded(written.path));
        return placed;
    }
    syncDirectory(folderOf(path));
    return FileResult::success();
}

FileOperations::NewFile FileOperations::writeNewUnderFreeName(
    const QString& folder, const QString& filename, const QByteArray& bytes)
{
    const Temporary written = writeTemporary(folder, bytes, {}, {});
    if (written.error != 0)
        return {{}, FileResult::failure(written.error)};
    const NewFile placed = underFreeName(
        folder, filename, [&](const QString& to) { return placeNoReplace(written.path, to); });
    if (placed.result.ok())
        syncDirectory(folder);
    else
        (void)m_fileSystem->unlink(encoded(written.path));
    return placed;
}

FileOperations::NewFile FileOperations::moveUnderFreeName(
    const QString& from, const QString& folder, const QString& filename)
{
    return underFreeName(folder, filename, [&](const QString& to) { return moveNoReplace(from, to); });
}

FileOperations::NewFile FileOperations::duplicateUnderFreeName(
    const QString& from, const QString& folder, const QString& filename)
{
    return underFreeName(folder, filename, [&](const QString& to) { return duplicateNoReplace(from, to); });
}

FileOperations::NewFile FileOperations::underFreeName(
    const QString& folder, const QString& filename, const std::function<FileResult(const QString&)>& place)
{
    // Bounded only against a volume that keeps answering "exists" for names it lists as free.
    for (int attempt = 0; attempt < maxNameAttempts; ++attempt) {
        const QString name = freeName(folder, filename);
        const FileResult placed = place(childPath(folder, name));
        if (placed.ok())
            return {name, FileResult::success()};
        if (placed.error() != EEXIST)
            return {{}, placed};
    }
    return {{}, FileResult::failure(EEXIST)};
}

FileOperations::Digest FileOperations::digest(const QString& path, qint64 maxBytes) const
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    Digest digest;
    digest.error = readEach(path, maxBytes, [&](QByteArrayView chunk) {
        hash.addData(chunk);
        digest.size += chunk.size();
    });
    if (digest.error != 0)
        return {0, {}, digest.error};
    digest.sha256 = hash.result().toHex();
    return digest;
}

FileResult FileOperations::writeAtomically(const QString& path, const QByteArray& bytes)
{
    const Temporary written = writeTemporary(folderOf(path), bytes, {}, exists(path) ? path : QString());
    if (written.error != 0)
        return FileResult::failure(written.error);
    const SysResult renamed = m_fileSystem->renameReplacing(encoded(written.path), encoded(path));
    if (!renamed.ok()) {
        (void)m_fileSystem->unlink(encoded(written.path));
        return FileResult::failure(renamed.error);
    }
    syncDirectory(folderOf(path));
    return FileResult::success();
}

FileResult FileOperations::replace(const QString& target, const QString& with)
{
    const SysResult renamed = m_fileSystem->renameReplacing(encoded(with), encoded(target));
    if (renamed.ok()) {
        syncDirectory(folderOf(target));
        syncDirectory(folderOf(with));
        return FileResult::success();
    }
    if (renamed.error != EXDEV)
        return FileResult::failure(renamed.error);
    const Temporary copy = writeTemporary(folderOf(target), {}, with, with);
    if (copy.error != 0)
        return FileResult::failure(copy.error);
    const SysResult placed = m_fileSystem->renameReplacing(encoded(copy.path), encoded(target));
    if (!placed.ok()) {
        (void)m_fileSystem->unlink(encoded(copy.path));
        return FileResult::failure(placed.error);
    }
    syncDirectory(folderOf(target));
    // The target already holds the content; a copy left behind loses nothing.
    if (m_fileSystem->unlink(encoded(with)).ok())
        syncDirectory(folderOf(with));
    return FileResult::success();
}

QString FileOperations::freeName(const QString& folder, const QString& filename) const
{
    if (!exists(childPath(folder, filename)))
        return filename;
    const qsizetype dot = filename.lastIndexOf(QLatin1Char('.'));
    const bool hasExtension = dot > 0 && dot < filename.size() - 1;
    const QString base = hasExtension ? filename.left(dot) : filename;
    const QString suffix = hasExtension ? filename.mid(dot) : QString();
    for (qint64 n = 2;; ++n) {
        const QString candidate = base + QLatin1Char('-') + QString::number(n) + suffix;
        if (!exists(childPath(folder, candidate)))
            return candidate;
    }
}

FileResult FileOperations::placeNoReplace(const QString& from, const QString& to)
{
    const SysResult renamed = m_fileSystem->renameNoReplace(encoded(from), encoded(to));
    if (renamed.ok())
        return FileResult::success();
    if (!renameFlagUnsupported(renamed.error))
        return FileResult::failure(renamed.error);

    // link refuses an existing target just as the flag would.
    const SysResult linked = m_fileSystem->link(encoded(from), encoded(to));
    if (linked.ok()) {
        const SysResult unlinked = m_fileSystem->unlink(encoded(from));
        if (!unlinked.ok()) {
            // Both names reach one inode: dropping the new name loses nothing.
            (void)m_fileSystem->unlink(encoded(to));
            return FileResult::failure(unlinked.error);
        }
        return FileResult::success();
    }
    if (!hardLinksUnsupported(linked.error))
        return FileResult::failure(linked.error);

    // Volumes with neither (some FAT and FUSE mounts) leave only a check before a plain rename.
    if (exists(to))
        return FileResult::failure(EEXIST);
    const SysResult plain = m_fileSystem->renameReplacing(encoded(from), encoded(to));
    return plain.ok() ? FileResult::success() : FileResult::failure(plain.error);
}

FileResult FileOperations::copyAcrossDevices(const QString& from, const QString& to)
{
    const StatResult source = m_fileSystem->lstat(encoded(from));
    if (!source.ok())
        return FileResult::failure(source.error);
    if (!S_ISREG(source.info.st_mode))
        return FileResult::failure(EXDEV);

    const FileResult copied = copyNoReplace(from, to);
    if (!copied.ok())
        return copied;

    const SysResult removed = m_fileSystem->unlink(encoded(from));
    if (!removed.ok()) {
        // The source stays, so the copy goes: a move either happens or leaves things as they were.
        (void)m_fileSystem->unlink(encoded(to));
        syncDirectory(folderOf(to));
        return FileResult::failure(removed.error);
    }
    syncDirectory(folderOf(from));
    return FileResult::success();
}

FileResult FileOperations::duplicateNoReplace(const QString& from, const QString& to)
{
    const SysResult linked = m_fileSystem->link(encoded(from), encoded(to));
    if (linked.ok()) {
        syncDirectory(folderOf(to));
        return FileResult::success();
    }
    if (linked.error == EEXIST || linked.error == ENOENT)
        return FileResult::failure(linked.error);
    // Reading a pipe or a device would stall or never end.
    if (!isRegularFile(from))
        return FileResult::failure(linked.error);
    return copyNoReplace(from, to);
}

FileOperations::Temporary FileOperations::writeTemporary(
    const QString& folder, const QByteArray& bytes, const QString& copyFrom, const QString& keepModeOf)
{
    QString path;
    int fd = -1;
    for (;;) {
        path = TemporaryFiles::newPathIn(folder);
        const SysResult opened = m_fileSystem->open(encoded(path), O_WRONLY | O_CREAT | O_EXCL, 0666);
        if (opened.ok()) {
            fd = int(opened.value);
            break;
        }
        if (opened.error != EEXIST)
            return {{}, opened.error};
    }

    FileResult result = copyFrom.isEmpty() ? writeAll(fd, bytes) : copyContents(copyFrom, fd);
    // Permissions and times are courtesy: failing to keep them loses no data.
    if (result.ok() && !keepModeOf.isEmpty())
        (void)m_fileSystem->copyMode(encoded(keepModeOf), fd);
    if (result.ok() && !copyFrom.isEmpty())
        (void)m_fileSystem->copyTimes(encoded(copyFrom), fd);
    if (result.ok()) {
        const SysResult synced = m_fileSystem->fsync(fd);
        if (!synced.ok())
            result = FileResult::failure(synced.error);
    }
    const SysResult closed = m_fileSystem->close(fd);
    if (result.ok() && !closed.ok())
        result = FileResult::failure(closed.error);
    if (!result.ok()) {
        (void)m_fileSystem->unlink(encoded(path));
        return {{}, result.error()};
    }
    return {path, 0};
}

FileResult FileOperations::writeAll(int fd, const QByteArray& bytes)
{
    qint64 offset = 0;
    while (offset < bytes.size()) {
        const qint64 length = std::min(chunkSize, qint64(bytes.size()) - offset);
        const SysResult written = m_fileSystem->write(fd, bytes.constData() + offset, length);
        if (!written.ok())
            return FileResult::failure(written.error);
        if (written.value == 0)
            return FileResult::failure(EIO);
        offset += written.value;
    }
    return FileResult::success();
}

FileResult FileOperations::copyContents(const QString& from, int toFd)
{
    const SysResult opened = m_fileSystem->open(encoded(from), O_RDONLY);
    if (!opened.ok())
        return FileResult::failure(opened.error);
    const int fromFd = int(opened.value);
    QByteArray buffer(chunkSize, Qt::Uninitialized);
    FileResult result = FileResult::success();
    for (;;) {
        const SysResult got = m_fileSystem->read(fromFd, buffer.data(), chunkSize);
        if (!got.ok()) {
            result = FileResult::failure(got.error);
            break;
        }
        if (got.value == 0)
            break;
        result = writeAll(toFd, QByteArray::fromRawData(buffer.constData(), got.value));
        if (!result.ok())
            break;
    }
    (void)m_fileSystem->close(fromFd);
    return result;
}

void FileOperations::syncDirectory(const QString& folder)
{
    // Makes a new name durable; volumes that cannot sync a folder lose nothing by skipping it.
    const SysResult opened = m_fileSystem->open(encoded(folder), O_RDONLY | O_DIRECTORY);
    if (!opened.ok())
        return;
    (void)m_fileSystem->fsync(int(opened.value));
    (void)m_fileSystem->close(int(opened.value));
}

} // namespace plenoria
