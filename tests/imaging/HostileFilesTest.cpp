#include "HostileFiles.h"
#include "ApngBuilder.h"
#include "DamagedFiles.h"
#include "GifBuilder.h"
#include "HostileEntries.h"
#include "PeerTools.h"
#include "SyntheticImages.h"
#include "imaging/gif/GIFWriter.h"
#include "imaging/read/Filmstrip.h"
#include "imaging/read/GIFAnimation.h"
#include "imaging/read/ImageItem.h"
#include "imaging/read/ImageSourceCodec.h"
#include "imaging/read/PngCodec.h"
#include "imaging/read/RegularFile.h"

#include <QDir>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

#include <cerrno>

using namespace plenoria;
using namespace plenoria::test;

namespace {

QByteArray chunkTypesOf(const QByteArray& png)
{
    QByteArray types;
    for (qsizetype offset = 8; offset + 12 <= png.size();) {
        types += png.mid(offset + 4, 4) + ' ';
        offset += 12
            + qsizetype(quint32(uchar(png[offset])) << 24 | quint32(uchar(png[offset + 1])) << 16
                | quint32(uchar(png[offset + 2])) << 8 | uchar(png[offset + 3]));
    }
    return types;
}

std::shared_ptr<const PngCodec> pngCodec(const QByteArray& png)
{
    std::shared_ptr<const PngCodec> codec = PngCodec::create(png);
    EXPECT_TRUE(codec);
    return codec;
}

} // namespace

TEST(HostileFiles, StatedSidesBeyondAnyProductAreRefusedBeforeMultiplying)
{
    for (const QByteArray& bytes : {hugeSidedPng(2147483647u, 2147483647u), hugeSidedBmp(INT_MAX, INT_MAX),
             hugeSidedBmp(INT_MAX, -INT_MAX)}) {
        const std::optional<ImageSource> source = ImageSource::fromData(bytes);
        ASSERT_TRUE(source);
        EXPECT_EQ(source->frameProperties(0).pixelSize, QSize(INT_MAX, INT_MAX));
        EXPECT_FALSE(source->decodeFrames());
        EXPECT_FALSE(source->decodeFrame(0));
        EXPECT_FALSE(Filmstrip::fromData(bytes));
    }
}

TEST(HostileFiles, StatedFramesBeyondTheDecodeBudgetAreNotKept)
{
    // A 1024 × 1024 canvas leaves room for 255 decoded frames; the walk keeps one more, so the
    // budget still refuses the file, and holds nothing for the thousands stated after it.
    const QSize canvas(1024, 1024);
    const qint64 kept = maxDecodableFrames(canvas) + 1;
    ASSERT_EQ(kept, 256);
    for (const QByteArray& bytes :
        {manyFrameWebP(3000, canvas), manyDescriptorGif(3000, canvas), fcTLFloodApng(3000, canvas)}) {
        const std::optional<ImageSource> source = ImageSource::fromData(bytes);
        ASSERT_TRUE(source);
        EXPECT_EQ(source->frameCount(), kept) << imageTypeName(source->type()).toStdString();
        EXPECT_FALSE(source->decodeFrames());
        EXPECT_FALSE(Filmstrip::fromData(bytes));
        EXPECT_EQ(source->frameProperties(0).pixelSize, canvas);
    }
    EXPECT_TRUE(ImageSource::fromData(manyFrameWebP(3000, canvas))->decodeFrame(0));

    // On the smallest canvas the cap is a million frames: a 100,000-frame WebP is walked whole, in
    // one pass, and a GIF of 1.1 million descriptors stops at the cap.
    const QByteArray webp = manyFrameWebP(100000);
    EXPECT_EQ(ImageSource::fromData(webp)->frameCount(), 100000);
    const std::optional<ImageSource> gif = ImageSource::fromData(manyDescriptorGif(1100000));
    EXPECT_EQ(gif->frameCount(), maxDecodableFrames(QSize(1, 1)) + 1);
    EXPECT_EQ(GIFTiming::read(*gif), GIFTiming::makeAnimated(0, false));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("many.webp"));
    ASSERT_TRUE(writeFileBytes(path, webp));
    const std::optional<ImageItem> item = ImageItem::fromUrl(QUrl::fromLocalFile(path));
    ASSERT_TRUE(item);
    EXPECT_EQ(item->pixelSize, QSizeF(1, 1));
}

TEST(HostileFiles, AnimatedPngFramesCarryOnlyTheChunksLibpngNeeds)
{
    const std::vector<ApngFrame> frames{{discImage(16, 16, Qt::red), {}}, {discImage(16, 16, Qt::blue), {}}};
    const QByteArray plain = makeApng(frames);
    const std::vector<DecodedFrame> expected = *ImageSource::fromData(plain)->decodeFrames();

    // A private chunk of 500 kB and a small colour profile: the profile goes into each frame, the
    // private chunk into none.
    const QByteArray profiled
        = withChunkAfterHeader(withChunkAfterHeader(plain, "prVt", QByteArray(500000, 'x')), "iCCP",
            iccpPayload(3000, QByteArray(2996, '\0')));
    const auto codec = pngCodec(profiled);
    for (qint64 index = 0; index < 2; ++index) {
        const QByteArray frame = codec->framePng(index);
        EXPECT_LT(frame.size(), 2000);
        EXPECT_EQ(chunkTypesOf(frame).toStdString(), "IHDR iCCP IDAT IEND ");
    }
    const std::vector<DecodedFrame> decoded = *ImageSource::fromData(profiled)->decodeFrames();
    ASSERT_EQ(decoded.size(), expected.size());
    for (size_t i = 0; i < decoded.size(); ++i)
        EXPECT_EQ(decoded[i].image, expected[i].image);

    // A profile that is large, or states a large size, or repeats over too many frames is left out;
    // the palette and its transparency never are.
    const QByteArray indexed = singleFrameApng(indexedPng());
    const QByteArray bulky = randomBytes(70000, 7);
    for (const QByteArray& profile :
        {iccpPayload(70004, bulky), iccpPayload(8000000, QByteArray(200, '\0'))}) {
        const QByteArray file = withChunkAfterHeader(indexed, "iCCP", profile);
        EXPECT_EQ(chunkTypesOf(pngCodec(file)->framePng(0)).toStdString(), "IHDR PLTE tRNS IDAT IEND ");
        const std::optional<Filmstrip> strip = Filmstrip::fromData(file);
        ASSERT_TRUE(strip);
        ASSERT_EQ(strip->frames.size(), 1u);
        EXPECT_EQ(strip->frames.front(), ImageSource::fromData(indexedPng())->decodeFrame(0));
    }
    const QByteArray crowded
        = withChunkAfterHeader(fcTLFloodApng(20000), "iCCP", iccpPayload(4000, QByteArray(3996, '\0')));
    EXPECT_EQ(chunkTypesOf(pngCodec(crowded)->framePng(0)).toStdString(), "IHDR IDAT IEND ");
}

TEST(HostileFiles, GifDelaysGoToEachImagesOwnControlBlock)
{
    // Read as [100 (none stated), 110]; the stray block before the trailer belongs to no image.
    const QByteArray stray = gifWithStrayControl();
    const std::optional<Filmstrip> strip = Filmstrip::fromData(stray);
    ASSERT_TRUE(strip);
    EXPECT_EQ(strip->delays, (std::vector<qint64>{100, 110}));
    EXPECT_FALSE(GIFWriter::rewriteGIFDelays(stray, {110, 210}));
    EXPECT_FALSE(GIFWriter::rewriteGIFDelays(stray, {210}));

    // Two control blocks before one image: the reader takes the second, so a patch of the first
    // would change nothing that is read.
    QByteArray doubled = makeGif({{solidImage(4, 4, Qt::red), {}, 5}, {solidImage(4, 4, Qt::blue), {}, 6}});
    const qsizetype control = doubled.indexOf(QByteArray("\x21\xF9\x04", 3));
    doubled.insert(control, doubled.mid(control, 8));
    EXPECT_EQ(Filmstrip::fromData(doubled)->delays, (std::vector<qint64>{50, 60}));
    EXPECT_FALSE(GIFWriter::rewriteGIFDelays(doubled, {70, 80}));

    // A comment between a control block and its image changes nothing.
    QByteArray commented = makeGif({{solidImage(4, 4, Qt::red), {}, 5}, {solidImage(4, 4, Qt::blue), {}, 6}});
    commented.insert(commented.indexOf('\x2C', commented.indexOf(QByteArray("\x21\xF9\x04", 3))),
        QByteArray("\x21\xFE\x02hi\x00", 6));
    const std::optional<QByteArray> patched = GIFWriter::rewriteGIFDelays(commented, {70, 125});
    ASSERT_TRUE(patched);
    EXPECT_EQ(patched->size(), commented.size());
    EXPECT_EQ(Filmstrip::fromData(*patched)->delays, (std::vector<qint64>{70, 130}));
}

TEST(HostileFiles, EveryTiffPageIsAFrame)
{
    const QByteArray tiff = multiPageTiff(
        {solidImage(8, 8, Qt::red), solidImage(8, 8, Qt::blue), solidImage(4, 12, QColor(0, 255, 0, 128))});
    const std::optional<ImageSource> source = ImageSource::fromData(tiff);
    ASSERT_TRUE(source);
    EXPECT_EQ(source->frameCount(), 3);
    const std::optional<Filmstrip> strip = Filmstrip::fromData(tiff);
    ASSERT_TRUE(strip);
    ASSERT_EQ(strip->frames.size(), 3u);
    EXPECT_EQ(strip->delays, (std::vector<qint64>{100, 100, 100}));
    EXPECT_EQ(strip->frames[1], solidImage(8, 8, Qt::blue));
    // A page of another size sits at the top left of the first page's canvas, nothing behind it.
    EXPECT_EQ(strip->frames[2].size(), QSize(8, 8));
    EXPECT_EQ(pixelAt(strip->frames[2], 0, 7), QColor(0, 255, 0, 128));
    EXPECT_EQ(pixelAt(strip->frames[2], 6, 0).alpha(), 0);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("pages.tiff"));
    ASSERT_TRUE(writeFileBytes(path, tiff));
    const std::optional<GIFAnimation> animation = GIFAnimation::load(QUrl::fromLocalFile(path));
    ASSERT_TRUE(animation);
    EXPECT_EQ(animation->durations, (std::vector<double>{0.1, 0.1, 0.1}));
    const std::optional<ImageItem> item = ImageItem::fromUrl(QUrl::fromLocalFile(path));
    EXPECT_EQ(item->pixelSize, QSizeF(8, 8));
    EXPECT_TRUE(item->gifTiming.isStill());
}

TEST(HostileFiles, OnlyARegularFileWithinTheLimitIsReadWholeAndNothingElseIsRead)
{
    using Refusal = RegularFile::Contents::Refusal;
    QTemporaryDir dir;
    const QString image = dir.filePath(QStringLiteral("a.png"));
    const QByteArray png = encodePng(discImage(9, 5, Qt::red));
    ASSERT_TRUE(writeFileBytes(image, png));
    ASSERT_TRUE(QFile::link(image, dir.filePath(QStringLiteral("link.png"))));
    EXPECT_EQ(RegularFile::readWhole(dir.filePath(QStringLiteral("link.png"))).bytes, png);
    EXPECT_EQ(RegularFile::readWhole(image, png.size()).bytes, png);
    EXPECT_EQ(RegularFile::readWhole(image, png.size() - 1).refusal, Refusal::tooLarge);

    const RegularFile::Contents gone = RegularFile::readWhole(dir.filePath(QStringLiteral("gone.png")));
    EXPECT_EQ(gone.refusal, Refusal::unreadable);
    EXPECT_EQ(gone.error, ENOENT);
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.png")));
    EXPECT_EQ(RegularFile::readWhole(dir.filePath(QStringLiteral("folder.png"))).refusal, Refusal::notAFile);

    // The preview reads by the same rule; the scan lists the huge file by its size without reading it.
    for (const HostileEntry entry : hostileEntries) {
        SCOPED_TRACE(int(entry));
        const QString path = dir.filePath(QStringLiteral("%1.png").arg(int(entry)));
        ASSERT_TRUE(makeHostileEntry(path, entry));
        const bool huge = entry == HostileEntry::sparseHuge;
        EXPECT_EQ(RegularFile::readWhole(path).refusal, huge ? Refusal::tooLarge : Refusal::notAFile);
        EXPECT_FALSE(ImageSource::open(path));
        const std::optional<ImageItem> listed = ImageItem::fromUrl(QUrl::fromLocalFile(path));
        EXPECT_EQ(listed ? listed->byteSize : -1, huge ? 6'000'000'000LL : -1);
    }
}
