#include "ApngBuilder.h"
#include "ApngStructure.h"
#include "EncoderSamples.h"
#include "GifBuilder.h"
#include "PeerTools.h"
#include "SyntheticImages.h"
#include "TranslucentImages.h"
#include "imaging/read/ImageSource.h"
#include "imaging/render/Renderer.h"
#include "imaging/write/APNGWriter.h"
#include "imaging/write/AnimatedWebPWriter.h"
#include "imaging/write/ImageWriter.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <set>

using namespace plenoria;
using namespace plenoria::test;

namespace {

TreatmentEntry frames(std::vector<FrameEdit> edits)
{
    return TreatmentEntry(Treatment(FramesSpec{std::move(edits)}));
}

TreatmentEntry brighter()
{
    ToneSpec tone;
    tone.brightness = 0.3;
    return TreatmentEntry(Treatment(tone));
}

std::vector<qint64> delaysOf(const QByteArray& bytes)
{
    const std::optional<Filmstrip> strip = Filmstrip::fromData(bytes);
    return strip ? strip->delays : std::vector<qint64>{};
}

// Where the delays of a GIF's Graphic Control Extensions are stored.
std::set<qsizetype> gceDelayOffsets(const QByteArray& gif)
{
    std::set<qsizetype> offsets;
    for (qsizetype at = gif.indexOf("\x21\xF9\x04"); at >= 0; at = gif.indexOf("\x21\xF9\x04", at + 1)) {
        offsets.insert(at + 4);
        offsets.insert(at + 5);
    }
    return offsets;
}

// The delays in milliseconds apngdis reads from an animated PNG, one per frame.
std::optional<std::vector<qint64>> apngdisDelays(const QByteArray& apng)
{
    QTemporaryDir dir;
    if (!writeFileBytes(dir.filePath(QStringLiteral("anim.png")), apng)
        || !runPeer(
            QStringLiteral("apngdis"), {dir.filePath(QStringLiteral("anim.png")), QStringLiteral("frame")}))
        return std::nullopt;
    std::vector<qint64> delays;
    static const QRegularExpression delay(QStringLiteral("delay=(\\d+)/(\\d+)"));
    for (const QString& name :
        QDir(dir.path()).entryList({QStringLiteral("frame*.txt")}, QDir::Files, QDir::Name)) {
        const auto match = delay.match(QString::fromLatin1(readFileBytes(dir.filePath(name))));
        if (!match.hasMatch())
            return std::nullopt;
        const qint64 den = match.captured(2).toLongLong();
        delays.push_back(match.captured(1).toLongLong() * 1000 / (den == 0 ? 100 : den));
    }
    return delays;
}

QImage onePixelAt(int x, int y, int alpha)
{
    QImage image = solidImage(20, 20, Qt::transparent);
    image.setPixelColor(x, y, QColor(200, 10, 10, alpha));
    return image;
}

} // namespace

TEST(RenderFilmstrip, AppliesThePlanAndRendersEachSourceFrameOnce)
{
    const QByteArray gif = makeAnimatedGif(3, QSize(8, 8), 10, 2);
    const std::vector<TreatmentEntry> record
        = {brighter(), frames({{2, 100, false}, {0, 40, false}, {2, 70, false}, {2, 30, false}})};
    const std::optional<Filmstrip> strip = Renderer::renderFilmstrip(gif, record);
    ASSERT_TRUE(strip);
    ASSERT_EQ(strip->frames.size(), 4u);
    EXPECT_EQ(strip->delays, (std::vector<qint64>{100, 40, 70, 30}));
    EXPECT_EQ(strip->loopCount, 2);
    // One rendering of frame 2 shared by its three appearances, another for frame 0.
    EXPECT_EQ(strip->frames[0].cacheKey(), strip->frames[2].cacheKey());
    EXPECT_EQ(strip->frames[0].cacheKey(), strip->frames[3].cacheKey());
    EXPECT_NE(strip->frames[0].cacheKey(), strip->frames[1].cacheKey());
    const std::optional<Filmstrip> source = Filmstrip::fromData(gif);
    ASSERT_TRUE(source && !source->frames.empty());
    EXPECT_EQ(strip->frames[1], Renderer::render(source->frames[0], record));

    const std::optional<Filmstrip> untouched = Renderer::renderFilmstrip(gif, {});
    ASSERT_TRUE(untouched);
    EXPECT_EQ(untouched->delays, (std::vector<qint64>{100, 100, 100}));
    EXPECT_EQ(untouched->frames, source->frames);

    EXPECT_FALSE(Renderer::renderFilmstrip(QByteArray("not an image"), record));
}

TEST(RenderForSave, TimingOnlyGifEditChangesNothingButTheDelayBytes)
{
    const QByteArray gif = makeAnimatedGif(3, QSize(10, 6), 10, 0);
    const std::vector<TreatmentEntry> record = {frames({{0, 200, false}, {1, 50, false}, {2, 300, false}})};
    const std::optional<QByteArray> saved = Renderer::renderForSave(gif, record);
    ASSERT_TRUE(saved);
    EXPECT_EQ(Renderer::retimedOriginal(gif, record), saved);
    ASSERT_EQ(saved->size(), gif.size());
    const std::set<qsizetype> delayBytes = gceDelayOffsets(gif);
    for (qsizetype i = 0; i < gif.size(); ++i) {
        if (!delayBytes.contains(i)) {
            ASSERT_EQ(saved->at(i), gif.at(i)) << "byte " << i;
        }
    }
    EXPECT_EQ(delaysOf(*saved), (std::vector<qint64>{200, 50, 300}));
}

TEST(RenderForSave, TimingEditOfAGifWithABrokenFrameKeepsTheFramesThatDecode)
{
    // The bench edits the two frames that decode; patching the file's three delays would misplace them.
    const QByteArray gif = corruptGifFrame(makeAnimatedGif(3, QSize(10, 6), 10, 0), 1);
    const std::optional<Filmstrip> decoded = Filmstrip::fromData(gif);
    ASSERT_EQ(decoded->frames.size(), 2u);
    const std::vector<TreatmentEntry> record = {frames({{0, 300, false}, {1, 70, false}})};
    EXPECT_FALSE(Renderer::retimedOriginal(gif, record));
    const std::optional<QByteArray> saved = Renderer::renderForSave(gif, record);
    ASSERT_TRUE(saved);
    EXPECT_EQ(delaysOf(*saved), (std::vector<qint64>{300, 70}));
    EXPECT_EQ(Filmstrip::fromData(*saved)->frames, decoded->frames);
}

TEST(RenderForSave, SkipsReordersAndPixelTreatmentsReencodeTheGif)
{
    const QByteArray gif = makeAnimatedGif(3, QSize(10, 6), 10, 0);
    const std::vector<std::vector<TreatmentEntry>> records = {
        {frames({{0, 100, false}, {1, 80, true}, {2, 100, false}})},
        {frames({{1, 100, false}, {0, 100, false}, {2, 100, false}})},
        {frames({{0, 200, false}, {1, 200, false}, {2, 200, false}}), brighter()},
    };
    const std::vector<std::vector<qint64>> expected = {{180, 100}, {100, 100, 100}, {200, 200, 200}};
    for (size_t i = 0; i < records.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_FALSE(Renderer::retimedOriginal(gif, records[i]));
        const std::optional<QByteArray> saved = Renderer::renderForSave(gif, records[i]);
        ASSERT_TRUE(saved);
        EXPECT_EQ(detectImageType(*saved), ImageType::GIF);
        EXPECT_NE(*saved, gif);
        EXPECT_EQ(delaysOf(*saved), expected[i]);
    }
    // A reversed pair really shows the frames the other way round.
    const std::optional<QByteArray> saved = Renderer::renderForSave(gif, records[1]);
    ASSERT_TRUE(saved);
    const std::optional<Filmstrip> reversed = Filmstrip::fromData(*saved);
    const std::optional<Filmstrip> source = Filmstrip::fromData(gif);
    ASSERT_TRUE(reversed && source);
    ASSERT_TRUE(reversed->frames.size() == 3 && source->frames.size() == 3);
    EXPECT_EQ(reversed->frames[0].pixelColor(5, 3), source->frames[1].pixelColor(5, 3));
}

TEST(RenderForSave, GifDownToOneFrameIsAStillGif)
{
    const QByteArray gif = makeAnimatedGif(3, QSize(10, 6), 10, 0);
    const std::optional<QByteArray> saved = Renderer::renderForSave(
        gif, std::vector{frames({{0, 100, true}, {1, 100, false}, {2, 100, true}})});
    ASSERT_TRUE(saved);
    const std::optional<InspectedGif> inspected = inspectGif(*saved);
    ASSERT_TRUE(inspected);
    ASSERT_EQ(inspected->frames.size(), 1u);
    EXPECT_FALSE(inspected->loopCount);
    EXPECT_EQ(inspected->frames[0].delayCs, -1);
    EXPECT_EQ(pixelAt(inspected->frames[0].image, 5, 3), pixelAt(Filmstrip::fromData(gif)->frames[1], 5, 3));
}

TEST(RenderForSave, AnimatedPngKeepsEveryFrameDelayAndPlayCount)
{
    std::vector<ApngFrame> source;
    for (int i = 0; i < 3; ++i)
        source.push_back({translucentImage(12, 9, i + 1), {}, i + 1, 10});
    const QByteArray apng = makeApng(source, {QSize(), 3, std::nullopt});
    const std::optional<QByteArray> saved = Renderer::renderForSave(apng, std::vector{brighter()});
    ASSERT_TRUE(saved);
    EXPECT_TRUE(isWellFormedApng(*saved, 3, 3));

    const std::optional<ImageSource> reread = ImageSource::fromData(*saved);
    ASSERT_TRUE(reread);
    EXPECT_EQ(reread->type(), ImageType::PNG);
    EXPECT_EQ(reread->fileLoopCount(), 3);
    EXPECT_EQ(delaysOf(*saved), (std::vector<qint64>{100, 200, 300}));
    const std::optional<Filmstrip> rendered = Renderer::renderFilmstrip(apng, std::vector{brighter()});
    EXPECT_EQ(Filmstrip::fromData(*saved)->frames, rendered->frames);
    EXPECT_EQ(apngdisDelays(*saved), (std::vector<qint64>{100, 200, 300}));

    // A play count past what a PNG may state (2^32 − 1 here) is held to the largest it may.
    const std::optional<QByteArray> held
        = Renderer::renderForSave(makeApng(source, {QSize(), -1, std::nullopt}), std::vector{brighter()});
    ASSERT_TRUE(held);
    EXPECT_EQ(ImageSource::fromData(*held)->fileLoopCount(), 0x7FFFFFFF);
}

TEST(RenderForSave, AnimatedWebPKeepsFramesDelaysLoopCountAndLosslessness)
{
    for (const bool lossless : {true, false}) {
        SCOPED_TRACE(lossless);
        const Filmstrip strip = translucentStrip(16, 12, {100, 50, 250});
        const std::optional<QByteArray> webp = encodeAnimatedWebPForSave(strip, lossless, 4);
        ASSERT_TRUE(webp);
        const std::optional<QByteArray> saved = Renderer::renderForSave(*webp, std::vector{brighter()});
        ASSERT_TRUE(saved);

        const std::optional<ImageSource> reread = ImageSource::fromData(*saved);
        ASSERT_TRUE(reread);
        EXPECT_EQ(reread->type(), ImageType::WebP);
        EXPECT_EQ(reread->frameCount(), 3);
        EXPECT_EQ(reread->fileLoopCount(), 4);
        EXPECT_EQ(reread->isLossless(), lossless);
        EXPECT_EQ(delaysOf(*saved), (std::vector<qint64>{100, 50, 250}));
        const std::optional<WebPMuxInfo> info = webpmuxInfo(*saved);
        ASSERT_TRUE(info);
        EXPECT_TRUE(info->animated);
        EXPECT_EQ(info->loopCount, 4);
        EXPECT_EQ(info->durations, (std::vector<int>{100, 50, 250}));
    }
}

TEST(RenderForSave, AnAnimationThatCannotBeWrittenIsNotSavedAsAStill)
{
    // Seventy thousand seconds is more than an animated PNG frame can state.
    std::vector<ApngFrame> source;
    for (int i = 0; i < 2; ++i)
        source.push_back({translucentImage(12, 9, i + 1), {}, 1, 10});
    const QByteArray apng = makeApng(source);
    EXPECT_FALSE(
        Renderer::renderForSave(apng, std::vector{frames({{0, 70'000'000, false}, {1, 100, false}})}));
}

TEST(RenderForSave, StillsKeepTheirOwnTypeAndUnreadableBytesGiveNothing)
{
    const QImage gradient = gradientImage(24, 16, Qt::red, Qt::blue);
    for (const ImageType type :
        {ImageType::PNG, ImageType::JPEG, ImageType::WebP, ImageType::BMP, ImageType::TIFF}) {
        SCOPED_TRACE(imageTypeName(type).toStdString());
        const std::optional<QByteArray> original = ImageWriter::encode(gradient, type);
        ASSERT_TRUE(original);
        const std::optional<QByteArray> saved = Renderer::renderForSave(*original, std::vector{brighter()});
        ASSERT_TRUE(saved);
        EXPECT_EQ(detectImageType(*saved), type);
        EXPECT_NE(*saved, *original);
    }
    EXPECT_FALSE(Renderer::renderForSave(QByteArray("plain text, no image"), std::vector{brighter()}));
    EXPECT_FALSE(Renderer::renderForSave(QByteArray(), std::vector{brighter()}));
}

TEST(Transparency, SurvivesOnlyTypesThatKeepIt)
{
    const QImage keyedOut = discImage(32, 32, Qt::darkGreen);
    EXPECT_TRUE(Renderer::hasTransparency(keyedOut));
    EXPECT_FALSE(Renderer::keepsTransparency(keyedOut, ImageType::JPEG));
    EXPECT_TRUE(Renderer::keepsTransparency(keyedOut, ImageType::PNG));
    EXPECT_TRUE(Renderer::keepsTransparency(keyedOut, ImageType::GIF));
    EXPECT_TRUE(Renderer::keepsTransparency(keyedOut, ImageType::WebP));

    const QImage opaque = gradientImage(32, 32, Qt::yellow, Qt::black);
    EXPECT_FALSE(Renderer::hasTransparency(opaque));
    for (const ImageType type : {ImageType::JPEG, ImageType::PNG, ImageType::GIF, ImageType::BMP})
        EXPECT_TRUE(Renderer::keepsTransparency(opaque, type));
    // One nearly opaque pixel is transparency too.
    QImage almost = opaque.convertToFormat(QImage::Format_RGBA8888);
    almost.setPixelColor(3, 3, QColor(10, 10, 10, 254));
    EXPECT_TRUE(Renderer::hasTransparency(almost));
}

TEST(ContentBounds, FindsEveryPixelWithAnyAlpha)
{
    EXPECT_FALSE(Renderer::contentBounds(solidImage(20, 20, Qt::transparent)));
    EXPECT_FALSE(Renderer::contentBounds(QImage()));
    EXPECT_EQ(Renderer::contentBounds(onePixelAt(5, 7, 255)), QRect(5, 7, 1, 1));
    EXPECT_EQ(Renderer::contentBounds(onePixelAt(19, 19, 1)), QRect(19, 19, 1, 1));

    QImage two = onePixelAt(12, 2, 255);
    two.setPixelColor(3, 15, QColor(0, 0, 0, 60));
    EXPECT_EQ(Renderer::contentBounds(two), QRect(3, 2, 10, 14));
    EXPECT_EQ(Renderer::contentBounds(solidImage(9, 4, Qt::white)), QRect(0, 0, 9, 4));
}

TEST(PreparedStamp, ShrinksLargePicksToTheLongestEdgeAndKeepsOthers)
{
    const auto sizeOf = [](const std::optional<QByteArray>& png) {
        EXPECT_TRUE(png);
        EXPECT_EQ(detectImageType(png.value_or(QByteArray())), ImageType::PNG);
        const std::optional<ImageSource> source = ImageSource::fromData(png.value_or(QByteArray()));
        return source ? source->decodeFrame(0).value_or(QImage()).size() : QSize();
    };
    EXPECT_EQ(
        sizeOf(Renderer::preparedStamp(
            *ImageWriter::encode(gradientImage(3000, 1500, Qt::red, Qt::green), ImageType::JPEG), 1024)),
        QSize(1024, 512));
    EXPECT_EQ(
        sizeOf(Renderer::preparedStamp(encodePng(discImage(200, 100, Qt::red)), 1024)), QSize(200, 100));

    // An animated pick gives its first frame.
    const QByteArray gif = makeAnimatedGif(3, QSize(30, 20), 10, 0);
    const std::optional<QByteArray> stamp = Renderer::preparedStamp(gif, 1024);
    ASSERT_TRUE(stamp);
    const std::optional<ImageSource> picked = ImageSource::fromData(*stamp);
    ASSERT_TRUE(picked);
    const std::optional<QImage> first = picked->decodeFrame(0);
    const std::optional<Filmstrip> source = Filmstrip::fromData(gif);
    ASSERT_TRUE(first && source && !source->frames.empty());
    EXPECT_EQ(*first, source->frames[0]);

    EXPECT_FALSE(Renderer::preparedStamp(QByteArray("no picture here"), 1024));
}
