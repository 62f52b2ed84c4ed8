#include "SyntheticImages.h"
#include "imaging/model/Bitmap.h"
#include "imaging/render/Renderer.h"

#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;

TEST(Normalization, SameImageObjectGivesSameResultAndAnotherReplacesIt)
{
    const QImage a = gradientImage(20, 10, Qt::red, Qt::blue).convertToFormat(QImage::Format_ARGB32);
    const auto first = Renderer::normalized(a);
    const auto second = Renderer::normalized(a);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->cacheKey(), second->cacheKey());
    EXPECT_EQ(first->format(), pixelFormat);

    const QImage b = a.copy();
    const auto third = Renderer::normalized(b);
    ASSERT_TRUE(third);
    EXPECT_NE(third->cacheKey(), first->cacheKey());
    EXPECT_EQ(*third, *first);
}

TEST(Normalization, EmptyImageBecomesOneTransparentPixel)
{
    const auto result = Renderer::normalized(QImage());
    ASSERT_TRUE(result);
    EXPECT_EQ(result->size(), QSize(1, 1));
    EXPECT_EQ(result->pixelColor(0, 0).alpha(), 0);
}

TEST(PixelBytes, RefusesPaddedRowsAndOtherFormats)
{
    const QImage image = solidImage(3, 2, QColor(10, 20, 30));
    const auto bytes = Renderer::pixelBytes(image);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->size(), 3 * 2 * 4);
    EXPECT_EQ(uchar(bytes->at(0)), 10);

    QByteArray padded(64 * 2, '\0');
    const QImage withPadding(reinterpret_cast<const uchar*>(padded.constData()), 3, 2, 64, pixelFormat);
    EXPECT_FALSE(Renderer::pixelBytes(withPadding));
    EXPECT_FALSE(Renderer::pixelBytes(image.convertToFormat(QImage::Format_ARGB32)));
}

TEST(CropOrPad, CutsInsidePadsOutsideAndIgnoresEmptyRectangles)
{
    const QImage image = solidImage(10, 8, Qt::red);
    EXPECT_EQ(Renderer::cropOrPad(image, 0, 0, 0, 5)->cacheKey(), image.cacheKey());

    const auto inside = Renderer::cropOrPad(image, 2, 3, 4, 5);
    ASSERT_TRUE(inside);
    EXPECT_EQ(inside->size(), QSize(4, 5));

    const auto padded = Renderer::cropOrPad(image, -10, -10, 30, 28);
    ASSERT_TRUE(padded);
    EXPECT_EQ(padded->size(), QSize(30, 28));
    EXPECT_EQ(padded->pixelColor(9, 9).alpha(), 0);
    EXPECT_EQ(padded->pixelColor(10, 10), QColor(Qt::red));
    EXPECT_EQ(padded->pixelColor(19, 17), QColor(Qt::red));
    EXPECT_EQ(padded->pixelColor(20, 18).alpha(), 0);

    const auto far = Renderer::cropOrPad(image, -5'000'000'000LL, 0, 4, 4);
    ASSERT_TRUE(far);
    EXPECT_EQ(far->pixelColor(0, 0).alpha(), 0);
}

TEST(CropOrPad, AnImpossibleCanvasKeepsTheOverlap)
{
    const QImage image = solidImage(10, 8, Qt::red);
    const auto result = Renderer::cropOrPad(image, -1, 2, 100000, 3);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->size(), QSize(10, 3));
}

TEST(ScaledToFit, ShrinksKeepingAspectAndLeavesEqualSizesAlone)
{
    const QImage image = solidImage(300, 200, Qt::green);
    const auto scaled = Renderer::scaledToFit(image, 128);
    ASSERT_TRUE(scaled);
    EXPECT_EQ(scaled->size(), QSize(128, 85));
    EXPECT_EQ(scaled->format(), pixelFormat);
    EXPECT_EQ(Renderer::scaledToFit(image, 300)->cacheKey(), image.cacheKey());
}

TEST(FitToLongestEdge, NeverLetsTheShortSideReachZero)
{
    EXPECT_EQ(fitToLongestEdge(128, QSizeF(300, 1)), (IntSize{128, 1}));
    EXPECT_EQ(fitToLongestEdge(4, QSizeF(3, 1)), (IntSize{4, 1}));
    EXPECT_EQ(fitToLongestEdge(50, QSizeF(0, 0)), (IntSize{0, 0}));
}

TEST(Bitmap, RefusesSidesAndAreasBeyondTheLimits)
{
    EXPECT_TRUE(makeBitmap(0, 0));
    EXPECT_EQ(makeBitmap(0, 0)->size(), QSize(1, 1));
    EXPECT_FALSE(makeBitmap(maxBitmapSide + 1, 1));
    EXPECT_FALSE(makeBitmap(10000, 10000));
    EXPECT_FALSE(makeBitmap(-5, 1ll << 40));
}
