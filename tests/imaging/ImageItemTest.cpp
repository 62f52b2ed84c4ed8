#include "imaging/read/ImageItem.h"
#include "ApngBuilder.h"
#include "DamagedFiles.h"
#include "GifBuilder.h"
#include "PeerTools.h"
#include "SyntheticImages.h"
#include "imaging/read/Filmstrip.h"
#include "imaging/read/GIFAnimation.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;

namespace {

class ImageItemFolder : public testing::Test {
protected:
    QUrl write(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        EXPECT_TRUE(writeFileBytes(path, bytes));
        return QUrl::fromLocalFile(path);
    }
    QString path(const QString& name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
};

QImage jpegImage(int w, int h)
{
    return gradientImage(w, h, Qt::darkBlue, Qt::yellow);
}

QByteArray encodeJpeg(const QImage& image)
{
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("a.png"));
    const QString jpg = dir.filePath(QStringLiteral("a.jpg"));
    image.save(png);
    EXPECT_TRUE(
        runPeer(QStringLiteral("convert"), {png, QStringLiteral("-quality"), QStringLiteral("95"), jpg}));
    return readFileBytes(jpg);
}

} // namespace

TEST_F(ImageItemFolder, DescribesAFileFromItsContentAndNamesTheTypeFromItsExtension)
{
    const QByteArray png = encodePng(discImage(40, 30, Qt::red));
    const std::optional<ImageItem> item = ImageItem::fromUrl(write(QStringLiteral("Logo.PNG"), png));
    ASSERT_TRUE(item);
    EXPECT_EQ(item->filename, QStringLiteral("Logo.PNG"));
    EXPECT_EQ(item->type, QStringLiteral("PNG"));
    EXPECT_EQ(item->byteSize, png.size());
    EXPECT_EQ(item->pixelSize, QSizeF(40, 30));
    EXPECT_EQ(item->gifTiming, GIFTiming::still());

    const auto jpeg = ImageItem::fromUrl(write(QStringLiteral("photo.jpeg"), encodeJpeg(jpegImage(33, 17))));
    ASSERT_TRUE(jpeg);
    EXPECT_EQ(jpeg->type, QStringLiteral("JPEG"));
    EXPECT_EQ(jpeg->pixelSize, QSizeF(33, 17));
}

TEST_F(ImageItemFolder, OnlyGifNamesGetTimingWhateverTheContent)
{
    const QByteArray gif = makeAnimatedGif(3, {8, 6}, 7);
    const auto named = ImageItem::fromUrl(write(QStringLiteral("a.gif"), gif));
    ASSERT_TRUE(named);
    EXPECT_EQ(named->gifTiming, GIFTiming::makeAnimated(70, true));
    EXPECT_EQ(named->pixelSize, QSizeF(8, 6));

    const auto misnamed = ImageItem::fromUrl(write(QStringLiteral("b.png"), gif));
    ASSERT_TRUE(misnamed);
    EXPECT_EQ(misnamed->pixelSize, QSizeF(8, 6));
    EXPECT_EQ(misnamed->gifTiming, GIFTiming::still());

    const QByteArray apng
        = makeApng({{solidImage(4, 4, Qt::red), {}, 3, 100}, {solidImage(4, 4, Qt::blue), {}, 3, 100}});
    const auto apngNamedGif = ImageItem::fromUrl(write(QStringLiteral("c.gif"), apng));
    ASSERT_TRUE(apngNamedGif);
    EXPECT_EQ(apngNamedGif->gifTiming, GIFTiming::makeAnimated(30, true));
}

TEST_F(ImageItemFolder, LargeFilesAreDescribedFromTheirHeaders)
{
    // Big enough that the head read alone does not hold the whole file.
    const QImage noise = [] {
        QImage image(700, 500, QImage::Format_ARGB32);
        quint32 state = 7;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                state = state * 1664525u + 1013904223u;
                image.setPixel(x, y, state | 0xFF000000u);
            }
        return image;
    }();
    const QByteArray png = encodePng(noise);
    ASSERT_GT(png.size(), 200 * 1024);
    EXPECT_EQ(ImageItem::fromUrl(write(QStringLiteral("big.png"), png))->pixelSize, QSizeF(700, 500));
    EXPECT_EQ(
        ImageItem::fromUrl(write(QStringLiteral("big.jpg"), encodeJpeg(noise)))->pixelSize, QSizeF(700, 500));

    std::vector<GifFrame> frames;
    for (int i = 0; i < 30; ++i)
        frames.push_back({noise.copy(i, i, 200, 150), {}, i < 20 ? 4 : 9});
    const QByteArray gif = makeGif(frames);
    ASSERT_GT(gif.size(), 64 * 1024);
    EXPECT_EQ(ImageItem::fromUrl(write(QStringLiteral("big.gif"), gif))->gifTiming,
        GIFTiming::makeAnimated(40, true));
}

TEST_F(ImageItemFolder, UnreadableContentStillGivesAnItemButOtherThingsDoNot)
{
    const auto text = ImageItem::fromUrl(write(QStringLiteral("a.png"), "just some text\n"));
    ASSERT_TRUE(text);
    EXPECT_EQ(text->pixelSize, std::nullopt);
    EXPECT_EQ(text->gifTiming, GIFTiming::still());

    const auto empty = ImageItem::fromUrl(write(QStringLiteral("empty.gif"), {}));
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->byteSize, 0);
    EXPECT_EQ(empty->gifTiming, GIFTiming::still());

    EXPECT_FALSE(ImageItem::fromUrl(write(QStringLiteral("notes.txt"), "text")));
    EXPECT_FALSE(
        ImageItem::fromUrl(write(QStringLiteral("noextension"), encodePng(solidImage(2, 2, Qt::red)))));
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("set.gif")));
    EXPECT_FALSE(ImageItem::fromUrl(QUrl::fromLocalFile(path(QStringLiteral("set.gif")))));
    EXPECT_FALSE(ImageItem::fromUrl(QUrl::fromLocalFile(path(QStringLiteral("missing.png")))));
    EXPECT_FALSE(ImageItem::fromUrl(QUrl(QStringLiteral("https://example.org/a.png"))));
}

TEST_F(ImageItemFolder, ReadingManyFilesAtOnceAnswersAsReadingThemOneByOne)
{
    // Enough files for several chunks on the pool, damaged ones and non-images among them.
    QList<QUrl> urls;
    for (int i = 0; i < 160; ++i) {
        const QString stem = QStringLiteral("f%1").arg(i, 3, 10, QLatin1Char('0'));
        const QByteArray gif = makeAnimatedGif(2 + i % 5, QSize(8 + i % 7, 9), i % 3 == 0 ? 0 : 4 + i % 4);
        switch (i % 8) {
        case 0:
            urls << write(stem + QStringLiteral(".gif"), gif);
            break;
        case 1:
            urls << write(stem + QStringLiteral(".gif"), truncated(gif, gif.size() / 2));
            break;
        case 2:
            urls << write(stem + QStringLiteral(".png"), randomBytes(300, quint32(i)));
            break;
        case 3:
            urls << write(stem + QStringLiteral(".txt"), "text");
            break;
        case 4:
            ASSERT_TRUE(QDir(m_dir.path()).mkdir(stem + QStringLiteral(".png")));
            urls << QUrl::fromLocalFile(path(stem + QStringLiteral(".png")));
            break;
        case 5:
            urls << QUrl::fromLocalFile(path(stem + QStringLiteral("-missing.png")));
            break;
        default:
            urls << write(stem + QStringLiteral(".PNG"), encodePng(discImage(10 + i, 5 + i % 11, Qt::red)));
        }
    }
    urls << urls.front() << urls.back(); // the same file twice is read twice

    std::vector<std::optional<ImageItem>> oneByOne;
    for (const QUrl& url : urls)
        oneByOne.push_back(ImageItem::fromUrl(url));
    EXPECT_EQ(ImageItem::fromUrls(urls), oneByOne);
    EXPECT_EQ(std::count(oneByOne.begin(), oneByOne.end(), std::nullopt), 3 * 20);
    EXPECT_EQ(ImageItem::fromUrls(urls.first(3)), std::vector(oneByOne.begin(), oneByOne.begin() + 3));
    EXPECT_TRUE(ImageItem::fromUrls({}).empty());
}

TEST_F(ImageItemFolder, AnimationPlaysZeroDelaysBrieflyAndMissingOnesAtATenth)
{
    const QByteArray gif = makeGif({{solidImage(4, 4, Qt::red), {}, 0},
        {solidImage(4, 4, Qt::green), {}, std::nullopt}, {solidImage(4, 4, Qt::blue), {}, 50}});
    const std::optional<GIFAnimation> animation = GIFAnimation::load(write(QStringLiteral("a.gif"), gif));
    ASSERT_TRUE(animation);
    EXPECT_EQ(animation->durations, (std::vector<double>{0.02, 0.1, 0.5}));
    EXPECT_DOUBLE_EQ(animation->totalDuration, 0.62);
    ASSERT_EQ(animation->frames.size(), 3u);

    // The clock wraps at the total: 0.62 s after the reference date is the start again.
    EXPECT_EQ(&animation->frameAtSecondsSinceReferenceDate(0.01), &animation->frames[0]);
    EXPECT_EQ(&animation->frameAtSecondsSinceReferenceDate(0.05), &animation->frames[1]);
    EXPECT_EQ(&animation->frameAtSecondsSinceReferenceDate(0.3), &animation->frames[2]);
    EXPECT_EQ(&animation->frameAtSecondsSinceReferenceDate(62.01), &animation->frames[0]);
    EXPECT_EQ(
        &animation->frameAtSecondsSinceReferenceDate(-0.05), &animation->frames[0]); // fmod keeps the sign
    const QDateTime reference(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC);
    EXPECT_EQ(&animation->frame(reference.addMSecs(300)), &animation->frames[2]);

    EXPECT_FALSE(GIFAnimation::load(write(QStringLiteral("b.gif"), "GIF89a")));
    EXPECT_FALSE(
        GIFAnimation::load(write(QStringLiteral("c.gif"), corruptGifFrame(makeAnimatedGif(1, {3, 3}), 0))));
}

TEST_F(ImageItemFolder, AGif87aReadsLikeAnyGifWithFramesThatStateNoDelay)
{
    const std::vector<QImage> frames{
        solidImage(12, 7, Qt::red), solidImage(12, 7, Qt::blue), solidImage(12, 7, Qt::green)};
    const QByteArray gif = makeGif87a(frames);
    ASSERT_TRUE(gif.startsWith("GIF87a"));

    const std::optional<Filmstrip> strip = Filmstrip::fromData(gif);
    ASSERT_TRUE(strip);
    ASSERT_EQ(strip->frames.size(), 3u);
    EXPECT_EQ(strip->delays, (std::vector<qint64>{100, 100, 100}));
    EXPECT_EQ(strip->loopCount, 0);
    EXPECT_EQ(strip->frames[2].size(), QSize(12, 7));
    EXPECT_EQ(pixelAt(strip->frames[1], 11, 6), QColor(Qt::blue));

    const std::optional<ImageItem> item = ImageItem::fromUrl(write(QStringLiteral("party.gif"), gif));
    ASSERT_TRUE(item);
    EXPECT_EQ(item->type, QStringLiteral("GIF"));
    EXPECT_EQ(item->pixelSize, QSizeF(12, 7));
    EXPECT_EQ(item->gifTiming.label(), QStringLiteral("! 0 ms")) << "a missing delay counts as 0";
    const std::optional<GIFAnimation> animation = GIFAnimation::load(item->url);
    ASSERT_TRUE(animation);
    ASSERT_EQ(animation->frames.size(), 3u);
    EXPECT_EQ(animation->durations, (std::vector<double>{0.1, 0.1, 0.1}));
    EXPECT_EQ(animation->frames[2].pixelColor(0, 0), QColor(Qt::green));

    const std::optional<ImageItem> still
        = ImageItem::fromUrl(write(QStringLiteral("still.gif"), makeGif87a({frames[1]})));
    ASSERT_TRUE(still);
    EXPECT_EQ(still->pixelSize, QSizeF(12, 7));
    EXPECT_EQ(still->gifTiming, GIFTiming::still());
}

TEST(GIFAnimationClock, TwoFramesTakeTurnsAndATotalOfZeroAlwaysShowsTheFirstFrame)
{
    GIFAnimation animation;
    animation.frames = {solidImage(1, 1, Qt::red), solidImage(1, 1, Qt::blue)};
    animation.durations = {0.1, 0.2};
    animation.totalDuration = 0.3;
    EXPECT_EQ(&animation.frameAtSecondsSinceReferenceDate(0.05), &animation.frames[0]);
    EXPECT_EQ(&animation.frameAtSecondsSinceReferenceDate(0.15), &animation.frames[1]);
    EXPECT_EQ(&animation.frameAtSecondsSinceReferenceDate(30.35), &animation.frames[0]);

    animation.durations = {0, 0};
    animation.totalDuration = 0;
    EXPECT_EQ(&animation.frameAtSecondsSinceReferenceDate(12345.6), &animation.frames[0]);
    EXPECT_TRUE(GIFAnimation().frameAtSecondsSinceReferenceDate(1).isNull());
}
