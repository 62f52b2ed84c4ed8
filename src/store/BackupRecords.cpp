#include "store/BackupRecords.h"

#include "store/TemporaryFiles.h"

#include <QCryptographicHash>
#include <QFile>
#include <QRegularExpression>
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
    using Kind = Record::Kind;
    if (const FileResult unlinked = ownFoldersUnlinked(); !unlinked.ok())
        return {unlinked.error() == ENOTDIR ? Kind::senseless : Kind::unreadable, {}, unlinked.error()};
    const FileOperations::Contents contents = m_files.readRegular(pathOf(name), maxRecordBytes);
    if (contents.error == ENOENT)
        return {Kind::missing, {}, ENOENT};
    // Not a regular file, or larger than any record we write.
    if (contents.error == EINVAL || contents.error == EFBIG)
        return {Kind::senseless, {}, contents.error};
    if (contents.error != 0)
        return {Kind::unreadable, {}, contents.error};
    const std::optional<QList<Content>> listed = parse(contents.bytes);
    if (!listed)
        return {Kind::senseless, {}, EINVAL};
    return {Kind::listed, *listed, 0};
}

std::optional<QList<BackupRecords::Content>> BackupRecords::parse(const QByteArray& text)
{
    static const QRegularExpression line(QStringLiteral("^(0|[1-9][0-9]{0,17}) ([0-9a-f]{64})$"));
    // Exactly as written: every line ends in a line feed, and there is at least one.
    if (!text.endsWith('\n'))
        return std::nullopt;
    QList<Content> contents;
    for (const QByteArray& each : text.chopped(1).split('\n')) {
        const QRegularExpressionMatch match = line.match(QString::fromLatin1(each));
        if (!match.hasMatch())
            return std::nullopt;
        contents.append({match.captured(1).toLongLong(), match.captured(2).toLatin1()});
    }
    return contents;
}

FileResult BackupRecords::write(const QString& name, const QList<Content>& contents)
{
    if (const FileResult unlinked = ownFoldersUnlinked(); !unlinked.ok())
        return unlinked;
    if (const FileResult made = m_files.makeDirectories(folderPath(m_folder)); !made.ok())
        return made;
    return m_files.writeAtomically(pathOf(name), text(contents));
}

QByteArray BackupRecords::text(const QList<Content>& contents)
{
    QByteArray text;
    for (const Content& content : contents)
        text += QByteArray::number(content.size) + ' ' + content.sha256 + '\n';
    return text;
}

FileResult BackupRecords::remove(const QString& name)
{
    // Behind a link there is no record of ours to remove, and nothing is removed through it.
    if (const FileResult unlinked = ownFoldersUnlinked(); !unlinked.ok())
        return unlinked.error() == ENOTDIR ? FileResult::success() : unlinked;
    const SysResult removed = m_files.fileSystem().unlink(QFile::encodeName(pathOf(name)));
    if (removed.ok() || removed.error == ENOENT || removed.error == ENOTDIR)
        return FileResult::success();
    return FileResult::failure(removed.error);
}

BackupRecords::Held BackupRecords::holdAside(const QString& name)
{
    if (const FileResult unlinked = ownFoldersUnlinked(); !unlinked.ok())
        return {{}, unlinked};
    const QString path = pathOf(name);
    const StatResult status = m_files.fileSystem().lstat(QFile::encodeName(path));
    if (status.error == ENOENT || status.error == ENOTDIR)
        return {};
    if (!status.ok())
        return {{}, FileResult::failure(status.error)};
    if (!S_ISREG(status.info.st_mode))
        return {{}, FileResult::failure(S_ISDIR(status.info.st_mode) ? EISDIR : EEXIST)};
    // Killed while held, the record is swept as any stale temporary file: its backup was set aside or
    // is the new one, which it does not speak for.
    for (;;) {
        const QString held = TemporaryFiles::newPathIn(folderPath(m_folder));
        const FileResult moved = m_files.moveNoReplace(path, held);
        if (moved.ok())
            return {held, FileResult::success()};
        if (moved.error() != EEXIST)
            return {{}, moved};
    }
}

FileResult BackupRecords::bringBack(const Held& held, const QString& name)
{
    if (held.path.isEmpty())
        return remove(name);
    return m_files.moveNoReplace(held.path, pathOf(name));
}

void BackupRecords::drop(const Held& held)
{
    if (!held.path.isEmpty())
        (void)m_files.fileSystem().unlink(QFile::encodeName(held.path));
}

FileResult BackupRecords::carry(const Record& record, const QString& newName)
{
    if (record.kind == Record::Kind::listed)
        return write(newName, record.contents);
    return remove(newName);
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
