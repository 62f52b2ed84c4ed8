#include "bench/canvas/CanvasGeometry.h"
#include "bench/canvas/ExtendOverlay.h"

#include <gtest/gtest.h>

using namespace plenoria;

TEST(CanvasGeometry, TheImageIsFittedInsideTheMarginsUpAsWellAsDown)
{
    EXPECT_EQ(fitRect(QSizeF(32, 32), QSizeF(400, 300), canvasMargin), QRectF(98, 48, 204, 204));
    EXPECT_EQ(fitRect(QSizeF(1000, 500), QSizeF(400, 300), canvasMargin), QRectF(48, 74, 304, 152));
    // Less room than the margins still draws the image, centred, on a 1-point scale.
    EXPECT_EQ(fitRect(QSizeF(40, 20), QSizeF(80, 80), canvasMargin), QRectF(39.5, 39.75, 1, 0.5));
    EXPECT_EQ(fitRect(QSizeF(0, 20), QSizeF(80, 60), canvasMargin), QRectF(40, 30, 0, 0));
}

TEST(CanvasGeometry, AGrownCanvasBeyondTheImageIsFittedWithTheImageAtItsPlace)
{
    const QSizeF canvas(400, 300);
    const ExtendSpec wider{200, 100, {0, 1}};
    const QRectF grown = extendCanvasRect(QSizeF(100, 100), wider);
    EXPECT_EQ(grown, QRectF(0, 0, 200, 100));
    const QRectF image = canvasImageRect(grown, 100, 100, canvas);
    EXPECT_EQ(image, QRectF(48, 74, 152, 152));
    EXPECT_EQ(ExtendOverlay::outlineRect(QSizeF(100, 100), image, wider), QRectF(48, 74, 304, 152));

    // Anchored right and bottom, the grown canvas lies up and to the left of the image.
    EXPECT_EQ(extendCanvasRect(QSizeF(100, 100), ExtendSpec{150, 120, {2, 2}}), QRectF(-50, -20, 150, 120));

    // A grown canvas no larger than the image leaves the image fitted alone, outlined on its edge.
    const ExtendSpec same{100, 100, {1, 1}};
    const QRectF alone = canvasImageRect(extendCanvasRect(QSizeF(100, 100), same), 100, 100, canvas);
    EXPECT_EQ(alone, fitRect(QSizeF(100, 100), canvas, canvasMargin));
    EXPECT_EQ(ExtendOverlay::outlineRect(QSizeF(100, 100), alone, same), alone);
    EXPECT_EQ(canvasImageRect(std::nullopt, 100, 100, canvas), alone);
}
