#include "SyntheticImages.h"
#include "imaging/model/Bitmap.h"
#include "imaging/model/TreatmentEntry.h"
#include "imaging/render/Renderer.h"

#include <QPainter>
#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;

namespace {

QImage renderOne(const QImage& image, Treatment treatment)
{
    const TreatmentRecord record = {TreatmentEntry(std::move(treatment))};
    return Renderer::render(image, record);
}

// The top-left corner of the opaque pixels, or (-1, -1) when there are none.
QPoint opaqueOrigin(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y).alpha() == 255)
                return {x, y};
    return {-1, -1};
}

QByteArray pngOf(const QImage& image)
{
    return Renderer::encode(image, ImageType::PNG).value_or(QByteArray());
}

// A 20 × 10 stamp: left half red, right half blue, so its orientation shows.
QImage twoToneStamp()
{
    QImage stamp = solidImage(20, 10, Qt::red);
    QPainter painter(&stamp);
    painter.fillRect(10, 0, 10, 10, Qt::blue);
    return stamp;
}

StampSpec stampAt(QPointF center, double width, double rotation, double opacity)
{
    StampSpec spec;
    spec.imageData = pngOf(twoToneStamp());
    spec.name = "two-tone.png";
    spec.center = center;
    spec.width = width;
    spec.rotation = rotation;
    spec.opacity = opacity;
    return spec;
}

} // namespace

TEST(RenderPipeline, EmptyAndFramesOnlyRecordsLeaveTheImage)
{
    const QImage image = discImage(16, 16, Qt::yellow);
    EXPECT_EQ(Renderer::render(image, {}).cacheKey(), image.cacheKey());
    const TreatmentRecord frames = {TreatmentEntry(FramesSpec::fromDelays({100, 100}))};
    EXPECT_EQ(Renderer::render(image, frames), image);
}

TEST(RenderPipeline, StepsRunInRecordOrderAndAFailedStepIsPassedOver)
{
    const QImage image = gradientImage(100, 50, Qt::black, Qt::white);
    StampSpec broken;
    broken.imageData = "not an image";
    broken.width = 10;
    const TreatmentRecord record = {TreatmentEntry(CropSpec{50, 0, 50, 50}), TreatmentEntry(broken),
                                    TreatmentEntry(ResizeSpec{10})};
    const QImage result = Renderer::render(image, record);
    EXPECT_EQ(result.size(), QSize(10, 10));
    // Cropped to the light half before the resize.
    EXPECT_GT(result.pixelColor(0, 5).red(), 120);
}

TEST(CropStep, CutsInsideAndPadsOutside)
{
    const QImage image = gradientImage(40, 30, Qt::red, Qt::blue);
    EXPECT_EQ(renderOne(image, CropSpec{0, 0, 0, 10}).cacheKey(), image.cacheKey());
    EXPECT_EQ(renderOne(image, CropSpec{5, 6, 10, 8}), image.copy(5, 6, 10, 8));

    const QImage padded = renderOne(image, CropSpec{-10, -10, 60, 50});
    EXPECT_EQ(padded.size(), QSize(60, 50));
    EXPECT_EQ(opaqueOrigin(padded), QPoint(10, 10));
    EXPECT_EQ(padded.pixelColor(49, 39), image.pixelColor(39, 29));
    EXPECT_EQ(padded.pixelColor(50, 40).alpha(), 0);
}

TEST(ExtendStep, PlacesTheImageByItsAnchorOnEveryAxis)
{
    const QImage image = solidImage(40, 30, Qt::green);
    const int expectedX[3] = {0, 30, 60};
    const int expectedY[3] = {0, 10, 20};
    for (qint64 h = 0; h < 3; ++h) {
        for (qint64 v = 0; v < 3; ++v) {
            const QImage result = renderOne(image, ExtendSpec{100, 50, {h, v}});
            ASSERT_EQ(result.size(), QSize(100, 50));
            EXPECT_EQ(opaqueOrigin(result), QPoint(expectedX[h], expectedY[v])) << "anchor " << h << "," << v;
        }
    }
    // Odd room rounds toward the left: 59 div 2.
    EXPECT_EQ(opaqueOrigin(renderOne(solidImage(41, 30, Qt::green), ExtendSpec{100, 50, {1, 1}})), QPoint(29, 10));
}

TEST(ExtendStep, ASmallerSpecCutsFromTheTopLeftAndAnImpossibleOneKeepsTheImage)
{
    const QImage image = gradientImage(100, 100, Qt::red, Qt::blue);
    EXPECT_EQ(renderOne(image, ExtendSpec{80, 80, {1, 1}}), image.copy(0, 0, 80, 80));

    // A typed canvas past the bitmap limits must not exhaust memory: the image comes back whole.
    const QImage huge = renderOne(image, ExtendSpec{maxBitmapSide * 4, maxBitmapSide * 4, {1, 1}});
    EXPECT_EQ(huge, image);
    const QImage wrongAnchor = renderOne(solidImage(40, 30, Qt::green), ExtendSpec{100, 50, {9, -3}});
    EXPECT_EQ(opaqueOrigin(wrongAnchor), QPoint(60, 0));
}

TEST(ResizeStep, ScalesTheLongestEdgeEitherWay)
{
    EXPECT_EQ(renderOne(solidImage(300, 200, Qt::red), ResizeSpec{128}).size(), QSize(128, 85));
    EXPECT_EQ(renderOne(solidImage(3, 1, Qt::red), ResizeSpec{4}).size(), QSize(4, 1));
    EXPECT_EQ(renderOne(solidImage(200, 300, Qt::red), ResizeSpec{600}).size(), QSize(400, 600));
    const QImage tall = solidImage(1, 300, Qt::red);
    EXPECT_EQ(renderOne(tall, ResizeSpec{30}).size(), QSize(1, 30));

    const QImage image = solidImage(64, 32, Qt::red);
    EXPECT_EQ(renderOne(image, ResizeSpec{64}).cacheKey(), image.cacheKey());
    EXPECT_EQ(renderOne(image, ResizeSpec{maxBitmapSide + 1}).cacheKey(), image.cacheKey());
    EXPECT_EQ(renderOne(image, ResizeSpec{1'000'000'000'000LL}).cacheKey(), image.cacheKey());

    const QImage result = renderOne(image, ResizeSpec{16});
    EXPECT_EQ(result.format(), pixelFormat);
    EXPECT_EQ(result.pixelColor(4, 4), QColor(Qt::red));
}

TEST(StampStep, DrawsCentredAtItsWidthWithTheStampsAspect)
{
    const QImage ground = solidImage(100, 80, Qt::white);
    const QImage result = renderOne(ground, stampAt({30, 40}, 40, 0, 1));
    // 40 × 20 box centred on (30, 40): x 10…50, y 30…50, red on the left half.
    EXPECT_EQ(result.pixelColor(15, 40), QColor(Qt::red));
    EXPECT_EQ(result.pixelColor(45, 40), QColor(Qt::blue));
    EXPECT_EQ(result.pixelColor(30, 27), QColor(Qt::white));
    EXPECT_EQ(result.pixelColor(30, 53), QColor(Qt::white));
    EXPECT_EQ(result.pixelColor(7, 40), QColor(Qt::white));
    EXPECT_EQ(result.size(), ground.size());
}

TEST(StampStep, PositiveRotationTurnsClockwise)
{
    const QImage ground = solidImage(100, 100, Qt::white);
    const QImage result = renderOne(ground, stampAt({50, 50}, 40, 90, 1));
    // Turned a quarter clockwise, the red (left) half ends up on top.
    EXPECT_EQ(result.pixelColor(50, 38), QColor(Qt::red));
    EXPECT_EQ(result.pixelColor(50, 62), QColor(Qt::blue));
    EXPECT_EQ(result.pixelColor(35, 50), QColor(Qt::white));
}

TEST(StampStep, OpacityBlendsAndZeroLeavesThePixels)
{
    const QImage ground = gradientImage(60, 60, Qt::black, Qt::white);
    EXPECT_EQ(renderOne(ground, stampAt({30, 30}, 40, 0, 0)), ground);

    const QImage white = solidImage(60, 60, Qt::white);
    const QColor half = renderOne(white, stampAt({30, 30}, 40, 0, 0.5)).pixelColor(15, 30);
    EXPECT_NEAR(half.red(), 255, 1);
    EXPECT_NEAR(half.green(), 128, 2);
    EXPECT_NEAR(half.blue(), 128, 2);
}

TEST(StampStep, UndecodableDataLeavesTheImage)
{
    const QImage image = solidImage(10, 10, Qt::white);
    StampSpec spec = stampAt({5, 5}, 5, 0, 1);
    spec.imageData.truncate(20);
    EXPECT_EQ(renderOne(image, spec).cacheKey(), image.cacheKey());
}
