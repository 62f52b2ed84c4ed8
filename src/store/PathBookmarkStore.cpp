#include "store/PathBookmarkStore.h"

#include <QDir>
#include <QFileInfo>

namespace plenoria {

namespace {

// The first line names the format, so that a later format can tell old data apart.
constexpr QByteArrayView formatLine = "plenoria-folder-path 1\n";

} // namespace

PathBookmarkStore::PathBookmarkStore()
    : m_ownedSettings(std::make_unique<QSettings>(QStringLiteral("Plenoria"), QStringLiteral("Plenoria")))
    , m_settings(m_ownedSettings.get())
{ }

PathBookmarkStore::PathBookmarkStore(QSettings* settings)
    : m_settings(settings)
{ }

std::optional<QByteArray> PathBookmarkStore::storedBookmark() const
{
    const QVariant value = m_settings->value(QLatin1String(key));
    if (!value.isValid())
        return std::nullopt;
    return value.toByteArray();
}

void PathBookmarkStore::storeBookmark(const QByteArray& data)
{
    m_settings->setValue(QLatin1String(key), data);
    m_settings->sync();
}

void PathBookmarkStore::removeStoredBookmark()
{
    m_settings->remove(QLatin1String(key));
    m_settings->sync();
}

BookmarkResolution PathBookmarkStore::resolve(const QByteArray& data) const
{
    if (!data.startsWith(formatLine))
        return {std::nullopt, QStringLiteral("The stored folder is not in a form Plenoria reads.")};
    const QString path = QString::fromUtf8(data.mid(formatLine.size()));
    if (path.isEmpty() || !QDir::isAbsolutePath(path) || path.contains(QChar(0)))
        return {std::nullopt, QStringLiteral("The stored folder is not in a form Plenoria reads.")};
    const QFileInfo info(path);
    if (!info.exists())
        return {std::nullopt, QStringLiteral("The folder “%1” no longer exists.").arg(path)};
    if (!info.isDir())
        return {std::nullopt, QStringLiteral("“%1” is not a folder.").arg(path)};
    return {ResolvedBookmark{QUrl::fromLocalFile(QDir::cleanPath(path)), false}, {}};
}

BookmarkCreation PathBookmarkStore::create(const QUrl& folder) const
{
    if (!folder.isLocalFile() || !QDir::isAbsolutePath(folder.toLocalFile()))
        return {std::nullopt, QStringLiteral("“%1” is not a local folder.").arg(folder.toDisplayString())};
    return {formatLine.toByteArray() + QDir::cleanPath(folder.toLocalFile()).toUtf8(), {}};
}

} // namespace plenoria
