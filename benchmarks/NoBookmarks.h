#pragma once

#include "store/BookmarkStore.h"

namespace plenoria::bench {

// A store's bookmarks for benchmarks: nothing remembered, every folder accessible, so that a store
// made in a benchmark touches no settings.
class NoBookmarks : public BookmarkStore {
public:
    std::optional<QByteArray> storedBookmark() const override { return std::nullopt; }
    void storeBookmark(const QByteArray&) override { }
    void removeStoredBookmark() override { }
    BookmarkResolution resolve(const QByteArray&) const override { return {}; }
    BookmarkCreation create(const QUrl&) const override { return {}; }
    bool startAccess(const QUrl&) override { return true; }
    void stopAccess(const QUrl&) override { }
};

} // namespace plenoria::bench
