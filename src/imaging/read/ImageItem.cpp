#include "imaging/read/ImageItem.h"

#include "imaging/read/CorePool.h"
#include "imaging/read/ImageSource.h"
#include "imaging/read/JpegCodec.h"
#include "imaging/read/RegularFile.h"

#include <QHash>
#include <QSet>
#include <QtConcurrent/QtConcurrentMap>

#include <numeric>

namespace plenoria {

namespace {

const QSet<QString>& supportedImageExtensions()
{
    static const QSet<QString> extensions(imageFileExtensions().cbegin(), imageFileExtensions().cend());
    return extensions;
}

QString pathExtension(const QString& filename)
{
    const qsizetype dot = filename.lastIndexOf(u'.');
    return dot > 0 ? filename.sliced(dot + 1) : QString();
}

// Enough for the header of every still type; a scan reads no more unless it must.
constexpr qint64 headBytes = 64 * 1024;
// Metadata is never worth reading more than this of one file.
constexpr qint64 maxMetadataBytes = 256LL * 1024 * 1024;

// The bytes a scan needs from one file: the head alone where it holds the pixel size, the whole
// file where the metadata is spread through it (GIF frames, ISO-BMFF boxes, TIFF directories).
QByteArray metadataBytes(const RegularFile& file, bool wantsTiming)
{
    QByteArray head = file.read(0, std::min(headBytes, std::max<qint64>(file.size(), 1)));
    if (head.size() < headBytes)
        return head;
    const std::optional<ImageType> type = detectImageType(head);
    if (!type)
        return head;
    bool headSuffices = false;
    switch (*type) {
    case ImageType::PNG:
    case ImageType::BMP:
    case ImageType::WebP: // the canvas, or the only image's header, comes first
        headSuffices = true;
        break;
    case ImageType::JPEG:
        headSuffices = JpegCodec::frameHeaderSize(head).has_value();
        break;
    case ImageType::GIF: // the logical screen is in the head; frame delays are not
    case ImageType::HEIC:
    case ImageType::AVIF:
    case ImageType::TIFF:
        headSuffices = false;
        break;
    }
    if ((headSuffices && !wantsTiming) || file.size() > maxMetadataBytes)
        return head;
    // Read whole in one allocation: head plus rest would hold the file twice, three times at the peak.
    head = {};
    return file.read(0, file.size());
}

} // namespace

const QStringList& imageFileExtensions()
{
    static const QStringList extensions{QStringLiteral("png"), QStringLiteral("gif"), QStringLiteral("jpg"),
        QStringLiteral("jpeg"), QStringLiteral("webp"), QStringLiteral("heic"), QStringLiteral("avif"),
        QStringLiteral("tiff"), QStringLiteral("bmp")};
    return extensions;
}

std::optional<ImageItem> ImageItem::fromUrl(const QUrl& url)
{
    if (!url.isLocalFile())
        return std::nullopt;
    const QString filename = url.fileName();
    const QString extension = pathExtension(filename);
    const QString lowered = extension.toLower();
    if (!supportedImageExtensions().contains(lowered))
        return std::nullopt;

    // Like the platform's "regular file" test: folders, devices and symbolic links are not images.
    // Opening and asking the open file for its type and size is one lookup of the name instead of
    // several, which counts in a scan of thousands of files.
    const RegularFile file(url.toLocalFile(), RegularFile::Links::refuse);
    if (file.outcome() == RegularFile::Outcome::notAFile
        || file.outcome() == RegularFile::Outcome::unreachable)
        return std::nullopt;

    ImageItem item;
    item.url = url;
    item.filename = filename;
    item.type = extension.toUpper();
    item.byteSize = file.size();

    const bool wantsTiming = lowered == QLatin1String("gif");
    if (file.outcome() != RegularFile::Outcome::opened)
        return item;
    const std::optional<ImageSource> source = ImageSource::fromData(metadataBytes(file, wantsTiming));
    if (!source)
        return item;
    if (const std::optional<QSize> size = source->frameProperties(0).pixelSize)
        item.pixelSize = QSizeF(*size);
    if (wantsTiming)
        item.gifTiming = GIFTiming::read(*source);
    return item;
}

std::vector<std::optional<ImageItem>> ImageItem::fromUrls(const QList<QUrl>& urls)
{
    // A file costs some microseconds, so files go to the pool in chunks: per-file tasks would spend
    // more on handing out work than on reading. One chunk's worth is read on this thread alone.
    constexpr qsizetype filesPerChunk = 24;
    std::vector<std::optional<ImageItem>> items(size_t(urls.size()));
    const qsizetype chunkCount = (urls.size() + filesPerChunk - 1) / filesPerChunk;
    const auto readChunk = [&](qsizetype chunk) {
        const qsizetype end = std::min(urls.size(), (chunk + 1) * filesPerChunk);
        for (qsizetype i = chunk * filesPerChunk; i < end; ++i)
            items[size_t(i)] = fromUrl(urls[i]);
    };
    if (chunkCount <= 1) {
        readChunk(0);
        return items;
    }
    std::vector<qsizetype> chunks(size_t(chunkCount), 0);
    std::iota(chunks.begin(), chunks.end(), qsizetype(0));
    QtConcurrent::blockingMap(&CorePool::instance(), chunks, readChunk);
    return items;
}

std::optional<QString> ImageItem::dimensionsLabel() const
{
    if (!pixelSize)
        return std::nullopt;
    return QString::number(qint64(pixelSize->width())) + QChar(0x00D7)
        + QString::number(qint64(pixelSize->height()));
}

qint64 ImageItem::pixelCount() const
{
    if (!pixelSize)
        return 0;
    return qint64(pixelSize->width() * pixelSize->height());
}

qint64 ImageItem::timingSortKey() const
{
    if (!gifTiming.animated)
        return std::numeric_limits<qint64>::max();
    return gifTiming.animated->healthy ? gifTiming.animated->delayMs : -1;
}

size_t qHash(const ImageItem& item, size_t seed)
{
    seed = qHashMulti(seed, item.url, item.filename, item.type, item.byteSize);
    seed = item.pixelSize ? qHashMulti(seed, 1, item.pixelSize->width(), item.pixelSize->height())
                          : qHashMulti(seed, 0);
    return qHash(item.gifTiming, seed);
}

} // namespace plenoria
