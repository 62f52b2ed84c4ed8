#pragma once

#include "store/FileResult.h"
#include "store/FileSystem.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>

namespace plenoria {

// The safe file operations every part of the store uses, built over the FileSystem seam.
// Paths are absolute local paths. No operation here replaces a file that exists, except
// writeAtomically and replace, whose purpose is to do so; a failed operation leaves every file as
// it was and removes whatever partial copy it made.
class FileOperations {
public:
    explicit FileOperations(std::shared_ptr<FileSystem> fileSystem = std::make_shared<FileSystem>());

    FileSystem& fileSystem() const { return *m_fileSystem; }

    // Whether anything (a file, a folder, a dangling link) is at the path.
    bool exists(const QString& path) const;
    // Whether a regular file (not a folder, not a link) is at the path.
    bool isRegularFile(const QString& path) const;
    // Whether a symbolic link (of any target, or none) is at the path.
    bool isLink(const QString& path) const;
    // Whether nothing is at the path for certain (ENOENT or ENOTDIR), not merely unreadable.
    bool isGone(const QString& path) const;
    // Whether both paths name one file (same device and inode): not when either is missing for certain
    // (ENOENT, ENOTDIR); `error`, the errno that kept it from looking, answers neither way.
    struct Sameness {
        bool same = false;
        int error = 0;
    };
    Sameness sameFile(const QString& a, const QString& b) const;

    // What lstat finds at a path: nothing for certain (ENOENT, ENOTDIR), a regular file, anything
    // else, or `error`, the errno that kept it from looking.
    struct Lookup {
        enum class Kind { none, file, other, unknown };
        Kind kind = Kind::none;
        int error = 0;
        qint64 size = 0; // of a file
    };
    Lookup lookUp(const QString& path) const;
    // The whole content of the regular file at the path (a link is not followed, a pipe never waited
    // on), or the errno that stopped it: ENOENT when nothing is there, EINVAL when something other
    // than a regular file is, EFBIG when it is over `maxBytes`.
    struct Contents {
        QByteArray bytes;
        int error = 0;
    };
    Contents readRegular(const QString& path, qint64 maxBytes) const;
    // The size and SHA-256 (lower-case hex) of the regular file at the path, read in chunks, a link not
    // followed and a pipe never waited on; or the errno that stopped it: ENOENT when nothing is there,
    // EINVAL when something other than a regular file is, EFBIG when it is over `maxBytes`.
    struct Digest {
        qint64 size = 0;
        QByteArray sha256;
        int error = 0;
    };
    Digest digest(const QString& path, qint64 maxBytes) const;

    // Creates the folder and any missing parents; an existing folder is fine, a file in the way is not.
    FileResult makeDirectories(const QString& path);
    // Creates one folder in a parent that must exist (ENOENT otherwise); an existing folder is fine.
    FileResult makeDirectory(const QString& path);

    // Moves a file to a path that must be free. Across devices the file is copied beside the
    // target, synced, put in place without replacing, and only then removed at its source.
    FileResult moveNoReplace(const QString& from, const QString& to);
    // A rename that only changes letter case, on a volume where both names reach the same file: the
    // file goes into a folder of TemporaryFiles::newRenamingPathIn's kind beside it, keeping its name
    // whatever its length, and out under the new one; it comes back on failure.
    FileResult renameThroughTemporary(const QString& from, const QString& to);
    // A synced, closed temporary file in a folder, or the errno that stopped it.
    struct Temporary {
        QString path;
        int error = 0;
    };
    // A copy of a regular file, with its permissions and times, under a fresh temporary name in
    // `folder`, for the caller to put in place with moveNoReplace or to remove.
    Temporary copyToTemporary(const QString& from, const QString& folder);
    // Puts a temporary file in place at a path that must be free, and makes its name durable; on
    // failure the temporary file is removed.
    FileResult placeTemporary(const Temporary& temporary, const QString& to);
    // Copies a regular file, with its permissions and times, to a path that must be free.
    FileResult copyNoReplace(const QString& from, const QString& to);
    // Writes bytes to a path that must be free; the file appears complete or not at all.
    FileResult writeNew(const QString& path, const QByteArray& bytes);
    // Writes bytes once and puts them under `filename` in `folder`, or under the next free name of
    // freeName's series when that one is taken, however often another program takes a name meanwhile.
    struct NewFile {
        QString name; // the name taken, empty on failure
        FileResult result = FileResult::success();
    };
    NewFile writeNewUnderFreeName(const QString& folder, const QString& filename, const QByteArray& bytes);
    // Moves a file into `folder` under `filename`, or under the next free name of freeName's series,
    // however often another program takes a name meanwhile.
    NewFile moveUnderFreeName(const QString& from, const QString& folder, const QString& filename);
    // Gives the file at `from` a second name in `folder` (a hard link; a synced copy of a regular file
    // where the volume cannot link), under `filename` or the next free name of freeName's series.
    // `from` stays as it was; its content is never read unless it is a regular file.
    NewFile duplicateUnderFreeName(const QString& from, const QString& folder, const QString& filename);
    // Replaces the file's content: it holds either the old or the new bytes whatever happens, and
    // keeps its permissions.
    FileResult writeAtomically(const QString& path, const QByteArray& bytes);
    // Puts `with` in place of `target` (which it replaces) in one step and consumes `with`; both
    // folders are synced. On failure `target` is as it was.
    FileResult replace(const QString& target, const QString& with);

    // The filename itself when free in the folder, else the first free of base-2.ext, base-3.ext, …
    // (only the last extension counts: a.tar.gz gives a.tar-2.gz).
    QString freeName(const QString& folder, const QString& filename) const;

    // `folder`/`name`, also for the root folder.
    static QString childPath(const QString& folder, const QString& name);

private:
    // Reads the regular file at the path in chunks as readRegular does, handing each to `chunk`;
    // 0, or the errno that stopped it (as readRegular's).
    int readEach(
        const QString& path, qint64 maxBytes, const std::function<void(QByteArrayView)>& chunk) const;
    FileResult placeNoReplace(const QString& from, const QString& to);
    // Places under the first free name of the series with `place`, moving on while a name is taken.
    NewFile underFreeName(const QString& folder, const QString& filename,
        const std::function<FileResult(const QString&)>& place);
    FileResult copyAcrossDevices(const QString& from, const QString& to);
    FileResult duplicateNoReplace(const QString& from, const QString& to);
    // Source is either bytes or the file at copyFrom (empty for bytes).
    Temporary writeTemporary(
        const QString& folder, const QByteArray& bytes, const QString& copyFrom, const QString& keepModeOf);
    FileResult writeAll(int fd, const QByteArray& bytes);
    FileResult copyContents(const QString& from, int toFd);
    void syncDirectory(const QString& folder);

    std::shared_ptr<FileSystem> m_fileSystem;
};

} // namespace plenoria
