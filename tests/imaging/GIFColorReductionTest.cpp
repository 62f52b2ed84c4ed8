#include "imaging/gif/GIFColorReduction.h"
#include "EncoderSamples.h"
#include "ImageComparison.h"
#include "SyntheticImages.h"
#include "imaging/gif/GIFWriter.h"

#include <gtest/gtest.h>

#include <set>

using namespace plenoria;
using namespace plenoria::test;

namespace {

RGB8 colorAt(const IndexedFrame& frame, int x, int y)
{
    return frame.colors[frame.indices[std::size_t(y * frame.width + x)]];
}

} // namespace

TEST(GIFColorReduction, KeepsColoursExactlyWhenTheyFitBesideTransparency)
{
    const QImage full = paletteImage(32, 16, 256, false);
    const auto opaque = GIFColorReduction::reduce(full);
    ASSERT_TRUE(opaque);
    EXPECT_EQ(opaque->colors.size(), 256u);
    EXPECT_FALSE(opaque->transparentIndex);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_EQ(qRgb(int(colorAt(*opaque, x, y).r), int(colorAt(*opaque, x, y).g),
                          int(colorAt(*opaque, x, y).b)),
                full.pixelColor(x, y).rgb());

    const auto withHole = GIFColorReduction::reduce(paletteImage(33, 16, 255, true));
    ASSERT_TRUE(withHole);
    EXPECT_EQ(withHole->colors.size(), 256u);
    ASSERT_TRUE(withHole->transparentIndex);
    ASSERT_EQ(withHole->indices.size(), 33u * 16);
    EXPECT_EQ(withHole->indices[0], *withHole->transparentIndex);
}

TEST(GIFColorReduction, TooManyColoursStillGiveOneTransparentIndexAndNoOpaquePixelUsesIt)
{
    const QImage frame = emojiFrames(1, 64, 64, true).front();
    const auto reduced = GIFColorReduction::reduce(frame);
    ASSERT_TRUE(reduced);
    EXPECT_LE(reduced->colors.size(), 256u);
    ASSERT_TRUE(reduced->transparentIndex);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const bool transparent = frame.pixelColor(x, y).alpha() < 128;
            ASSERT_EQ(reduced->indices[std::size_t(y * 64 + x)] == *reduced->transparentIndex, transparent)
                << x << "," << y;
        }
    }
}

TEST(GIFColorReduction, AlphaBecomesTwoValuedAtHalf)
{
    QImage image = solidImage(2, 1, Qt::white);
    image.setPixelColor(0, 0, QColor(255, 255, 255, 127));
    image.setPixelColor(1, 0, QColor(255, 255, 255, 128));
    const auto reduced = GIFColorReduction::reduce(image);
    ASSERT_TRUE(reduced && reduced->transparentIndex);
    ASSERT_EQ(reduced->indices.size(), 2u);
    EXPECT_EQ(reduced->indices[0], *reduced->transparentIndex);
    EXPECT_EQ(colorAt(*reduced, 1, 0), (RGB8{255, 255, 255}));
}

TEST(GIFStill, IsOneImageWithoutLoopOrDelayAndKeepsFewColoursExactly)
{
    const QImage image = paletteImage(12, 9, 40, true);
    const auto bytes = GIFWriter::encodeStill(image);
    ASSERT_TRUE(bytes);
    const auto gif = inspectGif(*bytes);
    ASSERT_TRUE(gif);
    EXPECT_FALSE(gif->loopCount);
    ASSERT_EQ(gif->frames.size(), 1u);
    EXPECT_EQ(gif->frames[0].delayCs, 0);
    EXPECT_GE(gif->frames[0].transparentIndex, 0);
    EXPECT_EQ(gif->frames[0].image, image);

    const auto opaque = GIFWriter::encodeStill(solidImage(3, 3, QColor(1, 2, 3)));
    ASSERT_TRUE(opaque);
    const auto plain = inspectGif(*opaque);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->frames[0].delayCs, -1); // no Graphic Control Extension at all
    EXPECT_EQ(opaqueColors(plain->frames[0].image), (std::set<QRgb>{qRgb(1, 2, 3)}));
    EXPECT_FALSE(GIFWriter::encodeStill(QImage()));
}
