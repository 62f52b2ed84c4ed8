// Every seed of the fuzz targets, and every input a fuzz run once found, through the same entry
// points the libFuzzer targets drive: an entry point aborts on a broken promise, so a regression
// fails here without clang.

#include "ApngBuilder.h"
#include "FuzzEntryPoints.h"
#include "FuzzSeeds.h"
#include "GifBuilder.h"
#include "PeerTools.h"
#include "SyntheticImages.h"
#include "imaging/read/Filmstrip.h"
#include "imaging/read/ImageSource.h"
#include "store/BackupRecords.h"

#include <QDir>
#include <gtest/gtest.h>

#include <set>

using namespace plenoria;
using namespace plenoria::test;

namespace {

void replay(const QByteArray& bytes)
{
    fuzz::scanBytes(bytes);
    fuzz::decodeBytes(bytes);
    fuzz::rewriteBytes(bytes);
    fuzz::benchBytes(bytes);
    fuzz::recordsBytes(bytes);
}

} // namespace

TEST(FuzzReplay, EverySeedOfEveryTypeRunsThroughEveryTarget)
{
    std::set<ImageType> types;
    for (const fuzz::NamedBytes& seed : fuzz::fuzzSeeds(true)) {
        SCOPED_TRACE(seed.name.toStdString());
        if (const std::optional<ImageSource> source = ImageSource::fromData(seed.bytes))
            types.insert(source->type());
        replay(seed.bytes);
        // The damage a fuzzer makes first: the file cut short, and its last byte changed, which
        // also changes the delays the rewrite target draws.
        replay(seed.bytes.left(seed.bytes.size() / 2));
        QByteArray changed = seed.bytes;
        changed.back() = char(changed.back() ^ 0x5A);
        replay(changed);
    }
    EXPECT_EQ(types,
        (std::set<ImageType>{ImageType::PNG, ImageType::GIF, ImageType::JPEG, ImageType::WebP,
            ImageType::HEIC, ImageType::AVIF, ImageType::TIFF, ImageType::BMP}));
}

TEST(FuzzReplay, EveryRecordSeedParsesAndAnyChangeToItEitherParsesAlikeOrNotAtAll)
{
    for (const fuzz::NamedBytes& seed : fuzz::recordSeeds()) {
        ASSERT_TRUE(BackupRecords::parse(seed.bytes)) << seed.name.toStdString();
        for (qsizetype at = 0; at < seed.bytes.size(); ++at) {
            QByteArray changed = seed.bytes;
            changed[at] = char(changed[at] ^ 0x20);
            fuzz::recordsBytes(changed);
            fuzz::recordsBytes(seed.bytes.left(at));
        }
    }
}

TEST(FuzzReplay, EveryRecordTheBenchTargetDrawsRendersForSaveAndExport)
{
    // The last byte picks the record's rows; bytes after an image's end are left unread.
    const QByteArray gif = makeGif({{discImage(7, 5, Qt::red), {}, 10},
        {solidImage(3, 2, Qt::blue), {2, 1}, 0}, {discImage(6, 4, Qt::green), {1, 1}, 4}});
    const QByteArray png = encodePng(discImage(5, 9, Qt::red));
    for (int rows = 0; rows < 256; ++rows) {
        SCOPED_TRACE(rows);
        fuzz::benchBytes(gif + char(rows));
        fuzz::benchBytes(png + char(rows));
    }
}

TEST(FuzzReplay, PastFindingsStayFixed)
{
    const QDir findings(QStringLiteral(PLENORIA_SOURCE_DIR "/fuzz/regressions"));
    const QStringList names = findings.entryList(QDir::Files);
    ASSERT_FALSE(names.isEmpty()) << findings.path().toStdString();
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        replay(readFileBytes(findings.filePath(name)));
    }
}

TEST(FuzzReplay, PngChecksumsAreMadeRightSoMutationsReachTheReaders)
{
    QByteArray png = encodePng(QImage(3, 2, QImage::Format_ARGB32));
    png[29] = char(png[29] ^ 0xFF); // the header chunk's checksum
    EXPECT_FALSE(Filmstrip::fromData(png));
    const std::optional<Filmstrip> mended = Filmstrip::fromData(fuzz::withPngChecksums(png));
    ASSERT_TRUE(mended);
    ASSERT_EQ(mended->frames.size(), 1u);
    EXPECT_EQ(mended->frames.front().size(), QSize(3, 2));
    EXPECT_EQ(fuzz::withPngChecksums("GIF89a"), QByteArray("GIF89a"));
}
