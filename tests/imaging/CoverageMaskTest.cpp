#include "imaging/render/CoverageMask.h"

#include <gtest/gtest.h>

using namespace plenoria;

namespace {

QPainterPath rect(QRectF r)
{
    QPainterPath path;
    path.addRect(r);
    return path;
}

} // namespace

TEST(CoverageMask, CoversWholePixelsFullyAndSplitsEdgePixelsByArea)
{
    const CoverageMask mask(rect({2, 3, 4.5, 2}), QTransform(), {10, 10});
    EXPECT_FLOAT_EQ(mask.at(2, 3), 1);
    EXPECT_FLOAT_EQ(mask.at(5, 4), 1);
    EXPECT_NEAR(mask.at(6, 4), 0.5, 1e-5);
    EXPECT_TRUE(!mask.bounds().contains(1, 3) || mask.at(1, 3) == 0);
    EXPECT_TRUE(!mask.bounds().contains(2, 5) || mask.at(2, 5) == 0);

    // A diagonal edge through a pixel's corners covers half of it.
    QPainterPath triangle;
    triangle.moveTo(0, 0);
    triangle.lineTo(4, 0);
    triangle.lineTo(0, 4);
    triangle.closeSubpath();
    const CoverageMask diagonal(triangle, QTransform(), {10, 10});
    EXPECT_NEAR(diagonal.at(1, 2), 0.5, 1e-5);
    EXPECT_FLOAT_EQ(diagonal.at(0, 0), 1);
}

TEST(CoverageMask, PathsReachingPastTheCanvasStillFillWhatIsInside)
{
    const CoverageMask left(rect({-50, 2, 53, 3}), QTransform(), {8, 8});
    ASSERT_EQ(left.bounds().left(), 0);
    EXPECT_FLOAT_EQ(left.at(0, 3), 1);
    EXPECT_FLOAT_EQ(left.at(2, 3), 1);
    EXPECT_TRUE(!left.bounds().contains(3, 3) || left.at(3, 3) == 0);

    // A slanted edge crossing the canvas's left side: only the inside part counts.
    QPainterPath slanted;
    slanted.moveTo(-4, 0);
    slanted.lineTo(4, 8);
    slanted.lineTo(-10, 8);
    slanted.closeSubpath();
    const CoverageMask cut(slanted, QTransform(), {8, 8});
    EXPECT_FLOAT_EQ(cut.at(0, 5), 1);
    EXPECT_NEAR(cut.at(1, 5), 0.5, 1e-5);
    EXPECT_FLOAT_EQ(cut.at(2, 5), 0);
    EXPECT_FLOAT_EQ(cut.at(2, 7), 1);
    EXPECT_NEAR(cut.at(3, 7), 0.5, 1e-5);

    EXPECT_TRUE(CoverageMask(rect({20, 20, 5, 5}), QTransform(), {8, 8}).bounds().isEmpty());
    const CoverageMask huge(rect({-1e6, -1e6, 2e6, 2e6}), QTransform(), {4, 4});
    EXPECT_EQ(huge.bounds(), QRect(0, 0, 4, 4));
    EXPECT_FLOAT_EQ(huge.at(3, 3), 1);
}

TEST(CoverageMask, FollowsNonZeroWindingAndTheTransform)
{
    // Two overlapping squares drawn the same way round never exceed full coverage.
    QPainterPath overlap = rect({0, 0, 4, 4});
    overlap.addPath(rect({2, 0, 4, 4}));
    const CoverageMask both(overlap, QTransform(), {8, 8});
    EXPECT_FLOAT_EQ(both.at(3, 1), 1);

    // A contour wound the other way cuts a hole.
    QPainterPath ring = rect({0, 0, 6, 6});
    QPainterPath hole;
    hole.moveTo(2, 2);
    hole.lineTo(2, 4);
    hole.lineTo(4, 4);
    hole.lineTo(4, 2);
    hole.closeSubpath();
    ring.addPath(hole);
    const CoverageMask cut(ring, QTransform(), {8, 8});
    EXPECT_FLOAT_EQ(cut.at(3, 3), 0);
    EXPECT_FLOAT_EQ(cut.at(1, 3), 1);

    QTransform turn;
    turn.translate(4, 4);
    turn.rotate(90);
    const CoverageMask turned(rect({0, -1, 3, 1}), turn, {8, 8});
    EXPECT_FLOAT_EQ(turned.at(4, 5), 1); // what lay right of the origin now lies below it
    EXPECT_TRUE(!turned.bounds().contains(5, 4) || turned.at(5, 4) == 0);
}
