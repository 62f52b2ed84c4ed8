#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <sys/stat.h>

namespace plenoria {

// The outcome of one system call: `value` is the call's result (a descriptor, a byte count) and
// `error` the errno when it failed (0 on success).
struct [[nodiscard]] SysResult {
    qint64 value = 0;
    int error = 0;
    bool ok() const { return error == 0; }
};

// The outcome of lstat: `info` is valid only when `error` is 0.
struct [[nodiscard]] StatResult {
    struct stat info { };
    int error = 0;
    bool ok() const { return error == 0; }
};

// Every file-system call the store makes, one virtual per call, so that a test can make any single
// step fail with a chosen errno. Paths are local paths in the file system's encoding.
// The default implementations are the real POSIX calls.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // renameat2(RENAME_NOREPLACE): EEXIST when `to` exists; EINVAL or ENOSYS where unsupported.
    virtual SysResult renameNoReplace(const QByteArray& from, const QByteArray& to);
    // rename(2): replaces `to`. Only the atomic-write and put-back paths may use it.
    virtual SysResult renameReplacing(const QByteArray& from, const QByteArray& to);
    virtual SysResult link(const QByteArray& from, const QByteArray& to);
    virtual SysResult unlink(const QByteArray& path);
    virtual SysResult makeDirectory(const QByteArray& path);
    // rmdir(2): only ever removes an empty folder.
    virtual SysResult removeDirectory(const QByteArray& path);
    virtual StatResult lstat(const QByteArray& path);
    virtual StatResult stat(const QByteArray& path);

    virtual SysResult open(const QByteArray& path, int flags, mode_t mode = 0);
    virtual SysResult read(int fd, char* buffer, qint64 size);
    virtual SysResult write(int fd, const char* buffer, qint64 size);
    virtual SysResult fsync(int fd);
    virtual SysResult close(int fd);
    // Give the open file `toFd` the permission bits, or the access and modification times, of the
    // file at `fromPath`: a copy keeps both, a rewritten file keeps its permissions.
    virtual SysResult copyMode(const QByteArray& fromPath, int toFd);
    virtual SysResult copyTimes(const QByteArray& fromPath, int toFd);
};

} // namespace plenoria
