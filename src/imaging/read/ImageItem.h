#pragma once

#include "imaging/read/GIFTiming.h"

#include <QList>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>
#include <vector>

namespace plenoria {

// One image file of the working folder, described without decoding its pixels. Identified by `url`.
struct ImageItem {
    QUrl url;
    QString filename;
    QString type; // the path extension upper-cased as written: photo.JPG gives JPG
    qint64 byteSize = 0;
    std::optional<QSizeF> pixelSize;
    GIFTiming gifTiming;

    // None for unsupported extensions (decided before any file access), unreadable files and
    // anything that is not a regular file. A regular file that is no readable image still gives an item.
    [[nodiscard]] static std::optional<ImageItem> fromUrl(const QUrl& url);
    // fromUrl for many files at once, read on the global thread pool with the calling thread
    // helping; entry i answers urls[i]. Blocks until every file is read.
    [[nodiscard]] static std::vector<std::optional<ImageItem>> fromUrls(const QList<QUrl>& urls);

    std::optional<QString> dimensionsLabel() const; // "128×96"
    qint64 pixelCount() const;
    qint64 timingSortKey() const; // still: max qint64, healthy: delayMs, unhealthy: -1

    bool operator==(const ImageItem&) const = default;
};

size_t qHash(const ImageItem& item, size_t seed = 0);

// The extensions of the image files the collection lists (lower case, compared in lower case).
const QStringList& imageFileExtensions();

} // namespace plenoria
