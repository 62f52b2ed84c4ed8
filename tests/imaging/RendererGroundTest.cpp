#include "SyntheticImages.h"
#include "imaging/model/Bitmap.h"
#include "imaging/model/TreatmentEntry.h"
#include "imaging/render/Renderer.h"

#include <QPainter>
#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;

namespace {

QImage keyed(const QImage& image, ColorKey key, GroundFill fill = TransparentFill{})
{
    const TreatmentRecord record = {TreatmentEntry(GroundSpec{std::move(key), std::move(fill)})};
    return Renderer::render(image, record);
}

// A green image with a red ring; inside the ring a green island that the border cannot reach.
QImage islandImage()
{
    QImage image = solidImage(30, 30, Qt::green);
    QPainter painter(&image);
    painter.fillRect(5, 5, 20, 20, Qt::red);
    painter.fillRect(10, 10, 10, 10, Qt::green);
    return image;
}

} // namespace

TEST(HexColors, ParseTheWaysUsersTypeThem)
{
    EXPECT_EQ(RGB::fromHex("#00FF00"), (RGB{0, 1, 0}));
    EXPECT_EQ(RGB::fromHex("  00ff00 \n"), (RGB{0, 1, 0}));
    EXPECT_EQ(RGB::fromHex("##FF0000#"), (RGB{1, 0, 0}));
    EXPECT_FALSE(RGB::fromHex("#0F0"));
    EXPECT_FALSE(RGB::fromHex("#GGGGGG"));
    EXPECT_FALSE(RGB::fromHex(""));
    // Six characters, read up to the first non-hex one.
    EXPECT_EQ(RGB::fromHex("12zzzz"), (RGB{0, 0, 0x12 / 255.0}));
    EXPECT_EQ(RGB::fromHex("0x00FF"), (RGB{0, 0, 1}));
    EXPECT_EQ(RGB::fromHex("12345\U0001F600"), (RGB{0x01 / 255.0, 0x23 / 255.0, 0x45 / 255.0}));

    EXPECT_EQ((RGB{1, 0.5, 0}.hexString()), "#FF8000");
    EXPECT_EQ((RGB{2, -1, 0.2}.hexString()), "#FF0033");
}

TEST(KeyDistance, MeasuresTowardWhiteOrBlackPerChannel)
{
    EXPECT_DOUBLE_EQ(keyDistance({0.5, 0.5, 0.5}, {0.5, 0.5, 0.5}), 0);
    EXPECT_DOUBLE_EQ(keyDistance({0.75, 0.5, 0.25}, {0.5, 0.5, 0.5}), 0.5);
    // Pure white and black keys measure the whole way to the other end, without dividing by zero.
    EXPECT_NEAR(keyDistance({1, 1, 0.75}, {1, 1, 1}), 0.25, 1e-12);
    EXPECT_NEAR(keyDistance({0.5, 0, 0}, {0, 0, 0}), 0.5, 1e-12);
    EXPECT_DOUBLE_EQ(keyDistance({1, 1, 1}, {1, 1, 1}), 0);
    EXPECT_DOUBLE_EQ(keyDistance({1.2, 0, 0}, {1, 0, 0}), 1);

    // Fully transparent pixels count as distance 0; premultiplied pixels are compared un-premultiplied.
    QImage image = solidImage(2, 1, Qt::transparent);
    image.setPixelColor(1, 0, QColor(255, 0, 0, 128));
    const auto distances = Renderer::keyDistances(*Renderer::pixelBytes(image), {1, 0, 0});
    ASSERT_EQ(distances.size(), 2u);
    EXPECT_EQ(distances[0], 0.0f);
    EXPECT_NEAR(distances[1], 0.0f, 0.01f);
}

TEST(ColorKeyEverywhere, ClearsExactlyTheKeyColourAtThresholdZero)
{
    QImage image = solidImage(4, 1, QColor(0, 255, 0));
    image.setPixelColor(1, 0, QColor(1, 255, 0));
    image.setPixelColor(2, 0, QColor(0, 0, 255));
    const QImage result = keyed(image, ColorKey{"#00FF00", KeyReach::everywhere, 0, 0});
    EXPECT_EQ(result.pixelColor(0, 0).alpha(), 0);
    EXPECT_EQ(result.pixelColor(3, 0).alpha(), 0);
    EXPECT_EQ(result.pixelColor(1, 0), QColor(1, 255, 0));
    EXPECT_EQ(result.pixelColor(2, 0), QColor(0, 0, 255));
    EXPECT_EQ(result.format(), pixelFormat);
}

TEST(ColorKeyEverywhere, FeathersTheSoftBandAndUnmixesTheKey)
{
    // Key grey 0.4; red channel 0.7 gives distance (0.7 − 0.4) / 0.6 = 0.5, 0.646 gives 0.41.
    const QString key = RGB{0.4, 0.4, 0.4}.hexString();
    const RGB k = *RGB::fromHex(key);
    const double kr = k.red;

    QImage image = solidImage(3, 1, Qt::white);
    const int near = int(std::round((kr + 0.3 * (1 - kr)) * 255)); // distance 0.3
    const int far = int(std::round((kr + 0.41 * (1 - kr)) * 255)); // distance ~0.41
    const int grey = int(std::round(kr * 255));
    image.setPixelColor(0, 0, QColor(near, grey, grey));
    image.setPixelColor(1, 0, QColor(far, grey, grey));
    image.setPixelColor(2, 0, QColor(grey, grey, grey));

    const QImage result = keyed(image, ColorKey{key, KeyReach::everywhere, 0.2, 0.2});
    // Distance 0.3 in the band 0.2…0.4: half the alpha, and the colour pushed away from the key.
    const QColor half = result.pixelColor(0, 0);
    EXPECT_NEAR(half.alpha(), 128, 2);
    const double unmixed = ((near / 255.0) - kr) / 0.5 + kr;
    EXPECT_NEAR(half.red(), unmixed * 255, 3);
    EXPECT_NEAR(half.green(), grey, 2);
    // Distance 0.41 lies past the band: untouched.
    EXPECT_EQ(result.pixelColor(1, 0), QColor(far, grey, grey));
    EXPECT_EQ(result.pixelColor(2, 0).alpha(), 0);
}

TEST(ColorKeyEverywhere, AWhiteKeyClearsNearWhitesUpToTheThreshold)
{
    QImage image = solidImage(3, 1, Qt::white);
    image.setPixelColor(1, 0, QColor(230, 255, 255)); // distance 0.098
    image.setPixelColor(2, 0, QColor(200, 200, 200)); // distance 0.216
    const QImage result = keyed(image, ColorKey{"#FFFFFF", KeyReach::everywhere, 0.1, 0});
    EXPECT_EQ(result.pixelColor(0, 0).alpha(), 0);
    EXPECT_EQ(result.pixelColor(1, 0).alpha(), 0);
    EXPECT_EQ(result.pixelColor(2, 0), QColor(200, 200, 200));
}

TEST(ColorKeyFromTheBorder, ClearsOnlyWhatTheBorderReaches)
{
    const QImage image = islandImage();
    const QImage result = keyed(image, ColorKey{"#00FF00", KeyReach::fromTheBorder, 0.1, 0.5});
    EXPECT_EQ(result.pixelColor(0, 0).alpha(), 0);
    EXPECT_EQ(result.pixelColor(29, 15).alpha(), 0);
    EXPECT_EQ(result.pixelColor(7, 7), QColor(Qt::red));
    EXPECT_EQ(result.pixelColor(15, 15), QColor(Qt::green)); // enclosed island stays

    // The same island joined to the border through transparent pixels is reached.
    QImage opened = image;
    QPainter painter(&opened);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(14, 0, 2, 11, Qt::transparent);
    painter.end();
    const QImage through = keyed(opened, ColorKey{"#00FF00", KeyReach::fromTheBorder, 0.1, 0});
    EXPECT_EQ(through.pixelColor(15, 15).alpha(), 0);
    EXPECT_EQ(through.pixelColor(7, 7), QColor(Qt::red));
}

TEST(ColorKeyFromTheBorder, FloodMaskFollowsFourNeighbours)
{
    // 3 × 3 with a diagonal-only path to the centre: the centre is not reached.
    const std::vector<float> d = {0, 1, 1, 1, 0, 1, 1, 1, 1};
    const auto mask = Renderer::borderFloodMask(d, 3, 3, 0.5);
    EXPECT_EQ(mask, (std::vector<quint8>{1, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(Renderer::borderFloodMask({}, 0, 0, 0.5).empty());
}

TEST(GroundFill, CompositesBehindAndSkipsWhenTheKeyCannotBeRead)
{
    QImage image = solidImage(3, 1, Qt::transparent);
    image.setPixelColor(1, 0, QColor(0, 0, 255));
    image.setPixelColor(2, 0, QColor(255, 0, 0, 128));

    const TreatmentRecord fillOnly = {TreatmentEntry(GroundSpec{NoKey{}, ColorFill{"#FFFFFF"}})};
    const QImage filled = Renderer::render(image, fillOnly);
    EXPECT_EQ(filled.pixelColor(0, 0), QColor(Qt::white));
    EXPECT_EQ(filled.pixelColor(1, 0), QColor(0, 0, 255));
    EXPECT_EQ(filled.pixelColor(2, 0), QColor(255, 127, 127));

    const QImage badKey = keyed(image, ColorKey{"#12", KeyReach::everywhere, 0.5, 0}, ColorFill{"#FFFFFF"});
    EXPECT_EQ(badKey, image);
    const QImage badFill = keyed(image, ColorKey{"#0000FF", KeyReach::everywhere, 0, 0}, ColorFill{"white"});
    EXPECT_EQ(badFill.pixelColor(1, 0).alpha(), 0);
    EXPECT_EQ(badFill.pixelColor(0, 0).alpha(), 0);
}

TEST(BorderColorGuess, TakesTheCommonestOpaqueBorderColour)
{
    QImage image = discImage(40, 40, Qt::red, QColor(250, 250, 250));
    image.setPixelColor(0, 0, Qt::black);
    image.setPixelColor(39, 39, Qt::black);
    EXPECT_EQ(Renderer::guessBorderColor(image), "#FAFAFA");

    // A 3 × 3 image visits all eight border pixels and never the centre.
    QImage small = solidImage(3, 3, Qt::blue);
    small.setPixelColor(1, 1, Qt::red);
    for (int x = 0; x < 3; ++x)
        small.setPixelColor(x, 0, Qt::green);
    EXPECT_EQ(Renderer::guessBorderColor(small), "#0000FF");

    EXPECT_FALSE(Renderer::guessBorderColor(solidImage(2, 50, Qt::red)));
    EXPECT_FALSE(Renderer::guessBorderColor(discImage(20, 20, Qt::red)));
    // Translucent border pixels (alpha up to 0.9) take no part.
    QImage faint = solidImage(5, 5, QColor(0, 0, 255, 229));
    faint.setPixelColor(2, 0, QColor(10, 200, 30));
    EXPECT_EQ(Renderer::guessBorderColor(faint), "#0AC81E");
}
