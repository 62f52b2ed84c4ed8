#include "bench/canvas/Checkerboard.h"
#include "bench/canvas/ExtendOverlay.h"
#include "bench/inspect/AnchorGrid.h"
#include "bench/inspect/AnchorMark.h"

#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace plenoria;

TEST(BenchControls, TheExtendOutlinePlacesTheImageByItsAnchorInWholePixels)
{
    const QRectF image(100, 50, 200, 200); // a 100-pixel image drawn at twice its size
    EXPECT_EQ(ExtendOverlay::outlineRect(QSizeF(100, 100), image, ExtendSpec{100, 100, {1, 1}}), image);
    // Five pixels of room, centred: two on the left, three on the right.
    EXPECT_EQ(ExtendOverlay::outlineRect(QSizeF(100, 100), image, ExtendSpec{105, 100, {1, 1}}),
        QRectF(96, 50, 210, 200));
    EXPECT_EQ(ExtendOverlay::outlineRect(QSizeF(100, 100), image, ExtendSpec{200, 100, {2, 0}}),
        QRectF(-100, 50, 400, 200));
    // No width to scale by: one pixel is one point.
    EXPECT_EQ(ExtendOverlay::outlineRect(QSizeF(0, 0), QRectF(10, 10, 0, 0), ExtendSpec{4, 4, {0, 0}}),
        QRectF(10, 10, 4, 4));
}

TEST(BenchControls, TheCheckerboardStartsDarkAtTheCornerAndIsCutAtTheEdges)
{
    QImage board(25, 25, QImage::Format_RGB32);
    board.fill(Qt::red);
    {
        QPainter painter(&board);
        Checkerboard::paint(painter, QRectF(0, 0, 25, 25));
    }
    const QRgb dark = QColor::fromRgbF(0.8f, 0.8f, 0.8f).rgb();
    const QRgb light = QColor::fromRgbF(0.92f, 0.92f, 0.92f).rgb();
    EXPECT_EQ(board.pixel(0, 0), dark);
    EXPECT_EQ(board.pixel(10, 0), light);
    EXPECT_EQ(board.pixel(10, 10), dark);
    EXPECT_EQ(board.pixel(24, 24), dark); // the third cell on the diagonal, 5 pixels of it
    EXPECT_EQ(board.pixel(24, 15), light);
}

TEST(BenchControls, TheAnchorGridReportsEveryCellItsClickedOn)
{
    AnchorGrid grid(Anchor{1, 1});
    EXPECT_EQ(grid.sizeHint(), QSize(85, 85));
    EXPECT_EQ(grid.accessibleName(), QStringLiteral("Placement anchor"));
    QSignalSpy picks(&grid, &AnchorGrid::picked);
    QTest::mouseClick(&grid, Qt::LeftButton, {}, AnchorGrid::cellRect(1, 1).center());
    QTest::mouseClick(&grid, Qt::LeftButton, {}, AnchorGrid::cellRect(2, 0).topLeft());
    ASSERT_EQ(picks.count(), 2);
    EXPECT_EQ(picks.at(0).first().value<Anchor>(), (Anchor{1, 1}));
    EXPECT_EQ(picks.at(1).first().value<Anchor>(), (Anchor{2, 0}));
    EXPECT_EQ(grid.active(), (Anchor{1, 1})) << "the owner sets the anchor";

    // The marks point where the image sits: a dot in the middle, a bracket in a corner.
    const QRectF cell(0, 0, 18, 18);
    EXPECT_EQ(AnchorMark::path(1, 1, cell).boundingRect(), QRectF(5.5, 5.5, 7, 7));
    EXPECT_EQ(AnchorMark::path(2, 2, cell).boundingRect(), QRectF(18 - 3 - 10.8, 18 - 3 - 10.8, 10.8, 10.8));
    EXPECT_EQ(AnchorMark::path(1, 0, cell).boundingRect(), QRectF(3.6, 3, 10.8, 2));
}
