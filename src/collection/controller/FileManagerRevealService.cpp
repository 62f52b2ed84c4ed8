#include "collection/controller/FileManagerRevealService.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDesktopServices>
#include <QFileInfo>

namespace plenoria {

FileManagerRevealService::FileManagerRevealService(QDBusConnection bus, FolderOpener opener, QObject* parent)
    : QObject(parent)
    , m_bus(std::move(bus))
    , m_opener(opener ? std::move(opener) : FolderOpener(&QDesktopServices::openUrl))
{ }

void FileManagerRevealService::reveal(const QUrl& url, FailureHandler onFailure)
{
    if (!url.isLocalFile()) {
        if (onFailure)
            onFailure();
        return;
    }
    if (!m_bus.isConnected()) {
        openContainingFolder(url, onFailure);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QLatin1String(service), QLatin1String(path), QLatin1String(interface), QStringLiteral("ShowItems"));
    call << QStringList{url.toString(QUrl::FullyEncoded)} << QString();
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
        [this, watcher, url, onFailure = std::move(onFailure)] {
            watcher->deleteLater();
            if (watcher->isError())
                openContainingFolder(url, onFailure);
        });
}

void FileManagerRevealService::openContainingFolder(const QUrl& url, const FailureHandler& onFailure)
{
    const QString folder = QFileInfo(url.toLocalFile()).absolutePath();
    if (!m_opener(QUrl::fromLocalFile(folder)) && onFailure)
        onFailure();
}

} // namespace plenoria
