#pragma once

#include "store/BookmarkStore.h"

#include <QSettings>
#include <memory>

namespace plenoria {

// Remembers the working folder as its absolute, cleaned path, under "workingFolderBookmark" in the
// application's settings. A path never reads as stale, and access needs no opening on Linux.
class PathBookmarkStore final : public BookmarkStore {
public:
    // Over the application's own settings (organisation and application "Plenoria").
    PathBookmarkStore();
    // Over settings the caller keeps alive for this object's lifetime.
    explicit PathBookmarkStore(QSettings* settings);

    static constexpr const char* key = "workingFolderBookmark";

    std::optional<QByteArray> storedBookmark() const override;
    void storeBookmark(const QByteArray& data) override;
    void removeStoredBookmark() override;

    BookmarkResolution resolve(const QByteArray& data) const override;
    BookmarkCreation create(const QUrl& folder) const override;

    bool startAccess(const QUrl&) override { return true; }
    void stopAccess(const QUrl&) override { }

private:
    std::unique_ptr<QSettings> m_ownedSettings;
    QSettings* m_settings;
};

} // namespace plenoria
