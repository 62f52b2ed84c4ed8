#include "bench/canvas/PlacementOverlay.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

using namespace plenoria;

namespace {

// A 100-pixel image drawn 200 points wide, a 40 × 20 box centred at (50, 50): on screen an 80 × 40
// box around (100, 100), its scale handle at (140, 120) and its rotate handle at (140, 80).
struct PlacementRig {
    QPointF center{50, 50};
    double rotation = 0;
    std::vector<double> widths;
    int writes = 0;
    PlacementOverlay overlay;

    PlacementRig()
    {
        overlay.setGeometry(QSizeF(100, 100), QRectF(0, 0, 200, 200), QSizeF(40, 20));
        overlay.setBindings(Binding<QPointF>([this] { return center; },
                                [this](const QPointF& value) {
                                    center = value;
                                    ++writes;
                                }),
            Binding<double>([this] { return rotation; },
                [this](double value) {
                    rotation = value;
                    ++writes;
                }),
            [this](double width) { widths.push_back(width); });
    }
};

} // namespace

TEST(PlacementDrag, TheBoxMovesItsCentreWithinOneImageBeyondEachEdge)
{
    PlacementRig rig;
    ASSERT_TRUE(rig.overlay.press(QPointF(71, 113)));
    EXPECT_EQ(rig.overlay.grip(), PlacementOverlay::Grip::box);
    EXPECT_EQ(rig.writes, 1);
    EXPECT_EQ(rig.center, QPointF(50, 50));
    rig.overlay.drag(QPointF(81, 93));
    EXPECT_EQ(rig.center, QPointF(55, 40));
    rig.overlay.drag(QPointF(5000, 93));
    EXPECT_EQ(rig.center.x(), 200);
    rig.overlay.drag(QPointF(-5000, 93));
    EXPECT_EQ(rig.center.x(), -100);
    rig.overlay.release();

    // Outside the box and its handles nothing starts.
    EXPECT_FALSE(rig.overlay.press(QPointF(20, 20)));
    EXPECT_EQ(rig.writes, 4);
}

TEST(PlacementDrag, TheScaleHandleReportsWidthsInProportionToTheReach)
{
    PlacementRig rig;
    EXPECT_EQ(rig.overlay.handleCenter(PlacementOverlay::Grip::scale), QPointF(140, 120));
    ASSERT_TRUE(rig.overlay.press(QPointF(140, 120)));
    EXPECT_EQ(rig.overlay.grip(), PlacementOverlay::Grip::scale);
    ASSERT_EQ(rig.widths.size(), 1u);
    EXPECT_DOUBLE_EQ(rig.widths.back(), 40);
    // Twice as far from the centre: twice as wide. At the centre: the least width, 4.
    rig.overlay.drag(QPointF(180, 140));
    EXPECT_DOUBLE_EQ(rig.widths.back(), 80);
    rig.overlay.drag(QPointF(100, 100));
    EXPECT_DOUBLE_EQ(rig.widths.back(), 4);
    EXPECT_EQ(rig.center, QPointF(50, 50));
    EXPECT_EQ(rig.rotation, 0);
}

TEST(PlacementDrag, TurningSnapsToFifteenDegreesAndStaysInAHalfOpenTurn)
{
    for (const auto& [start, written] : {std::pair{42.0, 42.0}, {42.5, 45.0}, {180.0, -180.0}}) {
        PlacementRig rig;
        rig.rotation = start;
        ASSERT_TRUE(rig.overlay.press(rig.overlay.handleCenter(PlacementOverlay::Grip::rotate)));
        EXPECT_EQ(rig.overlay.grip(), PlacementOverlay::Grip::rotate);
        EXPECT_DOUBLE_EQ(rig.rotation, written) << start;
    }

    PlacementRig rig;
    rig.rotation = 170;
    ASSERT_TRUE(rig.overlay.press(rig.overlay.handleCenter(PlacementOverlay::Grip::rotate)));
    for (int step = 0; step < 72; ++step) {
        const double angle = step * 5.0 * 3.14159265358979 / 180;
        rig.overlay.drag(QPointF(100 + 60 * std::cos(angle), 100 + 60 * std::sin(angle)));
        EXPECT_GE(rig.rotation, -180);
        EXPECT_LT(rig.rotation, 180);
    }
    for (const double angle : {-541.0, -180.0, 179.0, 359.9, 725.0})
        EXPECT_TRUE(PlacementOverlay::snappedRotation(angle) >= -180
            && PlacementOverlay::snappedRotation(angle) < 180)
            << angle;
    EXPECT_DOUBLE_EQ(PlacementOverlay::snappedRotation(200), -160);
}

TEST(PlacementDrag, HandlesFollowTheTurnAndTheRotateHandleLiesOnTop)
{
    PlacementRig rig;
    rig.rotation = 90;
    // Turned a quarter clockwise, the bottom-right corner is at the bottom-left on screen.
    const QPointF scale = rig.overlay.handleCenter(PlacementOverlay::Grip::scale);
    const QPointF rotate = rig.overlay.handleCenter(PlacementOverlay::Grip::rotate);
    EXPECT_NEAR(scale.x(), 80, 1e-9);
    EXPECT_NEAR(scale.y(), 140, 1e-9);
    EXPECT_NEAR(rotate.x(), 120, 1e-9);
    EXPECT_NEAR(rotate.y(), 140, 1e-9);
    // The turned box takes presses where the unturned one would not.
    EXPECT_EQ(rig.overlay.hit(QPointF(100, 135)), PlacementOverlay::Grip::box);
    EXPECT_FALSE(rig.overlay.hit(QPointF(135, 100)));

    // A tiny box is drawn 8 points square; its handles' hit circles overlap, and turning wins.
    rig.rotation = 0;
    rig.overlay.setGeometry(QSizeF(100, 100), QRectF(0, 0, 200, 200), QSizeF(1, 1));
    EXPECT_EQ(rig.overlay.viewBox(), QSizeF(8, 8));
    EXPECT_EQ(rig.overlay.handleCenter(PlacementOverlay::Grip::scale), QPointF(104, 104));
    EXPECT_EQ(rig.overlay.hit(QPointF(104, 100)), PlacementOverlay::Grip::rotate);
}

TEST(PlacementDrag, ADisplayWithNoWidthTakesNoDrag)
{
    PlacementRig rig;
    rig.overlay.setGeometry(QSizeF(100, 100), QRectF(30, 30, 0, 0), QSizeF(40, 20));
    EXPECT_FALSE(rig.overlay.press(QPointF(30, 30)));
    rig.overlay.move(QPointF(40, 40));
    rig.overlay.scale(QPointF(40, 40));
    rig.overlay.rotate(QPointF(40, 40));
    EXPECT_EQ(rig.writes, 0);
    EXPECT_TRUE(rig.widths.empty());
}

TEST(PlacementDrag, TheTurnedBoxTakesPressesJustInsideEachSideAndNoneJustOutside)
{
    // Points on each side of the 80 × 40 point box, in its own frame, away from the two handles,
    // half a point in and half a point out.
    const std::pair<QPointF, QPointF> sides[] = {
        {{39.5, 0}, {40.5, 0}},
        {{-39.5, 10}, {-40.5, 10}},
        {{-20, -19.5}, {-20, -20.5}},
        {{10, 19.5}, {10, 20.5}},
    };
    for (const double degrees : {30.0, 45.0}) {
        PlacementRig rig;
        rig.rotation = degrees;
        const double c = std::cos(degrees * std::numbers::pi / 180);
        const double s = std::sin(degrees * std::numbers::pi / 180);
        const auto onScreen
            = [&](QPointF p) { return QPointF(100 + p.x() * c - p.y() * s, 100 + p.x() * s + p.y() * c); };
        for (const auto& [inside, outside] : sides) {
            EXPECT_EQ(rig.overlay.hit(onScreen(inside)), PlacementOverlay::Grip::box)
                << degrees << "° at " << inside.x() << ", " << inside.y();
            EXPECT_EQ(rig.overlay.hit(onScreen(outside)), std::nullopt)
                << degrees << "° at " << outside.x() << ", " << outside.y();
        }
    }
}
