#include "EncoderSamples.h"
#include "ImageComparison.h"
#include "SyntheticImages.h"
#include "imaging/gif/ColorQuantization.h"
#include "imaging/gif/PaletteSearch.h"
#include "imaging/model/Bitmap.h"
#include "imaging/render/Renderer.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

#include <set>
#include <tuple>

using namespace plenoria;
using namespace plenoria::test;

namespace {

using Q = ColorQuantization;

qint64 packed(qint64 r, qint64 g, qint64 b)
{
    return r << 16 | g << 8 | b;
}

// Premultiplied RGBA bytes, one pixel per quadruple.
std::vector<uchar> pixels(std::initializer_list<std::array<int, 4>> list)
{
    std::vector<uchar> bytes;
    for (const auto& p : list)
        for (int c : p)
            bytes.push_back(uchar(c));
    return bytes;
}

// What a plain scan of the palette gives: the first entry with the smallest squared distance.
int bruteForceNearest(const Palette& palette, double r, double g, double b)
{
    int best = -1;
    double bestD = 0;
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const double dr = r - double(palette[i].r), dg = g - double(palette[i].g),
                     db = b - double(palette[i].b);
        const double d = dr * dr + dg * dg + db * db;
        if (best < 0 || d < bestD) {
            best = int(i);
            bestD = d;
        }
    }
    return best;
}

} // namespace

TEST(QuantizerHistogram, UnpremultipliesRoundsAndSkipsPixelsBelowHalfAlpha)
{
    const auto bytes
        = pixels({{10, 20, 30, 255}, {64, 32, 0, 128}, // 64 × 255/128 = 127.5 goes up to 128; 32 → 63.75 → 64
            {90, 90, 90, 127}, // below 128: not counted
            {10, 20, 30, 255}, {200, 0, 0, 200}}); // 200 × 1.275 = 255
    const ColorList list = Q::histogram(bytes.data(), 5);
    const ColorList expected{{packed(10, 20, 30), 2}, {packed(128, 64, 0), 1}, {packed(255, 0, 0), 1}};
    EXPECT_EQ(list, expected);
}

TEST(QuantizerMedianCut, SplitAxisPrefersRedThenGreenOnEqualRanges)
{
    const auto axis
        = [](ColorList colors) { return Q::splitAxis(Q::Box::over(colors, 0, qint64(colors.size()))); };
    EXPECT_EQ(axis({{packed(0, 0, 5), 1}, {packed(10, 10, 5), 1}}), Q::Channel::red);
    EXPECT_EQ(axis({{packed(0, 0, 0), 1}, {packed(5, 10, 10), 1}}), Q::Channel::green);
    EXPECT_EQ(axis({{packed(0, 0, 0), 1}, {packed(5, 10, 11), 1}}), Q::Channel::blue);
    const Q::Box empty = Q::Box::over({}, 0, 0);
    EXPECT_EQ(empty.minR, 255);
    EXPECT_EQ(empty.maxB, 0);
}

TEST(QuantizerMedianCut, SplitsAtTheCountWeightedMedianKeepingOneColourEachSide)
{
    // Splits the whole list; the halves as lists of red values.
    const auto split = [](ColorList colors) {
        const auto [low, high] = Q::splitBox(colors, Q::Box::over(colors, 0, qint64(colors.size())));
        const auto values = [&](const Q::Box& box, int shift) {
            std::vector<qint64> v;
            for (qint64 i = box.begin; i < box.end; ++i)
                v.push_back((colors[std::size_t(i)].color >> shift) & 0xFF);
            return v;
        };
        return std::tuple{values(low, 16), values(high, 16), values(low, 8), values(high, 8), low, high};
    };
    // Heavy last colour: the running sum reaches half only at the end, so the cut is held to n − 1.
    const auto [low, high, lowG, highG, lowBox, highBox]
        = split({{packed(0, 0, 0), 1}, {packed(10, 0, 0), 1}, {packed(20, 0, 0), 1}, {packed(30, 0, 0), 10}});
    EXPECT_EQ(low, (std::vector<qint64>{0, 10, 20}));
    EXPECT_EQ(high, (std::vector<qint64>{30}));
    EXPECT_EQ(lowBox.maxR, 20);
    EXPECT_EQ(highBox.minR, 30);

    // Heavy first colour: half is reached at once, and the cut is raised to 1.
    const auto [low2, high2, lowG2, highG2, lowBox2, highBox2]
        = split({{packed(30, 0, 0), 1}, {packed(0, 0, 0), 10}, {packed(10, 0, 0), 1}, {packed(20, 0, 0), 1}});
    EXPECT_EQ(low2, (std::vector<qint64>{0}));
    EXPECT_EQ(high2, (std::vector<qint64>{10, 20, 30}));

    // Equal values on the split channel keep their list order (stable sort).
    const auto [low3, high3, lowG3, highG3, lowBox3, highBox3]
        = split({{packed(50, 9, 0), 1}, {packed(0, 0, 0), 1}, {packed(50, 3, 0), 1}, {packed(50, 5, 0), 1}});
    EXPECT_EQ(lowG3, (std::vector<qint64>{0, 9}));
    EXPECT_EQ(highG3, (std::vector<qint64>{3, 5}));
}

TEST(QuantizerMedianCut, TiesGoToTheEarlierBoxAndUpperHalvesAreAppended)
{
    const ColorList colors{
        {packed(0, 0, 0), 1}, {packed(10, 0, 0), 1}, {packed(100, 0, 0), 1}, {packed(110, 0, 0), 1}};
    // Both halves of the first split have range 10: the lower one, in first place, is split next.
    const Palette palette = Q::medianCut(colors, 3);
    EXPECT_EQ(palette, (Palette{{0, 0, 0}, {105, 0, 0}, {10, 0, 0}}));
}

TEST(QuantizerMedianCut, TargetsBelowTwoGiveTheWeightedMeanAndSmallListsComeBackExactly)
{
    const ColorList colors{{packed(0, 0, 0), 3}, {packed(100, 50, 7), 1}};
    for (qint64 target : {-5, 0, 1})
        EXPECT_EQ(Q::medianCut(colors, target), (Palette{{25, 12, 1}}))
            << target; // 100/4, 50/4, 7/4 truncated
    const Palette exact = Q::medianCut(colors, 256);
    ASSERT_EQ(exact.size(), 2u);
    EXPECT_EQ(std::set<qint64>({exact[0].r, exact[1].r}), (std::set<qint64>{0, 100}));
}

TEST(QuantizerRemap, PlainMappingPicksTheNearestEntryAndClearsTransparentPixels)
{
    auto bytes = pixels({{100, 100, 100, 255}, {30, 30, 30, 127}, {64, 64, 64, 128}, {200, 200, 200, 255}});
    // (64 × 255/128 = 127.5 lies exactly between the two entries: the first wins.)
    Q::remap(bytes.data(), 4, 1, {{0, 0, 0}, {255, 255, 255}, {255, 255, 255}}, false);
    EXPECT_EQ(bytes, pixels({{0, 0, 0, 255}, {0, 0, 0, 0}, {0, 0, 0, 255}, {255, 255, 255, 255}}));
}

TEST(QuantizerRemap, DitheringCarriesTheErrorOnlyToMarkedNeighbours)
{
    const Palette blackWhite{{0, 0, 0}, {255, 255, 255}};
    auto row = pixels({{100, 100, 100, 255}, {100, 100, 100, 255}, {0, 0, 0, 0}, {100, 100, 100, 255}});
    auto plain = row;
    Q::remap(plain.data(), 4, 1, blackWhite, false);
    EXPECT_EQ(plain[4], 0);
    Q::remap(row.data(), 4, 1, blackWhite, true);
    EXPECT_EQ(row[0], 0); // the first pixel is always its own nearest
    EXPECT_EQ(row[4], 255); // 100 + 100 × 7/16 = 143.75
    EXPECT_EQ(row[8 + 3], 0);
    EXPECT_EQ(row[12], 0); // the share meant for the transparent pixel is dropped, not passed on

    // Downward shares, each one pushing a pixel just past the middle: 5/16 below (100 + 31.25),
    // 3/16 below-left (120 + 22.5), 1/16 below-right (125 + 7.8125).
    auto column = pixels({{100, 100, 100, 255}, {100, 100, 100, 255}});
    Q::remap(column.data(), 1, 2, blackWhite, true);
    EXPECT_EQ(column[4], 255);
    auto belowLeft = pixels({{0, 0, 0, 0}, {120, 120, 120, 255}, {120, 120, 120, 255}, {0, 0, 0, 0}});
    Q::remap(belowLeft.data(), 2, 2, blackWhite, true);
    EXPECT_EQ(belowLeft[8], 255);
    auto belowRight = pixels({{125, 125, 125, 255}, {0, 0, 0, 0}, {0, 0, 0, 0}, {125, 125, 125, 255}});
    Q::remap(belowRight.data(), 2, 2, blackWhite, true);
    EXPECT_EQ(belowRight[12], 255);
}

TEST(QuantizerRemap, PrunedSearchAgreesWithAPlainScanIncludingTies)
{
    QRandomGenerator random(7);
    for (int round = 0; round < 40; ++round) {
        Palette palette;
        const int size = 1 + int(random.bounded(256));
        for (int i = 0; i < size; ++i) {
            // Coarse values make equal keys and equal distances common.
            palette.push_back({random.bounded(8) * 32, random.bounded(8) * 32, random.bounded(8) * 32});
        }
        PaletteSearch search(palette);
        for (int i = 0; i < 500; ++i) {
            // Outside 0 … 256 and on cell borders (multiples of 16) as well as anywhere in between.
            const double r = random.bounded(300.0) - 20, g = random.bounded(256) * 1.0,
                         b = random.bounded(17) * 16.0;
            const int want = bruteForceNearest(palette, r, g, b);
            ASSERT_EQ(search.nearest(r, g, b), want) << round << " " << r << " " << g;
            // A hint (the neighbouring pixel's answer) must never change the answer.
            ASSERT_EQ(search.nearest(r, g, b, int(random.bounded(size))), want)
                << round << " " << r << " " << g;
        }
    }
}

TEST(Quantize, EveryOpaquePixelTakesItsNearestEntryWithoutDithering)
{
    const QImage frame = emojiFrames(1, 96, 80, true).front();
    const auto result = Q::quantize(frame, 64, false);
    ASSERT_TRUE(result);
    ASSERT_EQ(result->size(), frame.size());
    const auto bytes = Renderer::pixelBytes(frame);
    const Palette palette
        = Q::medianCut(Q::histogram(reinterpret_cast<const uchar*>(bytes->constData()), 96 * 80), 64);
    EXPECT_LE(palette.size(), 64u);
    for (int y = 0; y < 80; ++y) {
        for (int x = 0; x < 96; ++x) {
            const uchar* p = reinterpret_cast<const uchar*>(bytes->constData()) + 4 * (y * 96 + x);
            const uchar* out = result->constScanLine(y) + 4 * x;
            if (p[3] < 128) {
                ASSERT_EQ(out[3], 0);
                continue;
            }
            const double s = 255.0 / p[3];
            const RGB8& want = palette[std::size_t(bruteForceNearest(palette, p[0] * s, p[1] * s, p[2] * s))];
            ASSERT_EQ(RGB8({out[0], out[1], out[2]}), want) << x << "," << y;
            ASSERT_EQ(out[3], 255);
        }
    }
}

TEST(Quantize, HoldsTheColourCountAndKeepsSmallImagesExact)
{
    const QImage gradient = gradientImage(300, 4, QColor(0, 0, 0), QColor(255, 128, 64));
    EXPECT_EQ(opaqueColors(*Q::quantize(gradient, 1000, false)).size(), 256u);
    EXPECT_EQ(opaqueColors(*Q::quantize(gradient, 0, true)).size(), 1u);
    EXPECT_LE(opaqueColors(*Q::quantize(gradient, 16, true)).size(), 16u);

    const QImage few = paletteImage(10, 10, 5, true);
    const auto kept = Q::quantize(few, 256, true);
    EXPECT_EQ(opaqueColors(*kept), opaqueColors(few));
    EXPECT_EQ(kept->pixelColor(0, 0).alpha(), 0);
}

TEST(Quantize, OneColourAndFullyTransparentImages)
{
    QImage disc = discImage(20, 20, QColor(255, 0, 255));
    disc.setPixelColor(0, 0, QColor(255, 0, 255, 128));
    disc.setPixelColor(1, 0, QColor(255, 0, 255, 127));
    const auto one = Q::quantize(disc, 8, true);
    ASSERT_TRUE(one);
    EXPECT_EQ(opaqueColors(*one), (std::set<QRgb>{qRgb(255, 0, 255)}));
    EXPECT_EQ(one->pixelColor(0, 0).alpha(), 255);
    EXPECT_EQ(one->pixelColor(1, 0).alpha(), 0);

    const QImage faint = solidImage(6, 6, QColor(255, 0, 0, 100));
    const auto untouched = Q::quantize(faint, 8, false);
    ASSERT_TRUE(untouched);
    EXPECT_EQ(untouched->pixelColor(3, 3).alpha(), 100);
}
