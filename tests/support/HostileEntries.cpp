#include "HostileEntries.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plenoria::test {

bool makeHostileEntry(const QString& path, HostileEntry entry)
{
    const QByteArray name = QFile::encodeName(path);
    switch (entry) {
    case HostileEntry::fifo:
        return ::mkfifo(name.constData(), 0644) == 0;
    case HostileEntry::deviceLink:
        return ::symlink("/dev/zero", name.constData()) == 0;
    case HostileEntry::sparseHuge: {
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0)
            return false;
        const bool sized = ::ftruncate(fd, off_t(6) * 1000 * 1000 * 1000) == 0;
        return ::close(fd) == 0 && sized;
    }
    case HostileEntry::linkLoop:
        return ::symlink(name.constData(), name.constData()) == 0;
    }
    return false;
}

} // namespace plenoria::test
