#include "store/TemporaryFiles.h"

#include "store/FileOperations.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <algorithm>
#include <cstring>
#include <dirent.h>

namespace plenoria {

namespace {

const QString prefix = QStringLiteral(".plenoria-");
const QString suffix = QStringLiteral(".tmp");
const QString renamingPrefix = QStringLiteral(".plenoria-case-");

} // namespace

QString TemporaryFiles::newPathIn(const QString& folder)
{
    return FileOperations::childPath(folder, prefix)
        + QString::number(QRandomGenerator::global()->generate64(), 16) + suffix;
}

bool TemporaryFiles::isTemporaryName(const QString& name)
{
    static const QRegularExpression pattern(QStringLiteral("^\\.plenoria-[0-9a-f]{1,16}\\.tmp$"));
    return pattern.match(name).hasMatch();
}

QString TemporaryFiles::newRenamingPathIn(const QString& folder)
{
    return FileOperations::childPath(folder, renamingPrefix)
        + QString::number(QRandomGenerator::global()->generate(), 16).rightJustified(8, QLatin1Char('0'));
}

bool TemporaryFiles::isRenamingName(const QString& name)
{
    static const QRegularExpression pattern(QStringLiteral("^\\.plenoria-case-[0-9a-f]{8}$"));
    return pattern.match(name).hasMatch();
}

QString TemporaryFiles::renamedFrom(const QString& name)
{
    static const QRegularExpression pattern(QStringLiteral("^\\.plenoria-case-[0-9a-f]{8}-(.+)$"));
    return pattern.match(name).captured(1);
}

QStringList TemporaryFiles::removeStale(const QString& workingFolder, qint64 nowSecondsSinceEpoch)
{
    const QStringList interrupted = removeStaleIn(workingFolder, nowSecondsSinceEpoch);
    const QString own = FileOperations::childPath(workingFolder, QStringLiteral(".plenoria"));
    const StatResult status = m_fileSystem.lstat(QFile::encodeName(own));
    if (!status.ok() || !S_ISDIR(status.info.st_mode))
        return interrupted;
    // Links inside are not followed: a sweep stays within the store's own folder.
    QDirIterator inside(own, QStringList{prefix + QLatin1Char('*') + suffix},
        QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    const qint64 cutoff = nowSecondsSinceEpoch - staleAfterSeconds;
    while (inside.hasNext())
        removeIfStale(inside.next(), cutoff);
    return interrupted;
}

QStringList TemporaryFiles::removeStaleIn(const QString& folder, qint64 nowSecondsSinceEpoch)
{
    const qint64 cutoff = nowSecondsSinceEpoch - staleAfterSeconds;
    QStringList interrupted;
    for (const QString& name : storeNamesIn(folder)) {
        if (isInterruptedRename(name))
            interrupted.append(name);
        else
            removeIfStale(FileOperations::childPath(folder, name), cutoff);
    }
    return interrupted;
}

QStringList TemporaryFiles::interruptedRenamesIn(const QString& folder)
{
    QStringList names = storeNamesIn(folder);
    names.removeIf([](const QString& name) { return !isInterruptedRename(name); });
    return names;
}

QStringList TemporaryFiles::storeNamesIn(const QString& folder)
{
    QStringList names;
    if (DIR* dir = ::opendir(QFile::encodeName(folder).constData())) {
        while (const dirent* entry = ::readdir(dir)) {
            if (std::strncmp(entry->d_name, ".plenoria-", 10) == 0)
                names.append(QFile::decodeName(entry->d_name));
        }
        ::closedir(dir);
    }
    return names;
}

void TemporaryFiles::removeIfStale(const QString& path, qint64 cutoff)
{
    if (!isTemporaryName(QFileInfo(path).fileName()))
        return;
    const QByteArray encoded = QFile::encodeName(path);
    const StatResult status = m_fileSystem.lstat(encoded);
    if (!status.ok() || !S_ISREG(status.info.st_mode))
        return;
    // A copy carries its source's modification time, so only the later of that and the change time
    // tells when the file was last written.
    const qint64 touched = std::max<qint64>(status.info.st_mtim.tv_sec, status.info.st_ctim.tv_sec);
    if (touched < cutoff)
        (void)m_fileSystem.unlink(encoded);
}

} // namespace plenoria
