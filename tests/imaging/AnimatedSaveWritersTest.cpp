#include "ApngStructure.h"
#include "TranslucentImages.h"
#include "WriterPeers.h"
#include "imaging/model/Bitmap.h"
#include "imaging/read/ImageSource.h"
#include "imaging/write/APNGWriter.h"
#include "imaging/write/AnimatedWebPWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QtEndian>
#include <gtest/gtest.h>
#include <webp/demux.h>

using namespace plenoria;
using namespace plenoria::test;

namespace {

// The frame durations and loop count webpmux reports for an animated WebP.
struct MuxInfo {
    std::vector<qint64> durations;
    qint64 loopCount = -1;
    QString firstFrameKind;
};

std::optional<MuxInfo> webpmuxInfo(const QByteArray& bytes)
{
    const auto output = peerOutput(QStringLiteral("webpmux"),
        {QStringLiteral("-info"), writeTemporaryFile(bytes, QStringLiteral("anim.webp"))});
    if (!output)
        return std::nullopt;
    MuxInfo info;
    // Frame rows read: "No.: width height alpha x_offset y_offset duration dispose blend image_size
    // compression".
    static const QRegularExpression frameRow(
        QStringLiteral("^\\s*\\d+:\\s+\\d+\\s+\\d+\\s+\\w+\\s+\\d+\\s+\\d+\\s+(\\d+)"
                       "\\s+\\w+\\s+\\w+\\s+\\d+\\s+(\\w+)"));
    static const QRegularExpression loopCount(QStringLiteral("Loop Count\\s*:\\s*(\\d+)"));
    for (const QString& line : QString::fromLatin1(*output).split(QLatin1Char('\n'))) {
        if (const auto loop = loopCount.match(line); loop.hasMatch())
            info.loopCount = loop.captured(1).toLongLong();
        const auto match = frameRow.match(line);
        if (match.hasMatch()) {
            info.durations.push_back(match.captured(1).toLongLong());
            if (info.firstFrameKind.isEmpty())
                info.firstFrameKind = match.captured(2);
        }
    }
    return info;
}

// Every frame of an animated WebP composited on its canvas by libwebp's own animation decoder,
// which is the reference for blending and disposal.
std::vector<QImage> webpFramesFromDecoder(const QByteArray& bytes)
{
    std::vector<QImage> frames;
    WebPAnimDecoderOptions options;
    if (!WebPAnimDecoderOptionsInit(&options))
        return frames;
    // Straight RGBA, premultiplied by Qt: libwebp's own premultiplication rounds differently.
    options.color_mode = MODE_RGBA;
    const WebPData data{reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())};
    WebPAnimDecoder* decoder = WebPAnimDecoderNew(&data, &options);
    WebPAnimInfo info;
    if (!decoder || !WebPAnimDecoderGetInfo(decoder, &info)) {
        WebPAnimDecoderDelete(decoder);
        return frames;
    }
    while (WebPAnimDecoderHasMoreFrames(decoder)) {
        uint8_t* pixels = nullptr;
        int timestamp = 0;
        if (!WebPAnimDecoderGetNext(decoder, &pixels, &timestamp))
            break;
        const QImage view(pixels, int(info.canvas_width), int(info.canvas_height), int(4 * info.canvas_width),
            QImage::Format_RGBA8888);
        frames.push_back(view.convertToFormat(pixelFormat));
    }
    WebPAnimDecoderDelete(decoder);
    return frames;
}

int largestDifference(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return 256;
    int largest = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int i = 0; i < 4 * a.width(); ++i)
            largest = std::max(largest, std::abs(int(a.constScanLine(y)[i]) - int(b.constScanLine(y)[i])));
    return largest;
}

} // namespace

TEST(APNGWriter, EveryFrameAndDelaySurviveAsApngdisSeesThem)
{
    const Filmstrip strip = translucentStrip(17, 9, {100, 250, 0, 1234});
    const auto bytes = encodeAPNG(strip, 3);
    ASSERT_TRUE(bytes);
    const auto seen = disassembleAPNG(*bytes);
    ASSERT_TRUE(seen);
    ASSERT_EQ(seen->frames.size(), 4u);
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(largestDifference(seen->frames[i], strip.frames[i]), 0) << "frame " << i;
    EXPECT_EQ(seen->delays, (std::vector<QString>{"delay=1/10", "delay=1/4", "delay=0/1", "delay=617/500"}));

    const auto check = peerOutput(QStringLiteral("pngcheck"),
        {QStringLiteral("-v"), writeTemporaryFile(*bytes, QStringLiteral("check.png"))});
    ASSERT_TRUE(check) << "pngcheck finds a damaged chunk";
    EXPECT_TRUE(isWellFormedApng(*bytes, 4, 3));
}

TEST(APNGWriter, OpaqueStripsAreWrittenWithoutAlphaAndPlayForEver)
{
    // Few colours make a palette, many an RGB image; neither stores an alpha channel.
    Filmstrip few = translucentStrip(8, 8, {40, 40});
    for (QImage& frame : few.frames)
        frame = frame.convertToFormat(QImage::Format_RGB32);
    Filmstrip many = few;
    for (QImage& frame : many.frames)
        frame = frame.scaled(64, 64, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    for (const auto& [strip, kind] : {std::pair{few, "8-bit palette"}, std::pair{many, "RGB"}}) {
        const auto bytes = encodeAPNG(strip, 0);
        ASSERT_TRUE(bytes);
        const auto check = peerOutput(QStringLiteral("pngcheck"),
            {QStringLiteral("-v"), writeTemporaryFile(*bytes, QStringLiteral("opaque.png"))});
        ASSERT_TRUE(check);
        EXPECT_TRUE(check->contains(kind)) << check->toStdString();
        EXPECT_FALSE(check->contains("RGB+alpha")) << check->toStdString();
        EXPECT_TRUE(isWellFormedApng(*bytes, 2, 0));
    }
}

TEST(APNGWriter, DelaysAreExactWhereTheFieldsAllowAndCoarserBeyond)
{
    using Fraction = std::pair<quint16, quint16>;
    EXPECT_EQ(APNGWriter::delayFraction(0), Fraction(0, 1));
    EXPECT_EQ(APNGWriter::delayFraction(70), Fraction(7, 100));
    EXPECT_EQ(APNGWriter::delayFraction(65535), Fraction(13107, 200));
    EXPECT_EQ(APNGWriter::delayFraction(65537), Fraction(3277, 50))
        << "nearest hundredth beyond 16 bits of ms";
    EXPECT_EQ(APNGWriter::delayFraction(70001), Fraction(70, 1));
    EXPECT_EQ(APNGWriter::delayFraction(65535000), Fraction(65535, 1));
    EXPECT_FALSE(APNGWriter::delayFraction(65536000));
    EXPECT_FALSE(APNGWriter::delayFraction(-10));
}

TEST(APNGWriter, RefusesStripsItCannotWriteFaithfully)
{
    const Filmstrip good = translucentStrip(6, 4, {100, 100});
    const auto written = encodeAPNG(good, 0);
    ASSERT_TRUE(written);
    EXPECT_TRUE(isWellFormedApng(*written, 2, 0));
    EXPECT_FALSE(encodeAPNG(Filmstrip{}, 0));
    EXPECT_FALSE(encodeAPNG(good, -1));
    EXPECT_FALSE(encodeAPNG(good, qint64(1) << 31));

    Filmstrip mismatched = good;
    mismatched.delays.pop_back();
    EXPECT_FALSE(encodeAPNG(mismatched, 0));
    Filmstrip resized = good;
    resized.frames[1] = translucentImage(7, 4);
    EXPECT_FALSE(encodeAPNG(resized, 0));
    Filmstrip negative = good;
    negative.delays[1] = -1;
    EXPECT_FALSE(encodeAPNG(negative, 0));
    Filmstrip nullFrame = good;
    nullFrame.frames[0] = QImage();
    EXPECT_FALSE(encodeAPNG(nullFrame, 0));
}

TEST(AnimatedWebPWriter, LosslessSaveKeepsEveryFramePixelDelayAndLoopCount)
{
    const Filmstrip strip = translucentStrip(17, 9, {100, 250, 70}, 5);
    const auto bytes = encodeAnimatedWebPForSave(strip, true, 5);
    ASSERT_TRUE(bytes);
    const auto info = webpmuxInfo(*bytes);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->durations, (std::vector<qint64>{100, 250, 70}));
    EXPECT_EQ(info->loopCount, 5);
    EXPECT_EQ(info->firstFrameKind, QStringLiteral("lossless"));

    const auto frames = webpFramesFromDecoder(*bytes);
    ASSERT_EQ(frames.size(), 3u);
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(largestDifference(frames[i], strip.frames[i]), 0) << "frame " << i;
}

TEST(AnimatedWebPWriter, LossySaveKeepsFramesDelaysAndLoopingForEver)
{
    const Filmstrip strip = translucentStrip(32, 24, {30, 60, 90});
    const auto bytes = encodeAnimatedWebPForSave(strip, false, 0);
    ASSERT_TRUE(bytes);
    const auto info = webpmuxInfo(*bytes);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->durations, (std::vector<qint64>{30, 60, 90}));
    EXPECT_EQ(info->loopCount, 0);
    EXPECT_EQ(info->firstFrameKind, QStringLiteral("lossy"));
    const auto frames = webpFramesFromDecoder(*bytes);
    ASSERT_EQ(frames.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(frames[i].size(), QSize(32, 24));
        EXPECT_EQ(frames[i].pixelColor(0, 5).alpha(), 0) << "frame " << i;
    }
}

TEST(AnimatedWebPWriter, IdenticalNeighboursMergeWithTheirDelaysSummed)
{
    Filmstrip strip = translucentStrip(10, 10, {100, 100, 100});
    strip.frames[1] = strip.frames[0];
    const auto bytes = encodeAnimatedWebPForSave(strip, true, 0);
    ASSERT_TRUE(bytes);
    const auto info = webpmuxInfo(*bytes);
    ASSERT_TRUE(info);
    qint64 total = 0;
    for (qint64 duration : info->durations)
        total += duration;
    EXPECT_EQ(total, 300) << "merging never changes the running time";
}

TEST(AnimatedWebPWriter, RefusesTimestampsAndLoopCountsOutsideWebPsRange)
{
    const Filmstrip good = translucentStrip(6, 4, {100, 100});
    EXPECT_TRUE(encodeAnimatedWebPForSave(good, true, 65535));
    EXPECT_FALSE(encodeAnimatedWebPForSave(good, true, 65536));
    EXPECT_FALSE(encodeAnimatedWebPForSave(good, true, -1));
    EXPECT_FALSE(encodeAnimatedWebPForSave(Filmstrip{}, true, 0));

    Filmstrip longRunning = good;
    longRunning.delays = {std::numeric_limits<int>::max() - 50, 100};
    EXPECT_FALSE(encodeAnimatedWebPForSave(longRunning, false, 0)) << "the running time leaves 32 bits";
    Filmstrip huge = good;
    huge.delays = {qint64(1) << 40, 10};
    EXPECT_FALSE(encodeAnimatedWebPForSave(huge, false, 0));

    Filmstrip resized = good;
    resized.frames[1] = translucentImage(6, 5);
    EXPECT_FALSE(encodeAnimatedWebPForSave(resized, true, 0));
    Filmstrip negative = good;
    negative.delays[0] = -5;
    EXPECT_FALSE(encodeAnimatedWebPForSave(negative, true, 0));
}

namespace {

// Frames, delays (ms, as the file states them) and loop count as our reader sees an animation.
void expectReadBack(const QByteArray& bytes, const Filmstrip& strip, qint64 loopCount, int tolerance)
{
    const auto source = ImageSource::fromData(bytes);
    ASSERT_TRUE(source);
    ASSERT_EQ(source->frameCount(), qint64(strip.frames.size()));
    EXPECT_EQ(source->fileLoopCount(), loopCount);
    for (qint64 i = 0; i < source->frameCount(); ++i) {
        const FrameProperties properties = source->frameProperties(i);
        const auto& delay = source->type() == ImageType::PNG ? properties.apng : properties.webp;
        ASSERT_TRUE(delay && delay->plain) << "frame " << i;
        EXPECT_NEAR(*delay->plain * 1000, double(strip.delays[size_t(i)]), 1e-6) << "frame " << i;
        const auto frame = source->decodeFrame(i);
        ASSERT_TRUE(frame);
        EXPECT_LE(largestDifference(*frame, strip.frames[size_t(i)]), tolerance) << "frame " << i;
    }
}

} // namespace

TEST(AnimatedSaveReadBack, OurReaderSeesEveryAPNGFrameDelayAndPlayCount)
{
    const Filmstrip strip = translucentStrip(17, 9, {100, 250, 0, 1230});
    const auto bytes = encodeAPNG(strip, 7);
    ASSERT_TRUE(bytes);
    EXPECT_TRUE(isWellFormedApng(*bytes, 4, 7));
    expectReadBack(*bytes, strip, 7, 0);
}

TEST(AnimatedSaveReadBack, OurReaderSeesEveryWebPFrameDelayAndLoopCount)
{
    const Filmstrip strip = translucentStrip(17, 9, {100, 250, 70}, 4);
    const auto lossless = encodeAnimatedWebPForSave(strip, true, 4);
    ASSERT_TRUE(lossless);
    if (!ImageSource::fromData(*lossless))
        GTEST_SKIP() << "our reader does not read WebP yet; webpmux and libwebp's decoder vouch above";
    expectReadBack(*lossless, strip, 4, 0);
    EXPECT_TRUE(ImageSource::fromData(*lossless)->isLossless());
    const auto lossy = encodeAnimatedWebPForSave(strip, false, 4);
    ASSERT_TRUE(lossy);
    EXPECT_FALSE(ImageSource::fromData(*lossy)->isLossless());
}
