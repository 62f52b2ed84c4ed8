#include "ApngBuilder.h"
#include "ApngStructure.h"
#include "DamagedFiles.h"
#include "PeerTools.h"
#include "SyntheticImages.h"
#include "imaging/read/Filmstrip.h"
#include "imaging/read/FrameDelay.h"
#include "imaging/read/GIFTiming.h"
#include "imaging/read/ImageSource.h"

#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;

namespace {

QImage straight(int w, int h, QRgb color)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(color);
    return image;
}

std::vector<std::optional<QImage>> allFrames(const ImageSource& source)
{
    std::vector<std::optional<QImage>> frames(size_t(source.frameCount()));
    const auto decoded = source.decodeFrames();
    if (decoded)
        for (const DecodedFrame& frame : *decoded)
            frames[size_t(frame.index)] = frame.image;
    return frames;
}

} // namespace

TEST(AnimatedPng, DisposeAndBlendOperationsComposeLikeTheFormatSays)
{
    const QByteArray apng = makeApng({
        {straight(10, 10, qRgb(255, 0, 0)), {0, 0}, 1, 10, 0, 0},
        {straight(3, 3, qRgba(0, 0, 255, 128)), {2, 2}, 1, 10, 1, 1}, // over, then cleared
        {straight(2, 2, qRgb(0, 255, 0)), {6, 6}, 1, 10, 2, 0}, // source, then put back
        {straight(1, 1, qRgb(255, 255, 255)), {0, 0}, 1, 10, 0, 0},
    });
    const std::optional<ImageSource> source = ImageSource::fromData(apng);
    ASSERT_TRUE(source);
    const auto frames = allFrames(*source);
    ASSERT_EQ(frames.size(), 4u);
    for (const auto& frame : frames)
        ASSERT_TRUE(frame && frame->size() == QSize(10, 10));

    const uchar* blended = (*frames[1]).constScanLine(3) + 3 * 4; // premultiplied
    EXPECT_NEAR(blended[0], 127, 1);
    EXPECT_EQ(blended[1], 0);
    EXPECT_NEAR(blended[2], 128, 1);
    EXPECT_EQ(blended[3], 255);
    EXPECT_EQ(pixelAt(*frames[1], 5, 5), QColor(Qt::red));

    EXPECT_EQ(pixelAt(*frames[2], 3, 3).alpha(), 0); // background disposal cleared the blended patch
    EXPECT_EQ(pixelAt(*frames[2], 6, 6), QColor(Qt::green));
    EXPECT_EQ(pixelAt(*frames[3], 6, 6), QColor(Qt::red)); // "previous" put back what was under it
    EXPECT_EQ(pixelAt(*frames[3], 0, 0), QColor(Qt::white));
    EXPECT_EQ(pixelAt(*frames[3], 3, 3).alpha(), 0);
}

TEST(ApngStructure, AcceptsAnyValidCutOfFramesAndNamesTheFirstBrokenRule)
{
    const QByteArray patches = makeApng({
        {straight(10, 10, qRgb(255, 0, 0)), {0, 0}, 1, 10, 0, 0},
        {straight(3, 3, qRgba(0, 0, 255, 128)), {2, 2}, 1, 10, 1, 1},
        {straight(2, 2, qRgb(0, 255, 0)), {8, 8}, 1, 10, 2, 0},
    });
    EXPECT_TRUE(isWellFormedApng(patches, 3, 0));
    const QByteArray hidden
        = makeApng({{straight(4, 4, qRgb(0, 0, 0)), {}, 5, 0}, {straight(4, 4, qRgb(9, 9, 9)), {}, 5, 0}},
            {QSize(4, 4), 2, straight(4, 4, qRgb(1, 2, 3))});
    EXPECT_TRUE(isWellFormedApng(hidden, 2, 2));
    EXPECT_FALSE(isWellFormedApng(hidden, 2, 0));
    EXPECT_FALSE(isWellFormedApng(hidden, 3, 2));

    const auto brokenBecause = [](const QByteArray& png, const char* rule) {
        const testing::AssertionResult checked = isWellFormedApng(png, 3, 0);
        EXPECT_FALSE(checked);
        EXPECT_NE(std::string(checked.message()).find(rule), std::string::npos) << checked.message();
    };
    // The second fdAT repeats the number of the fcTL before it.
    QByteArray repeated = patches;
    const qsizetype secondData = repeated.indexOf("fdAT", repeated.indexOf("fdAT") + 4);
    qToBigEndian<quint32>(3, repeated.data() + secondData + 4);
    brokenBecause(withFixedPngCrcs(repeated), "sequence number 3 where 4 was due");

    QByteArray damaged = patches;
    damaged[damaged.indexOf("IDAT") + 10] = char(damaged[damaged.indexOf("IDAT") + 10] ^ 1);
    brokenBecause(damaged, "wrong CRC");

    QByteArray overstated = patches;
    qToBigEndian<quint32>(4, overstated.data() + overstated.indexOf("acTL") + 4);
    brokenBecause(withFixedPngCrcs(overstated), "acTL states 4 frames, the file has 3");

    const QByteArray outside = makeApng({{straight(10, 10, qRgb(255, 0, 0)), {}, 1, 10},
        {straight(3, 3, qRgb(0, 0, 255)), {8, 0}, 1, 10}, {straight(3, 3, qRgb(0, 0, 255)), {}, 1, 10}});
    brokenBecause(outside, "outside the canvas");
}

TEST(AnimatedPng, DelaysFollowTheirFractionAndAHiddenDefaultImageIsNoFrame)
{
    const QByteArray apng
        = makeApng({{straight(4, 4, qRgb(0, 0, 0)), {}, 5, 0}, {straight(4, 4, qRgb(9, 9, 9)), {}, 33, 1000},
                       {straight(4, 4, qRgb(99, 9, 9)), {}, 0, 100}},
            {QSize(4, 4), 4, straight(4, 4, qRgb(1, 2, 3))});
    const std::optional<ImageSource> source = ImageSource::fromData(apng);
    ASSERT_TRUE(source);
    ASSERT_EQ(source->frameCount(), 3);
    EXPECT_EQ(frameDelay(*source, 0), 0.05); // a denominator of 0 means hundredths
    EXPECT_EQ(frameDelay(*source, 1), 0.033);
    EXPECT_EQ(frameDelay(*source, 2), 0.0);
    EXPECT_EQ(source->fileLoopCount(), 4);
    EXPECT_EQ(GIFTiming::read(*source), GIFTiming::makeAnimated(0, true));
    const std::optional<Filmstrip> strip = Filmstrip::fromData(apng);
    ASSERT_TRUE(strip);
    EXPECT_EQ(strip->delays, (std::vector<qint64>{50, 30, 0}));
    ASSERT_EQ(strip->frames.size(), 3u);
    EXPECT_EQ(pixelAt(strip->frames[0], 0, 0), QColor(0, 0, 0));
    EXPECT_EQ(strip->loopCount, 0);
}

TEST(AnimatedPng, AFrameReachingBeyondTheCanvasIsRefusedAndTheOthersStillDecode)
{
    // A tall canvas: the last frame sits below the canvas's width, yet inside it.
    const QByteArray apng = makeApng({{straight(8, 14, qRgb(255, 0, 0)), {}},
        {straight(6, 6, qRgb(0, 0, 255)), {5, 5}}, {straight(2, 2, qRgb(0, 255, 0)), {0, 11}}});
    const std::optional<ImageSource> source = ImageSource::fromData(apng);
    ASSERT_TRUE(source);
    const auto frames = allFrames(*source);
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_TRUE(frames[0]);
    EXPECT_FALSE(frames[1]);
    ASSERT_TRUE(frames[2]);
    EXPECT_EQ(pixelAt(*frames[2], 7, 13), QColor(Qt::red));
    EXPECT_EQ(pixelAt(*frames[2], 1, 12), QColor(Qt::green));
    EXPECT_EQ(Filmstrip::fromData(apng)->frames.size(), 2u);
}

TEST(AnimatedPng, DamagedAndAbsurdFilesGiveNoImageAndNeverCrash)
{
    const QByteArray apng
        = makeApng({{discImage(16, 16, Qt::red), {}}, {discImage(8, 8, Qt::blue), {4, 4}, 1, 10, 1, 1}});
    for (qsizetype keep = 0; keep <= apng.size(); ++keep) {
        if (const auto source = ImageSource::fromData(truncated(apng, keep))) {
            (void)source->decodeFrames();
            (void)GIFTiming::read(*source);
        }
    }

    // A canvas of 60000 × 60000 is described from its header but never decoded.
    QByteArray huge = apng;
    qToBigEndian<quint32>(60000, huge.data() + 16);
    qToBigEndian<quint32>(60000, huge.data() + 20);
    huge = withFixedPngCrcs(huge);
    const std::optional<ImageSource> source = ImageSource::fromData(huge);
    ASSERT_TRUE(source);
    EXPECT_EQ(source->frameProperties(0).pixelSize, QSize(60000, 60000));
    EXPECT_FALSE(source->decodeFrame(0));
    EXPECT_FALSE(Filmstrip::fromData(huge));

    // Frame controls that claim enormous or zero-sized frames.
    for (const quint32 side : {0u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        QByteArray absurd = apng;
        const qsizetype control
            = absurd.indexOf("fcTL", absurd.indexOf("fcTL") + 4); // the second frame's control
        ASSERT_GT(control, 0);
        qToBigEndian<quint32>(side, absurd.data() + control + 8);
        absurd = withFixedPngCrcs(absurd);
        const auto damaged = ImageSource::fromData(absurd);
        ASSERT_TRUE(damaged);
        EXPECT_FALSE(damaged->decodeFrame(1));
        EXPECT_TRUE(damaged->decodeFrame(0));
    }

    for (quint32 seed = 1; seed < 30; ++seed) {
        const QByteArray noise = apng.left(41) + randomBytes(400, seed);
        if (const auto noisy = ImageSource::fromData(noise))
            (void)noisy->decodeFrames();
    }
}

TEST(HostileWebP, AbsurdCanvasesTruncationAndStrayFramesGiveNoImage)
{
    QTemporaryDir dir;
    const QString a = dir.filePath(QStringLiteral("a.png"));
    const QString b = dir.filePath(QStringLiteral("b.png"));
    discImage(16, 16, Qt::red).save(a);
    discImage(16, 16, Qt::blue, Qt::yellow).save(b);
    const QString out = dir.filePath(QStringLiteral("a.webp"));
    ASSERT_TRUE(
        runPeer(QStringLiteral("img2webp"), {a, QStringLiteral("-lossy"), b, QStringLiteral("-o"), out}));
    const QByteArray webp = readFileBytes(out);
    ASSERT_TRUE(webp.startsWith("RIFF") && webp.mid(12, 4) == "VP8X");

    QByteArray huge = webp;
    for (int i = 24; i < 30; ++i)
        huge[i] = char(0xFF); // a canvas of 16777216 × 16777216
    if (const auto source = ImageSource::fromData(huge)) {
        EXPECT_FALSE(source->decodeFrame(0));
        EXPECT_FALSE(Filmstrip::fromData(huge));
    }

    // Move the second frame far off the canvas.
    QByteArray stray = webp;
    const qsizetype second = stray.indexOf("ANMF", stray.indexOf("ANMF") + 4);
    ASSERT_GT(second, 0);
    stray[second + 8] = char(0x40);
    if (const auto source = ImageSource::fromData(stray)) {
        EXPECT_FALSE(source->frameCount() > 1 && source->decodeFrame(1));
        (void)source->decodeFrames();
    }

    for (qsizetype keep = 0; keep <= webp.size(); ++keep)
        if (const auto source = ImageSource::fromData(truncated(webp, keep)))
            (void)source->decodeFrames();
    for (quint32 seed = 1; seed < 30; ++seed)
        if (const auto source = ImageSource::fromData(webp.left(30) + randomBytes(300, seed)))
            (void)source->decodeFrames();
}
