#include "store/BackupRecords.h"

#include <QCryptographicHash>
#include <QFile>
#include <cerrno>

namespace plenoria {

namespace {

// A record lists a handful of lines; anything larger is not one of ours.
constexpr qint64 maxRecordBytes = 64 * 1024;

} // namespace

BackupRecords::BackupRecords(FileOperations& files, const QString& workingFolder)
    : m_files(files)
    , m_folder(workingFolder)
{ }

QString BackupRecords::folderPath(const QString& workingFolder)
{
    return FileOperations::childPath(workingFolder, QStringLiteral(".plenoria/records"));
}

BackupRecords::Content BackupRecords::contentOf(const QByteArray& bytes)
{
    return {bytes.size(), QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex()};
}

QString BackupRecords::pathOf(const QString& name) const
{
    return FileOperations::childPath(folderPath(m_folder), name);
}

BackupRecords::Record BackupRecords::read(const QString& name) const
{
    if (const FileResult unlinked = ownFoldersUnlinked(); !unlinked.ok())
        return {{}, unlinked.error()};
    const FileOperations::Contents contents = m_files.readRegular(pathOf(name), maxRecordBytes);
    if (contents.error != 0)
        return {{}, contents.error};
    Record record;
    const QList<QByteArray> lines = contents.bytes.split('\n');
    for (const QByteArray& line : lines) {
        if (line.isEmpty())
            continue;
        const QList<QByteArray> fields = line.split(' ');
        bool sized = false;
        const qint64 size = fields.value(0).toLongLong(&sized);
        if (fields.size() != 2 || !sized || fields[1].size() != 64)
            return {{}, EINVAL};
        record.contents.append({size, fields[1]});
    }
    return record;
}

FileResult BackupRecords::write(const QString& name, const QList<Content>& contents)
{
    if (const FileResult unlinked = ownFoldersUnlinked(); !unlinked.ok())
        return unlinked;
    if (const FileResult made = m_files.makeDirectories(folderPath(m_folder)); !made.ok())
        return made;
    QByteArray text;
    for (const Content& content : contents)
        text += QByteArray::number(content.size) + ' ' + content.sha256 + '\n';
    return m_files.writeAtomically(pathOf(name), text);
}

FileResult BackupRecords::remove(const QString& name)
{
    if (const FileResult unlinked = ownFoldersUnlinked(); !unlinked.ok())
        return unlinked;
    const SysResult removed = m_files.fileSystem().unlink(QFile::encodeName(pathOf(name)));
    if (removed.ok() || removed.error == ENOENT || removed.error == ENOTDIR)
        return FileResult::success();
    return FileResult::failure(removed.error);
}

FileResult BackupRecords::carry(const QString& oldName, const QString& newName)
{
    const Record record = read(oldName);
    if (record.missing())
        return remove(newName);
    if (record.error != 0)
        return FileResult::failure(record.error);
    return write(newName, record.contents);
}

FileResult BackupRecords::ownFoldersUnlinked() const
{
    for (const QString& own : {QStringLiteral(".plenoria"), QStringLiteral(".plenoria/records")}) {
        const StatResult status
            = m_files.fileSystem().lstat(QFile::encodeName(FileOperations::childPath(m_folder, own)));
        if (status.error == ENOENT)
            return FileResult::success();
        if (!status.ok())
            return FileResult::failure(status.error);
        if (S_ISLNK(status.info.st_mode))
            return FileResult::failure(ENOTDIR);
    }
    return FileResult::success();
}

} // namespace plenoria
