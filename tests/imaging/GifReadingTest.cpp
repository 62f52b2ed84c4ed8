#include "GifBuilder.h"
#include "PeerTools.h"
#include "SyntheticImages.h"
#include "imaging/read/Filmstrip.h"
#include "imaging/read/FrameDelay.h"
#include "imaging/read/GIFTiming.h"
#include "imaging/read/ImageSource.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;

namespace {

QImage filled(int w, int h, QColor color)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(color);
    return image;
}

ImageSource sourceOf(const QByteArray& bytes)
{
    std::optional<ImageSource> source = ImageSource::fromData(bytes);
    EXPECT_TRUE(source.has_value());
    return source ? *source : *ImageSource::fromData(makeAnimatedGif(1, {1, 1}));
}

} // namespace

TEST(GifMetadata, DelaysAreReadAsStatedAndMissingOnesStayMissing)
{
    const QByteArray gif = makeGif({{filled(4, 4, Qt::red), {}, 10}, {filled(4, 4, Qt::green), {}, 0},
        {filled(4, 4, Qt::blue), {}, std::nullopt}});
    const ImageSource source = sourceOf(gif);
    EXPECT_EQ(source.type(), ImageType::GIF);
    ASSERT_EQ(source.frameCount(), 3);
    EXPECT_EQ(frameDelay(source, 0), 0.1);
    EXPECT_EQ(frameDelay(source, 1), 0.0);
    EXPECT_EQ(frameDelay(source, 2), std::nullopt);
    EXPECT_EQ(frameDelay(source, 3), std::nullopt);
    EXPECT_EQ(source.frameProperties(2).pixelSize, QSize(4, 4));
    // A missing delay counts as 0 for the summary, so 0 is the most common value.
    EXPECT_EQ(GIFTiming::read(source), GIFTiming::makeAnimated(0, true));

    const std::optional<Filmstrip> strip = Filmstrip::fromData(gif);
    ASSERT_TRUE(strip);
    EXPECT_EQ(strip->delays, (std::vector<qint64>{100, 0, 100}));
    EXPECT_EQ(strip->frames.size(), 3u);
}

TEST(GifMetadata, TimingHealthNeedsOneDelayAboveOneHundredth)
{
    EXPECT_EQ(GIFTiming::read(sourceOf(makeAnimatedGif(2, {2, 2}, std::nullopt))),
        GIFTiming::makeAnimated(0, false));
    EXPECT_EQ(GIFTiming::read(sourceOf(makeAnimatedGif(3, {2, 2}, 1))), GIFTiming::makeAnimated(10, false));
    const QByteArray oneHealthy = makeGif(
        {{filled(2, 2, Qt::red), {}, 1}, {filled(2, 2, Qt::blue), {}, 2}, {filled(2, 2, Qt::red), {}, 1}});
    EXPECT_EQ(GIFTiming::read(sourceOf(oneHealthy)), GIFTiming::makeAnimated(10, true));
    EXPECT_EQ(GIFTiming::read(sourceOf(makeAnimatedGif(1, {2, 2}, 7))), GIFTiming::still());
}

TEST(GifMetadata, LoopCountIsTheStoredValueAndAbsentWithoutTheExtension)
{
    EXPECT_EQ(sourceOf(makeAnimatedGif(2, {2, 2}, 10, 3)).gifLoopCount(), 3);
    EXPECT_EQ(sourceOf(makeAnimatedGif(2, {2, 2}, 10, 0)).gifLoopCount(), 0);
    EXPECT_EQ(sourceOf(makeAnimatedGif(2, {2, 2}, 10, 65535)).gifLoopCount(), 65535);
    EXPECT_EQ(sourceOf(makeAnimatedGif(2, {2, 2}, 10, std::nullopt)).gifLoopCount(), std::nullopt);
    EXPECT_EQ(Filmstrip::fromData(makeAnimatedGif(2, {2, 2}, 10, 3))->loopCount, 3);
    EXPECT_EQ(Filmstrip::fromData(makeAnimatedGif(2, {2, 2}, 10, std::nullopt))->loopCount, 0);
}

TEST(GifDecoding, ACorruptFrameIsSkippedWithItsDelayWhileTheOthersDecode)
{
    const QByteArray gif
        = corruptGifFrame(makeGif({{filled(6, 6, Qt::red), {}, 10}, {filled(6, 6, Qt::green), {}, 30},
                              {filled(6, 6, Qt::blue), {}, 50}}),
            1);
    const ImageSource source = sourceOf(gif);
    EXPECT_EQ(source.frameCount(), 3);
    EXPECT_FALSE(source.decodeFrame(1));
    ASSERT_TRUE(source.decodeFrame(2));
    EXPECT_EQ(pixelAt(*source.decodeFrame(2), 3, 3), QColor(Qt::blue));

    const std::optional<Filmstrip> strip = Filmstrip::fromData(gif);
    ASSERT_TRUE(strip);
    EXPECT_EQ(strip->delays, (std::vector<qint64>{100, 500}));
    ASSERT_EQ(strip->frames.size(), 2u);
    EXPECT_EQ(pixelAt(strip->frames[0], 0, 0), QColor(Qt::red));
    EXPECT_EQ(pixelAt(strip->frames[1], 0, 0), QColor(Qt::blue));
}

TEST(GifDecoding, FramesBeyondTheLogicalScreenAreClippedToIt)
{
    const QByteArray gif = makeGif({{filled(10, 10, Qt::red), {}, 10}, {filled(8, 8, Qt::blue), {6, 6}, 10},
                                       {filled(4, 4, Qt::green), {20, 20}, 10}},
        {QSize(10, 10), 0});
    const ImageSource source = sourceOf(gif);
    ASSERT_EQ(source.frameCount(), 3);
    const std::optional<std::vector<DecodedFrame>> frames = source.decodeFrames();
    ASSERT_TRUE(frames);
    ASSERT_EQ(frames->size(), 3u);
    for (const DecodedFrame& frame : *frames) {
        EXPECT_EQ(frame.image.size(), QSize(10, 10));
        EXPECT_EQ(frame.image.format(), QImage::Format_RGBA8888_Premultiplied);
    }
    EXPECT_EQ(pixelAt((*frames)[1].image, 5, 5), QColor(Qt::red));
    EXPECT_EQ(pixelAt((*frames)[1].image, 9, 9), QColor(Qt::blue));
    EXPECT_EQ((*frames)[2].image, (*frames)[1].image); // wholly outside: nothing drawn
}

TEST(GifDecoding, InterlacedRowsLandWhereTheyBelong)
{
    const QImage gradient = gradientImage(20, 9, Qt::black, Qt::white).transformed(QTransform().rotate(90));
    const QImage striped = gradient.convertToFormat(QImage::Format_ARGB32);
    const QByteArray plain = makeGif({{striped, {}, 10, 0, false}});
    const QByteArray interlaced = makeGif({{striped, {}, 10, 0, true}});
    const auto a = sourceOf(plain).decodeFrame(0);
    const auto b = sourceOf(interlaced).decodeFrame(0);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(*a, *b);
}

// Optimised animations keep only what changed: each disposal method must leave the canvas exactly as
// ImageMagick's -coalesce of the same file does.
TEST(GifDecoding, DisposalMethodsMatchImageMagickCoalesce)
{
    const QImage background = discImage(16, 16, Qt::red, Qt::yellow).convertToFormat(QImage::Format_ARGB32);
    const QImage holed = discImage(6, 6, Qt::transparent, Qt::blue).convertToFormat(QImage::Format_ARGB32);
    for (int disposal = 0; disposal <= 3; ++disposal) {
        SCOPED_TRACE(disposal);
        const QByteArray gif = makeGif({{background, {}, 10, 0},
            {filled(6, 6, Qt::green), {2, 3}, 10, disposal}, {holed, {8, 5}, 10, disposal},
            {filled(3, 3, Qt::magenta), {1, 10}, 10, disposal}, {discImage(5, 5, Qt::cyan), {9, 9}, 10, 0}});
        QTemporaryDir dir;
        const QString input = dir.filePath(QStringLiteral("in.gif"));
        ASSERT_TRUE(writeFileBytes(input, gif));
        ASSERT_TRUE(runPeer(QStringLiteral("convert"),
            {input, QStringLiteral("-coalesce"), dir.filePath(QStringLiteral("out-%d.png"))}));
        const std::optional<std::vector<DecodedFrame>> frames = sourceOf(gif).decodeFrames();
        ASSERT_TRUE(frames);
        ASSERT_EQ(frames->size(), 5u);
        for (size_t i = 0; i < frames->size(); ++i) {
            const QImage expected = QImage(dir.filePath(QStringLiteral("out-%1.png").arg(i)))
                                        .convertToFormat(QImage::Format_ARGB32);
            const QImage actual = (*frames)[i].image.convertToFormat(QImage::Format_ARGB32);
            ASSERT_EQ(expected.size(), actual.size());
            for (int y = 0; y < actual.height(); ++y)
                for (int x = 0; x < actual.width(); ++x) {
                    const QRgb e = expected.pixel(x, y);
                    const QRgb a = actual.pixel(x, y);
                    ASSERT_EQ(qAlpha(e), qAlpha(a)) << "frame " << i << " at " << x << "," << y;
                    if (qAlpha(e) == 255) {
                        ASSERT_EQ(e, a) << "frame " << i << " at " << x << "," << y;
                    }
                }
        }
    }
}
