#include "EncoderSamples.h"
#include "SyntheticImages.h"
#include "imaging/gif/GIFWriter.h"
#include "imaging/read/Filmstrip.h"
#include "imaging/read/ImageSource.h"
#include "imaging/write/ExportFormat.h"
#include "imaging/write/WebPWriter.h"

#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;

// What our own reader makes of what our writers write: the same frames, delays and loop count.

TEST(EncoderRoundTrip, GIFReadsBackWithItsFramesDelaysAndLoopCount)
{
    std::vector<QImage> frames;
    for (int i = 0; i < 4; ++i)
        frames.push_back(paletteImage(14, 9, 20 + i, i % 2 == 0));
    const auto bytes = GIFWriter::encodeGIF({frames, {0, 15, 70, 700000}, 3}, GIFPalette::system());
    ASSERT_TRUE(bytes);
    const auto strip = Filmstrip::fromData(*bytes);
    ASSERT_TRUE(strip);
    EXPECT_EQ(strip->loopCount, 3);
    EXPECT_EQ(strip->delays, (std::vector<qint64>{0, 20, 70, 655350}));
    ASSERT_EQ(strip->frames.size(), 4u);
    // Disposal 2 clears each frame's area, so no earlier frame shows through a transparent one.
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(strip->frames[i].convertToFormat(frames[i].format()), frames[i]) << i;

    const auto patched = GIFWriter::rewriteGIFDelays(*bytes, {100, 200, 300, 400});
    ASSERT_TRUE(patched);
    const auto repatched = Filmstrip::fromData(*patched);
    ASSERT_TRUE(repatched);
    EXPECT_EQ(repatched->delays, (std::vector<qint64>{100, 200, 300, 400}));
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(repatched->frames[i], strip->frames[i]) << i;
}

TEST(EncoderRoundTrip, SingleImageGIFReadsBackAsOneFrame)
{
    const QImage image = paletteImage(10, 10, 60, true);
    const auto strip = Filmstrip::fromData(GIFWriter::encodeStill(image).value_or(QByteArray()));
    ASSERT_TRUE(strip);
    ASSERT_EQ(strip->frames.size(), 1u);
    EXPECT_EQ(strip->frames[0].convertToFormat(image.format()), image);
}

TEST(EncoderRoundTrip, AnimatedWebPReadsBackWithItsDelaysAndLoopCount)
{
    const std::vector<QImage> frames = emojiFrames(3, 40, 30, true);
    const auto bytes = WebPWriter::encodeAnimatedWebP(frames, {100, 200, 300}, 4, 90);
    ASSERT_TRUE(bytes);
    const auto strip = Filmstrip::fromData(*bytes);
    ASSERT_TRUE(strip);
    EXPECT_EQ(strip->delays, (std::vector<qint64>{100, 200, 300}));
    ASSERT_EQ(strip->frames.size(), 3u);
    EXPECT_EQ(strip->frames[2].size(), QSize(40, 30));
    const auto source = ImageSource::fromData(*bytes);
    ASSERT_TRUE(source);
    EXPECT_EQ(source->fileLoopCount(), 4);
    EXPECT_FALSE(source->isLossless());
    // Lossy, but the disc is where it was: its centre is opaque and the far corner transparent.
    EXPECT_EQ(strip->frames[0].pixelColor(20, 15).alpha(), 255);
    EXPECT_EQ(strip->frames[0].pixelColor(39, 29).alpha(), 0);
}

TEST(EncoderRoundTrip, ExportedStillWebPReadsBackAsOneFrame)
{
    const Filmstrip one{{discImage(50, 50, QColor(20, 120, 240))}, {100}, 0};
    const auto bytes = ExportFormat(ExportFormat::webp).encode(one, GIFPalette::system(), 80);
    ASSERT_TRUE(bytes);
    const auto strip = Filmstrip::fromData(*bytes);
    ASSERT_TRUE(strip);
    ASSERT_EQ(strip->frames.size(), 1u);
    EXPECT_EQ(strip->frames[0].size(), QSize(50, 50));
}
