#pragma once

#include "store/RevealService.h"

#include <QDBusConnection>
#include <QObject>
#include <QUrl>
#include <functional>

namespace plenoria {

// Shows a file selected in the desktop's file manager through the freedesktop FileManager1
// ShowItems call on the session bus. Where no file manager answers (no bus, no such service, an
// error reply), the folder that holds the file is opened instead; only when that fails too is the
// request a failure. The call never blocks the window: the answer is awaited on the event loop.
// Main thread only.
class FileManagerRevealService final : public QObject, public RevealService {
    Q_OBJECT
public:
    // Opens a folder in the user's file browser; true when something took the request.
    using FolderOpener = std::function<bool(const QUrl& folder)>;

    static constexpr const char* service = "org.freedesktop.FileManager1";
    static constexpr const char* path = "/org/freedesktop/FileManager1";
    static constexpr const char* interface = "org.freedesktop.FileManager1";

    // Without an opener, folders open through the desktop's URL handler.
    explicit FileManagerRevealService(QDBusConnection bus = QDBusConnection::sessionBus(),
        FolderOpener opener = {}, QObject* parent = nullptr);

    void reveal(const QUrl& url, FailureHandler onFailure) override;

private:
    void openContainingFolder(const QUrl& url, const FailureHandler& onFailure);

    QDBusConnection m_bus;
    FolderOpener m_opener;
};

} // namespace plenoria
