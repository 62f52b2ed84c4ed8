#include "store/FileSystem.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace plenoria {

namespace {

SysResult fromCall(qint64 result)
{
    if (result < 0)
        return {0, errno};
    return {result, 0};
}

// Calls interrupted by a signal are repeated: they did nothing.
template <typename Call> qint64 retrying(Call call)
{
    qint64 result;
    do {
        result = call();
    } while (result < 0 && errno == EINTR);
    return result;
}

} // namespace

SysResult FileSystem::renameNoReplace(const QByteArray& from, const QByteArray& to)
{
    return fromCall(::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE));
}

SysResult FileSystem::renameReplacing(const QByteArray& from, const QByteArray& to)
{
    return fromCall(::rename(from.constData(), to.constData()));
}

SysResult FileSystem::link(const QByteArray& from, const QByteArray& to)
{
    return fromCall(::link(from.constData(), to.constData()));
}

SysResult FileSystem::unlink(const QByteArray& path)
{
    return fromCall(::unlink(path.constData()));
}

SysResult FileSystem::makeDirectory(const QByteArray& path)
{
    return fromCall(::mkdir(path.constData(), 0777));
}

SysResult FileSystem::removeDirectory(const QByteArray& path)
{
    return fromCall(::rmdir(path.constData()));
}

StatResult FileSystem::lstat(const QByteArray& path)
{
    StatResult result;
    if (::lstat(path.constData(), &result.info) != 0)
        result.error = errno;
    return result;
}

StatResult FileSystem::stat(const QByteArray& path)
{
    StatResult result;
    if (::stat(path.constData(), &result.info) != 0)
        result.error = errno;
    return result;
}

SysResult FileSystem::open(const QByteArray& path, int flags, mode_t mode)
{
    return fromCall(retrying([&] { return ::open(path.constData(), flags | O_CLOEXEC, mode); }));
}

SysResult FileSystem::read(int fd, char* buffer, qint64 size)
{
    return fromCall(retrying([&] { return ::read(fd, buffer, size_t(size)); }));
}

SysResult FileSystem::write(int fd, const char* buffer, qint64 size)
{
    return fromCall(retrying([&] { return ::write(fd, buffer, size_t(size)); }));
}

SysResult FileSystem::fsync(int fd)
{
    return fromCall(retrying([&] { return ::fsync(fd); }));
}

SysResult FileSystem::close(int fd)
{
    // Retrying close on Linux could close a descriptor another thread just received.
    return fromCall(::close(fd));
}

SysResult FileSystem::copyMode(const QByteArray& fromPath, int toFd)
{
    struct stat info { };
    if (::stat(fromPath.constData(), &info) != 0)
        return {0, errno};
    return fromCall(::fchmod(toFd, info.st_mode & 07777));
}

SysResult FileSystem::copyTimes(const QByteArray& fromPath, int toFd)
{
    struct stat info { };
    if (::stat(fromPath.constData(), &info) != 0)
        return {0, errno};
    const struct timespec times[2] = {info.st_atim, info.st_mtim};
    return fromCall(::futimens(toFd, times));
}

} // namespace plenoria
