#include "app/FrameKeeper.h"
#include "QtPrinting.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

using namespace plenoria;

namespace {

struct KeeperRig {
    KeeperRig()
        : settings(dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat)
    { }

    // A window placed with the keeper, as the application does before showing it.
    std::unique_ptr<QWidget> window(QRect placement = QRect(10, 10, 300, 200))
    {
        auto made = std::make_unique<QWidget>();
        made->setGeometry(placement);
        keeper = new FrameKeeper(made.get(), &settings);
        made->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(made.get()));
        return made;
    }

    QString stored() { return settings.value(QLatin1String(FrameKeeper::key)).toString(); }

    QTemporaryDir dir;
    QSettings settings;
    FrameKeeper* keeper = nullptr;
};

} // namespace

TEST(FrameKeeper, FramesTravelAsRectangleText)
{
    EXPECT_EQ(FrameKeeper::frameText(QRect(-40, 25, 900, 700)), "{{-40, 25}, {900, 700}}");
    EXPECT_EQ(FrameKeeper::frameFromText("{{-40, 25}, {900, 700}}"), QRect(-40, 25, 900, 700));
    EXPECT_EQ(FrameKeeper::frameFromText("{{12.0, 8}, {640.5, 480}}"), QRect(12, 8, 640, 480));
    EXPECT_EQ(FrameKeeper::frameFromText(""), std::nullopt);
    EXPECT_EQ(FrameKeeper::frameFromText("{{1, 2}, {3}}"), std::nullopt);
    EXPECT_EQ(FrameKeeper::frameFromText("{{1, 2}, {0, 300}}"), std::nullopt);
    EXPECT_EQ(FrameKeeper::frameFromText("{{1, 2}, {99999999999, 300}}"), std::nullopt);
}

TEST(FrameKeeper, OnlyAFrameWhoseTitleBarCanBeReachedIsRestored)
{
    const QList<QRect> screens{QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
    EXPECT_TRUE(FrameKeeper::isReachable(QRect(100, 100, 800, 600), screens));
    EXPECT_TRUE(FrameKeeper::isReachable(QRect(1800, 200, 800, 600), screens));
    // Most of it off the right edge, but 100 × 40 of it, top edge included, still on screen.
    EXPECT_TRUE(FrameKeeper::isReachable(QRect(3100, 984, 800, 600), screens));
    // A display that is gone.
    EXPECT_FALSE(FrameKeeper::isReachable(QRect(-2000, 100, 800, 600), screens));
    // Title bar above every screen while the rest of the window shows.
    EXPECT_FALSE(FrameKeeper::isReachable(QRect(100, -30, 800, 600), screens));
    // Only a sliver left on screen.
    EXPECT_FALSE(FrameKeeper::isReachable(QRect(3150, 100, 800, 600), screens));
    EXPECT_FALSE(FrameKeeper::isReachable(QRect(100, 1050, 800, 600), screens));
    EXPECT_FALSE(FrameKeeper::isReachable(QRect(100, 100, 800, 600), {}));
}

TEST(FrameKeeper, ABurstOfResizesIsStoredOnceAfterTheLastOne)
{
    KeeperRig rig;
    auto window = rig.window();
    QSignalSpy saved(rig.keeper, &FrameKeeper::frameSaved);
    EXPECT_TRUE(rig.stored().isEmpty());
    for (int step = 1; step <= 20; ++step)
        window->resize(300 + step, 200 + step);
    EXPECT_TRUE(rig.keeper->savePending());
    EXPECT_TRUE(rig.stored().isEmpty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !rig.keeper->savePending(); }));
    EXPECT_EQ(saved.count(), 1);
    EXPECT_EQ(rig.stored(), FrameKeeper::frameText(window->geometry()));
    EXPECT_EQ(window->size(), QSize(320, 220));
}

TEST(FrameKeeper, ClosingRightAfterAMoveStoresAtOnceAndOnlyOnce)
{
    KeeperRig rig;
    auto window = rig.window();
    QSignalSpy saved(rig.keeper, &FrameKeeper::frameSaved);
    window->move(40, 50);
    ASSERT_TRUE(rig.keeper->savePending());
    const QRect moved = window->geometry();
    window->close();
    EXPECT_EQ(saved.count(), 1);
    EXPECT_EQ(rig.stored(), FrameKeeper::frameText(moved));
    EXPECT_FALSE(rig.keeper->savePending());
    QTest::qWait(2 * FrameKeeper::saveDelayMs);
    EXPECT_EQ(saved.count(), 1);
}

TEST(FrameKeeper, AStoredFrameComesBackOnlyWhereItCanBeReached)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    {
        KeeperRig rig;
        const QRect frame(screen.left() + 20, screen.top() + 30, 320, 240);
        rig.settings.setValue(QLatin1String(FrameKeeper::key), FrameKeeper::frameText(frame));
        auto window = rig.window();
        EXPECT_EQ(window->geometry(), frame);
    }
    {
        KeeperRig rig;
        const QString gone = FrameKeeper::frameText(QRect(screen.right() + 500, 30, 320, 240));
        rig.settings.setValue(QLatin1String(FrameKeeper::key), gone);
        auto window = rig.window(QRect(15, 25, 300, 200));
        EXPECT_EQ(window->geometry(), QRect(15, 25, 300, 200));
        // Left in place until the window moves.
        EXPECT_EQ(rig.stored(), gone);
    }
    {
        KeeperRig rig;
        rig.settings.setValue(QLatin1String(FrameKeeper::key), QStringLiteral("garbage"));
        auto window = rig.window(QRect(15, 25, 300, 200));
        EXPECT_EQ(window->geometry(), QRect(15, 25, 300, 200));
    }
}
