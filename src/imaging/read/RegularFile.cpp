#include "imaging/read/RegularFile.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plenoria {

RegularFile::RegularFile(const QString& path, Links links)
{
    const QByteArray name = QFile::encodeName(path);
    const bool follow = links == Links::follow;
    // Without O_NONBLOCK, opening a pipe waits for a writer that may never come.
    m_fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | (follow ? 0 : O_NOFOLLOW));
    struct stat status { };
    if (m_fd < 0) {
        const int openError = errno;
        const int found = follow ? ::stat(name.constData(), &status) : ::lstat(name.constData(), &status);
        if (found == 0) {
            // A file that cannot be opened is still a file, with a size the scan lists.
            m_outcome = S_ISREG(status.st_mode) ? Outcome::unreadable : Outcome::notAFile;
        } else {
            m_outcome = errno == ELOOP ? Outcome::notAFile : Outcome::unreachable;
        }
        m_error = m_outcome == Outcome::notAFile ? 0 : openError;
    } else if (::fstat(m_fd, &status) != 0) {
        m_outcome = Outcome::unreadable;
        m_error = errno;
    } else if (!S_ISREG(status.st_mode)) {
        m_outcome = Outcome::notAFile;
    } else {
        m_outcome = Outcome::opened;
    }
    if (m_outcome != Outcome::opened && m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    const bool sized = m_outcome == Outcome::opened || m_outcome == Outcome::unreadable;
    m_size = sized ? std::max<qint64>(0, status.st_size) : 0;
}

RegularFile::~RegularFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

QByteArray RegularFile::read(qint64 offset, qint64 count) const
{
    if (m_fd < 0 || count <= 0)
        return {};
    QByteArray bytes(count, Qt::Uninitialized);
    qint64 done = 0;
    while (done < count) {
        const ssize_t got = ::pread(m_fd, bytes.data() + done, size_t(count - done), off_t(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            m_error = errno;
        if (got <= 0)
            break;
        done += got;
    }
    bytes.truncate(done);
    return bytes;
}

RegularFile::Contents RegularFile::readWhole(const QString& path, qint64 maxBytes, Links links)
{
    using Refusal = Contents::Refusal;
    const RegularFile file(path, links);
    switch (file.outcome()) {
    case Outcome::notAFile:
        return {Refusal::notAFile, {}, 0};
    case Outcome::unreadable:
    case Outcome::unreachable:
        return {Refusal::unreadable, {}, file.error()};
    case Outcome::opened:
        break;
    }
    // The size the open file states, before a byte is read: a sparse file of gigabytes costs nothing
    // to refuse here, and everything once read.
    if (file.size() > maxBytes)
        return {Refusal::tooLarge, {}, 0};
    QByteArray bytes = file.read(0, file.size());
    if (file.error() != 0)
        return {Refusal::unreadable, {}, file.error()};
    return {Refusal::none, std::move(bytes), 0};
}

} // namespace plenoria
