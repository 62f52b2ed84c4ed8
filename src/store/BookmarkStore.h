#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <optional>

namespace plenoria {

struct ResolvedBookmark {
    QUrl url;
    bool isStale = false; // the store then writes a fresh bookmark
};

// A resolved folder, or the description of why the data gives none.
struct [[nodiscard]] BookmarkResolution {
    std::optional<ResolvedBookmark> resolved;
    QString errorDescription;
};

// Bookmark data for a folder, or the description of why none could be made.
struct [[nodiscard]] BookmarkCreation {
    std::optional<QByteArray> data;
    QString errorDescription;
};

// Where the working folder is remembered between runs and how access to it is opened.
// The real one is PathBookmarkStore; tests drive the stale and failing branches with a fake.
class BookmarkStore {
public:
    virtual ~BookmarkStore() = default;

    virtual std::optional<QByteArray> storedBookmark() const = 0;
    virtual void storeBookmark(const QByteArray& data) = 0;
    virtual void removeStoredBookmark() = 0;

    virtual BookmarkResolution resolve(const QByteArray& data) const = 0;
    virtual BookmarkCreation create(const QUrl& folder) const = 0;

    // Whether access was granted; the folder is used either way.
    virtual bool startAccess(const QUrl& folder) = 0;
    virtual void stopAccess(const QUrl& folder) = 0;
};

} // namespace plenoria
