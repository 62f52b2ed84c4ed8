#include "WebPWriter.h"
#include "Bitmap.h"
#include "EncoderSamples.h"
#include "SyntheticImages.h"

#include <gtest/gtest.h>
#include <webp/decode.h>

#include <limits>

using namespace plenoria;
using namespace plenoria::test;

namespace {

QSize webpSize(const QByteArray& bytes)
{
    int width = 0, height = 0;
    if (!WebPGetInfo(
            reinterpret_cast<const uint8_t*>(bytes.constData()), std::size_t(bytes.size()), &width, &height))
        return {};
    return {width, height};
}

} // namespace

TEST(WebPStraightPixels, DividesPartialAlphaRoundingHalvesUp)
{
    QImage image(3, 1, pixelFormat);
    const uchar raw[] = {64, 64, 64, 128, 0, 0, 0, 0, 10, 20, 30, 255};
    std::memcpy(image.bits(), raw, sizeof raw);
    const auto straight = WebPWriter::straightRGBA(image);
    ASSERT_TRUE(straight);
    EXPECT_EQ(straight->width, 3);
    EXPECT_EQ(straight->height, 1);
    const QByteArray expected("\x80\x80\x80\x80\0\0\0\0\x0A\x14\x1E\xFF", 12); // 64 × 255 / 128 = 127.5 → 128
    EXPECT_EQ(straight->bytes, expected);
}

TEST(WebPFit, ScalesOversizedFramesOnlyWhenTheFirstFrameIsTooLarge)
{
    const Filmstrip large{
        {solidImage(1500, 1500, Qt::red), solidImage(1500, 1500, Qt::blue), solidImage(300, 20, Qt::green)},
        {40, 50, 60}, 4};
    const Filmstrip fitted = WebPWriter::fitFramesForWebP(large);
    EXPECT_EQ(fitted.frames[0].size(), QSize(1024, 1024));
    EXPECT_EQ(fitted.frames[1].size(), QSize(1024, 1024));
    EXPECT_EQ(fitted.frames[2].size(), QSize(300, 20));
    EXPECT_EQ(fitted.delays, large.delays);
    EXPECT_EQ(fitted.loopCount, 4);

    const Filmstrip smallFirst{{solidImage(1024, 10, Qt::red), solidImage(2000, 2000, Qt::red)}, {1, 2}, 0};
    EXPECT_EQ(WebPWriter::fitFramesForWebP(smallFirst).frames[1].size(), QSize(2000, 2000));
}

TEST(WebPAnimated, CarriesEveryDelayAndTheLoopCountAsWebpmuxReadsThem)
{
    const std::vector<QImage> frames = emojiFrames(3, 40, 32, true);
    const auto bytes = WebPWriter::encodeAnimatedWebP(frames, {100, 200, 300}, 2, 75);
    ASSERT_TRUE(bytes);
    const auto info = webpmuxInfo(*bytes);
    ASSERT_TRUE(info);
    EXPECT_TRUE(info->animated);
    EXPECT_EQ(QSize(info->width, info->height), QSize(40, 32));
    EXPECT_EQ(info->loopCount, 2);
    EXPECT_EQ(info->durations, (std::vector<int>{100, 200, 300}));

    const auto endless = webpmuxInfo(*WebPWriter::encodeAnimatedWebP(frames, {10, 10, 10}, 0, 75));
    EXPECT_EQ(endless->loopCount, 0);
}

TEST(WebPAnimated, FailsCleanlyOutsideWhatLibwebpCanHold)
{
    const std::vector<QImage> frames = emojiFrames(2, 16, 16, false);
    EXPECT_FALSE(WebPWriter::encodeAnimatedWebP({frames[0], solidImage(17, 16, Qt::red)}, {10, 10}, 0, 75));
    constexpr qint64 beyond = qint64(std::numeric_limits<int>::max());
    EXPECT_FALSE(WebPWriter::encodeAnimatedWebP(frames, {beyond, 10}, 0, 75));
    EXPECT_FALSE(WebPWriter::encodeAnimatedWebP(frames, {10}, 0, 75));
    EXPECT_FALSE(WebPWriter::encodeAnimatedWebP(frames, {10, 10}, beyond + 1, 75));
    EXPECT_FALSE(WebPWriter::encodeAnimatedWebP({}, {}, 0, 75));
}

TEST(WebPStill, ScalesDownLargeImagesAndHoldsTheQuality)
{
    const QImage wide = gradientImage(2048, 1024, Qt::red, Qt::blue);
    EXPECT_EQ(webpSize(*WebPWriter::encodeStillWebP(wide, 80)), QSize(1024, 512));
    EXPECT_EQ(webpSize(*WebPWriter::encodeStillWebP(gradientImage(1024, 1024, Qt::red, Qt::blue), 80)),
        QSize(1024, 1024));

    const QImage disc = discImage(64, 64, QColor(200, 30, 90));
    EXPECT_EQ(WebPWriter::encodeStillWebP(disc, 120), WebPWriter::encodeStillWebP(disc, 100));
    EXPECT_EQ(WebPWriter::encodeStillWebP(disc, -5), WebPWriter::encodeStillWebP(disc, 0));
    EXPECT_NE(WebPWriter::encodeStillWebP(disc, 0), WebPWriter::encodeStillWebP(disc, 100));
}
