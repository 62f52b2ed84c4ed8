#include "bench/canvas/CropOverlay.h"

#include <gtest/gtest.h>

using namespace plenoria;

namespace {

// A 64-pixel image drawn 256 points wide (4 points a pixel), its crop held in a plain value.
struct CropRig {
    CropSpec spec{8, 8, 32, 32};
    int writes = 0;
    CropOverlay overlay;

    CropRig()
    {
        overlay.setGeometry(QSizeF(64, 64), QRectF(0, 0, 256, 256));
        overlay.setSpec(Binding<CropSpec>([this] { return spec; },
            [this](const CropSpec& value) {
                spec = value;
                ++writes;
            }));
    }
};

} // namespace

TEST(CropDrag, MovingKeepsTheSizeAndStopsAtTheEdges)
{
    CropRig rig;
    // A press inside writes the same rectangle back: the hold is fractional, so nothing jumps.
    ASSERT_TRUE(rig.overlay.press(QPointF(101, 99)));
    EXPECT_EQ(rig.overlay.grip(), CropOverlay::Grip{});
    EXPECT_EQ(rig.writes, 1);
    EXPECT_EQ(rig.spec, (CropSpec{8, 8, 32, 32}));
    // 6 points are 1.5 pixels, which round to 2.
    rig.overlay.drag(QPointF(107, 99));
    EXPECT_EQ(rig.spec, (CropSpec{10, 8, 32, 32}));
    rig.overlay.drag(QPointF(1000, -500));
    EXPECT_EQ(rig.spec, (CropSpec{32, 0, 32, 32}));
    rig.overlay.release();
    EXPECT_FALSE(rig.overlay.grip());
    EXPECT_FALSE(rig.overlay.grabOffset());
}

TEST(CropDrag, ACornerSpansTheRectangleBetweenTheOppositeCornerAndThePointer)
{
    CropRig rig;
    // Exactly on the handle: the same rectangle.
    ASSERT_TRUE(rig.overlay.press(QPointF(32, 32)));
    EXPECT_EQ(rig.overlay.grip(), CropOverlay::Grip{CropOverlay::Corner::topLeft});
    EXPECT_EQ(rig.spec, (CropSpec{8, 8, 32, 32}));
    EXPECT_EQ(rig.overlay.anchor(), QPointF(40, 40));
    // Past the opposite corner the rectangle turns over.
    rig.overlay.drag(QPointF(200, 180));
    EXPECT_EQ(rig.spec, (CropSpec{40, 40, 10, 5}));
    // Onto it: one pixel, never none.
    rig.overlay.drag(QPointF(160, 160));
    EXPECT_EQ(rig.spec, (CropSpec{40, 40, 1, 1}));
    // Beyond the image the pointer is held at its edge.
    rig.overlay.drag(QPointF(-300, 999));
    EXPECT_EQ(rig.spec, (CropSpec{0, 40, 40, 24}));
    rig.overlay.release();

    // A press a little off the handle's centre already moves its corner to the pressed pixel.
    rig.spec = CropSpec{8, 8, 32, 32};
    ASSERT_TRUE(rig.overlay.press(QPointF(35, 32)));
    EXPECT_EQ(rig.spec, (CropSpec{9, 8, 31, 32}));
    rig.overlay.release();

    // At the image's corner, one pixel that stays inside the image.
    rig.spec = CropSpec{32, 32, 32, 32};
    ASSERT_TRUE(rig.overlay.press(QPointF(128, 128)));
    rig.overlay.drag(QPointF(256, 256));
    EXPECT_EQ(rig.spec, (CropSpec{63, 63, 1, 1}));
}

TEST(CropDrag, PressesTakeTheTopmostHandleAndNothingOutsideTheRectangle)
{
    CropRig rig;
    EXPECT_FALSE(rig.overlay.press(QPointF(10, 200)));
    EXPECT_FALSE(rig.overlay.grip());
    rig.overlay.drag(QPointF(100, 100));
    EXPECT_EQ(rig.writes, 0);

    // A rectangle smaller on screen than the handles: where they all overlap, bottomRight wins.
    rig.spec = CropSpec{8, 8, 2, 2};
    EXPECT_EQ(rig.overlay.hit(QPointF(36, 36)), CropOverlay::Grip{CropOverlay::Corner::bottomRight});
    EXPECT_EQ(rig.overlay.hit(QPointF(24, 24)), CropOverlay::Grip{CropOverlay::Corner::topLeft});
}

TEST(CropDrag, ADisplayWithNoWidthTakesNoDrag)
{
    CropRig rig;
    rig.overlay.setGeometry(QSizeF(64, 64), QRectF(40, 40, 0, 0));
    EXPECT_FALSE(rig.overlay.press(QPointF(40, 40)));
    rig.overlay.drag(QPointF(50, 50));
    rig.overlay.moveRect(QPointF(50, 50));
    rig.overlay.dragCorner(CropOverlay::Corner::topLeft, QPointF(50, 50));
    EXPECT_EQ(rig.writes, 0);
    EXPECT_EQ(rig.spec, (CropSpec{8, 8, 32, 32}));

    // An image with no width counts one pixel a point.
    rig.overlay.setGeometry(QSizeF(0, 0), QRectF(0, 0, 0, 0));
    EXPECT_EQ(rig.overlay.pointsPerPixel(), 1);
}

TEST(CropDrag, EachCornerMovesAloneOnAWideImageAndKeepsTheOppositeOne)
{
    // A 64 × 20 image drawn at (10, 30), 4 points a pixel; the crop spans pixels 8 to 48 across and
    // 4 to 16 down, so on screen its corners lie at x 42 or 202 and y 46 or 94.
    struct Case {
        CropOverlay::Corner corner;
        QPointF handle;
        CropSpec nudged; // after 2 pixels right and 1 up
        QPointF far;
        CropSpec atImageCorner;
    };
    using C = CropOverlay::Corner;
    const Case cases[] = {
        {C::topLeft, {42, 46}, {10, 3, 38, 13}, {-999, -999}, {0, 0, 48, 16}},
        {C::topRight, {202, 46}, {8, 3, 42, 13}, {999, -999}, {8, 0, 56, 16}},
        {C::bottomLeft, {42, 94}, {10, 4, 38, 11}, {-999, 999}, {0, 4, 48, 16}},
        {C::bottomRight, {202, 94}, {8, 4, 42, 11}, {999, 999}, {8, 4, 56, 16}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.corner));
        CropRig rig;
        rig.spec = CropSpec{8, 4, 40, 12};
        rig.overlay.setGeometry(QSizeF(64, 20), QRectF(10, 30, 256, 80));
        ASSERT_TRUE(rig.overlay.press(c.handle));
        EXPECT_EQ(rig.overlay.grip(), CropOverlay::Grip{c.corner});
        EXPECT_EQ(rig.spec, (CropSpec{8, 4, 40, 12}));
        rig.overlay.drag(c.handle + QPointF(8, -4));
        EXPECT_EQ(rig.spec, c.nudged);
        rig.overlay.drag(c.far);
        EXPECT_EQ(rig.spec, c.atImageCorner);
    }
}
