#include "ApngBuilder.h"
#include "DamagedFiles.h"
#include "GifBuilder.h"
#include "PeerTools.h"
#include "SyntheticImages.h"
#include "imaging/read/Filmstrip.h"
#include "imaging/read/GIFAnimation.h"
#include "imaging/read/ImageItem.h"
#include "imaging/read/ImageSource.h"

#include <QTemporaryDir>
#include <QtConcurrent>
#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;

TEST(HostileInput, AHugeGifScreenIsDescribedButNeverDecoded)
{
    const QByteArray gif = hugeGifHeader(60000, 60000);
    const std::optional<ImageSource> source = ImageSource::fromData(gif);
    ASSERT_TRUE(source);
    EXPECT_EQ(source->frameProperties(0).pixelSize, QSize(60000, 60000));
    EXPECT_FALSE(source->decodeFrame(0));
    EXPECT_FALSE(Filmstrip::fromData(gif));

    // The same frame on a small screen is refused too: the frame itself is beyond the limit.
    QByteArray smallScreen = gif;
    smallScreen[6] = 10;
    smallScreen[7] = 0;
    smallScreen[8] = 10;
    smallScreen[9] = 0;
    EXPECT_FALSE(ImageSource::fromData(smallScreen)->decodeFrame(0));
}

TEST(HostileInput, FramesThatTogetherPassTheBudgetGiveNoStripOrAnimation)
{
    // Each tiny frame is shown on a 4096 × 4096 screen: 17 of them need 1.06 GiB once decoded,
    // from a file of a few hundred bytes.
    std::vector<GifFrame> frames(17, GifFrame{solidImage(1, 1, Qt::red), {}, 5});
    const QByteArray gif = makeGif(frames, {QSize(4096, 4096), 0});
    const std::optional<ImageSource> source = ImageSource::fromData(gif);
    ASSERT_TRUE(source);
    // The walk stops one frame past the 15 the budget could take: that is enough to refuse the file.
    EXPECT_EQ(source->frameCount(), 16);
    EXPECT_FALSE(source->decodeFrames());
    EXPECT_FALSE(Filmstrip::fromData(gif));
    EXPECT_TRUE(source->decodeFrame(0)); // one frame alone is fine

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("many.gif"));
    ASSERT_TRUE(writeFileBytes(path, gif));
    EXPECT_FALSE(GIFAnimation::load(QUrl::fromLocalFile(path)));
}

TEST(HostileInput, TruncatedFilesDecodeWhatIsWholeOrNothing)
{
    const QByteArray png = encodePng(discImage(64, 64, Qt::red, Qt::blue));
    for (const qsizetype keep :
        {qsizetype(0), qsizetype(8), qsizetype(20), qsizetype(33), png.size() / 2, png.size() - 13}) {
        SCOPED_TRACE(keep);
        EXPECT_FALSE(Filmstrip::fromData(truncated(png, keep)));
    }

    const QByteArray gif
        = makeGif({{solidImage(8, 8, Qt::red), {}, 10}, {solidImage(8, 8, Qt::blue), {}, 10}});
    for (qsizetype keep = 0; keep < gif.size(); ++keep) {
        const QByteArray cut = truncated(gif, keep);
        if (const std::optional<ImageSource> source = ImageSource::fromData(cut)) {
            (void)source->decodeFrames();
            (void)GIFTiming::read(*source);
        }
    }
    const std::optional<Filmstrip> firstOnly = Filmstrip::fromData(truncated(gif, gif.size() - 12));
    ASSERT_TRUE(firstOnly);
    EXPECT_EQ(firstOnly->frames.size(), 1u);
}

TEST(HostileInput, NoiseWithImageNamesOrImageMagicGivesNoImage)
{
    QTemporaryDir dir;
    const QStringList magics{QStringLiteral("\x89PNG\r\n\x1a\n"), QStringLiteral("GIF89a"),
        QStringLiteral("\xff\xd8\xff"), QString()};
    for (quint32 seed = 1; seed <= 40; ++seed) {
        for (const QString& magic : magics) {
            const QByteArray bytes = magic.toLatin1() + randomBytes(qsizetype(seed) * 97, seed);
            if (const std::optional<ImageSource> source = ImageSource::fromData(bytes)) {
                (void)source->decodeFrames();
                (void)source->frameProperties(0);
            }
            const QString path = dir.filePath(QStringLiteral("noise%1.gif").arg(seed));
            ASSERT_TRUE(writeFileBytes(path, bytes));
            const std::optional<ImageItem> item = ImageItem::fromUrl(QUrl::fromLocalFile(path));
            ASSERT_TRUE(item);
            (void)GIFAnimation::load(QUrl::fromLocalFile(path));
        }
    }
}

TEST(HostileInput, SourcesDecodeOnSeveralThreadsAtOnce)
{
    const QByteArray gif = makeGif({{discImage(32, 32, Qt::red), {}, 10},
        {discImage(16, 16, Qt::blue), {8, 8}, 10, 2}, {discImage(32, 32, Qt::green), {}, 10, 3}});
    const std::optional<ImageSource> shared = ImageSource::fromData(gif);
    ASSERT_TRUE(shared);
    const std::vector<DecodedFrame> expected = *shared->decodeFrames();
    QList<int> runs(32);
    const QList<bool> same = QtConcurrent::blockingMapped(runs, [&](int) {
        const auto frames = shared->decodeFrames();
        const auto strip = Filmstrip::fromData(gif);
        if (!frames || !strip || frames->size() != expected.size())
            return false;
        for (size_t i = 0; i < frames->size(); ++i)
            if ((*frames)[i].image != expected[i].image || strip->frames[i] != expected[i].image)
                return false;
        return true;
    });
    for (const bool ok : same)
        EXPECT_TRUE(ok);
}
