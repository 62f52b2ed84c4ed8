#include "imaging/write/WebPWriter.h"
#include "EncoderSamples.h"
#include "SyntheticImages.h"
#include "TranslucentImages.h"
#include "imaging/model/Bitmap.h"
#include "imaging/write/AnimatedWebPWriter.h"
#include "imaging/write/WebPFramePicture.h"
#include "imaging/write/WebPLosslessWriter.h"
#include "imaging/write/WriterPixels.h"

#include <QCryptographicHash>
#include <gtest/gtest.h>
#include <webp/decode.h>
#include <webp/mux.h>

#include <cstring>
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

// The frame as tightly packed straight RGBA, the form libwebp's own importers take.
QByteArray straightBytes(const QImage& frame)
{
    QByteArray bytes(4 * frame.width() * frame.height(), Qt::Uninitialized);
    for (int y = 0; y < frame.height(); ++y)
        WriterPixels::straightenRow(frame.constScanLine(y),
            reinterpret_cast<uchar*>(bytes.data()) + 4 * frame.width() * y, frame.width());
    return bytes;
}

// libwebp's animation encoder fed each frame through a picture of its own: what our writers,
// which reuse one picture, must write byte for byte.
QByteArray referenceAnimation(const Filmstrip& strip, const WebPConfig& config, int loopCount)
{
    const QSize size = strip.frames.front().size();
    WebPAnimEncoderOptions options;
    WebPAnimEncoderOptionsInit(&options);
    options.anim_params.loop_count = loopCount;
    WebPAnimEncoder* encoder = WebPAnimEncoderNew(size.width(), size.height(), &options);
    int timestamp = 0;
    for (size_t i = 0; i < strip.frames.size(); ++i) {
        WebPPicture picture;
        WebPPictureInit(&picture);
        picture.width = size.width();
        picture.height = size.height();
        picture.use_argb = 1;
        const QByteArray straight = straightBytes(strip.frames[i]);
        WebPPictureImportRGBA(
            &picture, reinterpret_cast<const uint8_t*>(straight.constData()), 4 * size.width());
        WebPAnimEncoderAdd(encoder, &picture, timestamp, &config);
        WebPPictureFree(&picture);
        timestamp += int(strip.delays[i]);
    }
    WebPAnimEncoderAdd(encoder, nullptr, timestamp, nullptr);
    WebPData data;
    WebPDataInit(&data);
    WebPAnimEncoderAssemble(encoder, &data);
    const QByteArray bytes(reinterpret_cast<const char*>(data.bytes), qsizetype(data.size));
    WebPDataClear(&data);
    WebPAnimEncoderDelete(encoder);
    return bytes;
}

} // namespace

TEST(WebPFramePicture, HoldsEachFrameAsStraightARGBRowByRow)
{
    // Three columns and two rows: a stride or axis mix-up moves a pixel, a channel swap shows in the
    // orange, and the second load must replace every pixel of the first.
    WebPFramePicture picture(QSize(3, 2));
    ASSERT_TRUE(picture.isValid());
    QImage first(3, 2, pixelFormat);
    const uchar raw[]
        = {64, 64, 64, 128, 0, 0, 0, 0, 10, 20, 30, 255, 200, 100, 0, 255, 3, 5, 0, 7, 1, 2, 3, 4};
    for (int y = 0; y < 2; ++y)
        std::memcpy(first.scanLine(y), raw + 12 * y, 12);
    ASSERT_TRUE(picture.load(first));
    // 64 × 255 / 128 = 127.5 → 128; 3 × 255 / 7 = 109.3 → 109; 2 × 255 / 4 = 127.5 → 128.
    const quint32 expected[] = {0x80808080, 0, 0xFF0A141E, 0xFFC86400, 0x076DB600, 0x044080BF};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(picture.argb(i % 3, i / 3), expected[i]) << i;

    QImage second(3, 2, QImage::Format_ARGB32); // another format is brought into the convention first
    second.fill(QColor(1, 2, 3));
    ASSERT_TRUE(picture.load(second));
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(picture.argb(i % 3, i / 3), 0xFF010203u) << i;

    EXPECT_FALSE(picture.load(QImage(2, 3, pixelFormat)));
    EXPECT_FALSE(WebPFramePicture(QSize(0, 4)).isValid());
    EXPECT_FALSE(WebPFramePicture(QSize(WEBP_MAX_DIMENSION + 1, 1)).isValid());
}

TEST(WebPFit, ScalesOversizedFramesOnlyWhenTheFirstFrameIsTooLarge)
{
    const Filmstrip large{
        {solidImage(1500, 1500, Qt::red), solidImage(1500, 1500, Qt::blue), solidImage(300, 20, Qt::green)},
        {40, 50, 60}, 4};
    const Filmstrip fitted = WebPWriter::fitFramesForWebP(large);
    ASSERT_EQ(fitted.frames.size(), 3u);
    EXPECT_EQ(fitted.frames[0].size(), QSize(1024, 1024));
    EXPECT_EQ(fitted.frames[1].size(), QSize(1024, 1024));
    EXPECT_EQ(fitted.frames[2].size(), QSize(300, 20));
    EXPECT_EQ(fitted.delays, large.delays);
    EXPECT_EQ(fitted.loopCount, 4);

    const Filmstrip smallFirst{{solidImage(1024, 10, Qt::red), solidImage(2000, 2000, Qt::red)}, {1, 2}, 0};
    const Filmstrip unscaled = WebPWriter::fitFramesForWebP(smallFirst);
    ASSERT_EQ(unscaled.frames.size(), 2u);
    EXPECT_EQ(unscaled.frames[1].size(), QSize(2000, 2000));
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
    // A delay below zero is shown as none, where saving refuses it.
    EXPECT_EQ(WebPWriter::encodeAnimatedWebP(frames, {100, -30, 300}, 2, 75),
        WebPWriter::encodeAnimatedWebP(frames, {100, 0, 300}, 2, 75));
    EXPECT_FALSE(AnimatedWebPWriter::encode(Filmstrip{frames, {100, -30, 300}, 2}, false, 2));
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

TEST(WebPWriters, AnimationsAreLibwebpsOwnEncodingOfTheStraightFrames)
{
    // Five distinct translucent frames, wider than tall: a stale, shifted or channel-swapped frame, a
    // lost delay or another setting changes the bytes.
    const Filmstrip strip = translucentStrip(23, 13, {40, 70, 0, 110, 90});
    WebPConfig config;
    ASSERT_TRUE(WebPConfigInit(&config));
    config.quality = 75;
    EXPECT_EQ(WebPWriter::encodeAnimatedWebP(strip.frames, strip.delays, 3, 75),
        referenceAnimation(strip, config, 3));

    config.method = AnimatedWebPWriter::method;
    config.quality = AnimatedWebPWriter::lossyQuality;
    EXPECT_EQ(AnimatedWebPWriter::encode(strip, false, 2), referenceAnimation(strip, config, 2));
    config.lossless = 1;
    config.quality = 50;
    EXPECT_EQ(AnimatedWebPWriter::encode(strip, true, 0), referenceAnimation(strip, config, 0));
}

TEST(WebPWriters, SaveAndExportWriteTheSameFilesAsBeforeTheyShareOneEncoder)
{
    // SHA-256 of what each wrote before, with Debian 12's libwebp: a changed setting, frame order,
    // delay or pixel reading changes them. Nine frames with a zero and a repeated delay; an odd,
    // non-square size.
    const Filmstrip emoji = animatedEmojiStrip(9, 40);
    const Filmstrip odd = translucentStrip(37, 21, {40, 0, 90, 90, 10});
    const auto sha256 = [](const std::optional<QByteArray>& bytes) {
        return bytes ? QCryptographicHash::hash(*bytes, QCryptographicHash::Sha256).toHex().toStdString()
                     : std::string("none");
    };
    EXPECT_EQ(sha256(AnimatedWebPWriter::encode(emoji, true, 3)),
        "8e3c0bb2f00ac645f96136f19f37560e48893db0840f1b55e595e381db67a25c");
    EXPECT_EQ(sha256(AnimatedWebPWriter::encode(emoji, false, 0)),
        "46f3a411fee7620fdf77721fa8f8cbaa76ba294c2817a04d617235eb3d0c8b1d");
    EXPECT_EQ(sha256(AnimatedWebPWriter::encode(odd, true, 0)),
        "5368946d0bab534125f754e21166d7a67378061b2e9a3406f7448f50bf776e2b");
    EXPECT_EQ(sha256(AnimatedWebPWriter::encode(odd, false, 65535)),
        "78a5fc2a1543c364ae97b057cc4d40d04e3dd09e4bf5ff3e32c822b6b074dec1");
    EXPECT_EQ(sha256(WebPWriter::encodeAnimatedWebP(emoji.frames, emoji.delays, 0, 75)),
        "31089910b14643ed2b05ccd94b9069537c3c81b98c2e11eaecc068ce66da2d63");
    EXPECT_EQ(sha256(WebPWriter::encodeAnimatedWebP(odd.frames, odd.delays, 2, 30)),
        "612d1ece1d7c3fa4f70aebe5d1cf7e5e30ecee2d2915484232bbc96c2a65a029");
}

TEST(WebPWriters, StillsAreLibwebpsOneCallEncodingOfTheStraightImage)
{
    const QImage image = translucentImage(23, 13, 4);
    const QByteArray straight = straightBytes(image);
    const auto* pixels = reinterpret_cast<const uint8_t*>(straight.constData());
    uint8_t* output = nullptr;
    const size_t lossySize = WebPEncodeRGBA(pixels, 23, 13, 4 * 23, 80, &output);
    EXPECT_EQ(WebPWriter::encodeStillWebP(image, 80),
        QByteArray(reinterpret_cast<const char*>(output), qsizetype(lossySize)));
    WebPFree(output);
    const size_t losslessSize = WebPEncodeLosslessRGBA(pixels, 23, 13, 4 * 23, &output);
    EXPECT_EQ(WebPLosslessWriter::encode(image),
        QByteArray(reinterpret_cast<const char*>(output), qsizetype(losslessSize)));
    WebPFree(output);
}
