#include "PeerTools.h"
#include "PreviewTestSupport.h"
#include "SyntheticImages.h"
#include "collection/preview/AnimationClock.h"
#include "collection/preview/PreviewPaneView.h"
#include "collection/preview/PreviewTile.h"

#include <QCoreApplication>
#include <QDir>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThreadPool>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

using namespace plenoria;
using namespace plenoria::test;

namespace {

const QColor red(220, 30, 30);
const QColor green(30, 200, 60);
const QColor blue(40, 60, 230);

// A pane on screen over a temporary folder of images.
struct PaneRig {
    explicit PaneRig(int width = 400, int height = 600)
    {
        pane.resize(width, height);
        pane.show();
        QCoreApplication::processEvents();
    }

    ImageItem write(const QString& name, const QByteArray& bytes)
    {
        const QString path = QDir(dir.path()).filePath(name);
        EXPECT_TRUE(writeFileBytes(path, bytes));
        return *ImageItem::fromUrl(QUrl::fromLocalFile(path));
    }
    ImageItem writePng(const QString& name, QColor color, int width = 16, int height = 16)
    {
        const QString path = QDir(dir.path()).filePath(name);
        EXPECT_TRUE(solidImage(width, height, color).save(path, "PNG"));
        return *ImageItem::fromUrl(QUrl::fromLocalFile(path));
    }

    PreviewPaneModel& model() { return pane.model(); }
    void select(const std::optional<ImageItem>& item, qint64 revision = 0)
    {
        model().setItem(item, revision);
        EXPECT_TRUE(waitUntil([this] { return !model().isDecoding(); }));
    }
    // The colour at the middle of a tile, where the image sits.
    QColor middle(int position)
    {
        const QImage image = rendered(*pane.tile(position));
        return image.pixelColor(image.width() / 2, image.height() / 2);
    }

    QTemporaryDir dir;
    PreviewPaneView pane;
};

// Tells when a file is opened, by any thread: a decode that opened the file has begun reading it.
class OpenWatch {
public:
    explicit OpenWatch(const QString& path)
        : m_fd(inotify_init1(IN_CLOEXEC))
    {
        EXPECT_GE(inotify_add_watch(m_fd, QFile::encodeName(path).constData(), IN_OPEN), 0);
    }
    ~OpenWatch() { close(m_fd); }
    OpenWatch(const OpenWatch&) = delete;
    OpenWatch& operator=(const OpenWatch&) = delete;

    // False when nothing opened the file within `timeoutMs`.
    bool waitForOpen(int timeoutMs = 10000)
    {
        pollfd ready{m_fd, POLLIN, 0};
        if (poll(&ready, 1, timeoutMs) != 1)
            return false;
        alignas(inotify_event) char events[4096];
        return read(m_fd, events, sizeof events) > 0;
    }

private:
    int m_fd;
};

TEST(PreviewTileGeometry, TheSideIsTheZoomUnlessTheTileLacksRoom)
{
    EXPECT_EQ(PreviewPaneModel::tileSide(ZoomLevel::px512, 400, 300), 252);
    EXPECT_EQ(PreviewPaneModel::tileSide(ZoomLevel::px32, 400, 300), 32);
    EXPECT_EQ(PreviewPaneModel::tileSide(ZoomLevel::px512, 300, 200), 152);
    EXPECT_EQ(PreviewPaneModel::tileSide(ZoomLevel::px128, 40, 30), 1);

    // A 400 × 600 pane gives each tile 400 × 300, and the pane reports what they draw.
    PaneRig rig(400, 600);
    QSignalSpy reports(&rig.pane, &PreviewPaneView::zoomSideReported);
    rig.model().setZoom(ZoomLevel::px512);
    ASSERT_FALSE(reports.isEmpty());
    EXPECT_EQ(reports.last().at(0).toDouble(), 252);
    rig.model().setZoom(ZoomLevel::px32);
    EXPECT_EQ(reports.last().at(0).toDouble(), 32);
}

TEST(PreviewTileGeometry, AnImageKeepsItsAspectCentredInTheSquare)
{
    PaneRig rig(400, 600);
    rig.model().setGrounds(QColor(Qt::black), QColor(Qt::white), true);
    rig.model().setZoom(ZoomLevel::px128);
    rig.select(rig.writePng("wide.png", red, 64, 32));

    PreviewTile& tile = *rig.pane.tile(0);
    EXPECT_EQ(tile.imageRect(), QRectF(136, 118, 128, 64));
    const QImage image = rendered(tile);
    EXPECT_TRUE(near(image.pixelColor(140, 122), red));
    EXPECT_TRUE(near(image.pixelColor(260, 178), red));
    EXPECT_TRUE(near(image.pixelColor(200, 112), Qt::black)) << "above the image";
    EXPECT_TRUE(near(image.pixelColor(130, 150), Qt::black)) << "beside the image";
}

TEST(PreviewTileLook, GroundsOrderAndCaptionsContrast)
{
    PaneRig rig(300, 400);
    const QColor dark(16, 32, 48);
    const QColor light(240, 224, 208);
    rig.model().setGrounds(dark, light, true);
    QCoreApplication::processEvents();
    EXPECT_EQ(rig.pane.tile(0)->ground().label, "Dark");
    EXPECT_TRUE(near(rendered(*rig.pane.tile(0)).pixelColor(150, 5), dark));
    EXPECT_TRUE(near(rendered(*rig.pane.tile(1)).pixelColor(150, 5), light));

    rig.model().setGrounds(dark, light, false);
    EXPECT_EQ(rig.pane.tile(0)->ground().label, "Light");
    EXPECT_EQ(rig.pane.tile(1)->ground().label, "Dark");
    EXPECT_TRUE(near(rendered(*rig.pane.tile(0)).pixelColor(150, 5), light));

    EXPECT_EQ(PreviewPaneModel::contrastColor(QColor(0xE6, 0xE2, 0xD2)), QColor(Qt::black));
    EXPECT_EQ(PreviewPaneModel::contrastColor(QColor(0x80, 0x80, 0x80)), QColor(Qt::white));
    EXPECT_EQ(PreviewPaneModel::contrastColor(QColor(Qt::transparent)), QColor(Qt::white));

    // The caption in the bottom-left corner is drawn in the contrast colour at half strength.
    const auto captionInk = [](const QImage& image) {
        int darkest = 255;
        int lightest = 0;
        for (int y = image.height() - 24; y < image.height() - 8; ++y) {
            for (int x = 8; x < 60; ++x) {
                darkest = std::min(darkest, qGray(image.pixel(x, y)));
                lightest = std::max(lightest, qGray(image.pixel(x, y)));
            }
        }
        return std::make_pair(darkest, lightest);
    };
    rig.model().setGrounds(QColor(Qt::black), QColor(Qt::white), true);
    const auto onBlack = captionInk(rendered(*rig.pane.tile(0)));
    const auto onWhite = captionInk(rendered(*rig.pane.tile(1)));
    EXPECT_GT(onBlack.second, 60);
    EXPECT_LE(onBlack.second, 140) << "white at half strength over black";
    EXPECT_LT(onWhite.first, 195);
    EXPECT_GE(onWhite.first, 115) << "black at half strength over white";
}

TEST(PreviewPlayback, TheFrameShownFollowsTheWallClock)
{
    PaneRig rig;
    rig.model().setAnimate(true);
    double now = 0.15;
    rig.model().setClock([&now] { return afterReferenceDate(now); });
    // Delays of 0.1, 0.2 and 0.3 s: a loop of 0.6 s.
    rig.select(rig.write("lights.gif", solidFramesGif(QSize(16, 16), {{red, 10}, {green, 20}, {blue, 30}})));
    ASSERT_TRUE(rig.model().isPlaying());
    EXPECT_TRUE(AnimationClock::instance()->isRunning());

    const struct {
        double seconds;
        qint64 frame;
        QColor color;
    } moments[] = {{0.15, 1, green}, {0.05, 0, red}, {0.35, 2, blue}, {600.0 + 0.25, 1, green}};
    for (const auto& moment : moments) {
        now = moment.seconds;
        emit AnimationClock::instance()->ticked();
        EXPECT_EQ(rig.model().currentFrameIndex(), moment.frame) << moment.seconds;
        EXPECT_TRUE(near(rig.middle(0), moment.color)) << moment.seconds;
        EXPECT_TRUE(near(rig.middle(1), moment.color)) << "both tiles agree at " << moment.seconds;
    }

    // Playback off shows the first frame at once and lets the clock rest.
    now = 0.35;
    rig.model().setAnimate(false);
    EXPECT_EQ(rig.model().currentFrameIndex(), 0);
    EXPECT_TRUE(near(rig.middle(0), red));
    EXPECT_FALSE(AnimationClock::instance()->isRunning());

    rig.model().setAnimate(true);
    EXPECT_TRUE(near(rig.middle(1), blue));
    rig.pane.hide();
    EXPECT_FALSE(AnimationClock::instance()->isRunning()) << "nothing plays off screen";
}

TEST(PreviewPlayback, AGif87aPlaysFramesThatStateNoDelayAtATenthEach)
{
    PaneRig rig;
    rig.model().setAnimate(true);
    double now = 0;
    rig.model().setClock([&now] { return afterReferenceDate(now); });
    const QByteArray gif
        = makeGif87a({solidImage(12, 7, red), solidImage(12, 7, green), solidImage(12, 7, blue)});
    ASSERT_TRUE(gif.startsWith("GIF87a"));
    rig.select(rig.write("old.gif", gif));
    ASSERT_TRUE(rig.model().isPlaying());
    for (const auto& [seconds, color] : {std::pair{0.05, red}, {0.15, green}, {0.25, blue}, {0.35, red}}) {
        now = seconds;
        emit AnimationClock::instance()->ticked();
        EXPECT_TRUE(near(rig.middle(0), color)) << seconds;
    }
}

TEST(PreviewPlayback, AOneFrameImageNeedsNoClockWhileTwoFramesPlay)
{
    PaneRig rig;
    rig.model().setAnimate(true);
    double now = 0.15;
    rig.model().setClock([&now] { return afterReferenceDate(now); });
    rig.select(rig.write("one.gif", solidFramesGif(QSize(16, 16), {{green, 10}})));
    ASSERT_NE(rig.model().animation(), nullptr);
    EXPECT_FALSE(rig.model().isPlaying());
    EXPECT_FALSE(AnimationClock::instance()->isRunning());
    EXPECT_TRUE(near(rig.middle(0), green));

    // The second frame shows once the first one's 0.1 s have passed.
    rig.select(rig.write("two.gif", solidFramesGif(QSize(16, 16), {{red, 10}, {blue, 20}})));
    ASSERT_TRUE(rig.model().isPlaying());
    EXPECT_TRUE(AnimationClock::instance()->isRunning());
    for (const auto& [seconds, color] : {std::pair{0.05, red}, {0.15, blue}, {0.35, red}}) {
        now = seconds;
        emit AnimationClock::instance()->ticked();
        EXPECT_TRUE(near(rig.middle(0), color)) << seconds;
    }
}

TEST(PreviewDecoding, TheLastSelectionWinsAndThePreviousStaysUntilItArrives)
{
    PaneRig rig;
    const ImageItem first = rig.writePng("first.png", red);
    const ImageItem second = rig.writePng("second.png", blue);
    const ImageItem third = rig.writePng("third.png", green);
    rig.select(first);
    EXPECT_TRUE(near(rig.middle(0), red));

    rig.model().setItem(second, 0);
    rig.model().setItem(third, 0);
    // Results only arrive through the event loop: until then the previous image stays up.
    ASSERT_NE(rig.model().animation(), nullptr);
    EXPECT_TRUE(near(rig.middle(0), red));
    ASSERT_TRUE(waitUntil([&] { return !rig.model().isDecoding(); }));
    // Let the overtaken decode finish too: it must not replace the newer image.
    QSignalSpy changes(&rig.model(), &PreviewPaneModel::animationChanged);
    waitUntil([] { return false; }, 200);
    EXPECT_TRUE(changes.isEmpty());
    EXPECT_TRUE(near(rig.middle(0), green));
    EXPECT_TRUE(near(rig.middle(1), green));

    // Clearing the selection shows the placeholder at once.
    rig.model().setItem(std::nullopt, 0);
    EXPECT_EQ(rig.model().animation(), nullptr);
    EXPECT_FALSE(rig.model().isDecoding());
}

TEST(PreviewDecoding, AnAnimationShowsItsFirstFrameStillUntilEveryFrameIsDecoded)
{
    PaneRig rig;
    rig.model().setAnimate(true);
    rig.select(rig.writePng("still.png", red));
    std::vector<std::pair<QColor, size_t>> shown; // first frame's colour and the number of frames
    std::vector<bool> playing;
    QObject::connect(&rig.model(), &PreviewPaneModel::animationChanged, [&] {
        const GIFAnimation* animation = rig.model().animation();
        ASSERT_NE(animation, nullptr);
        ASSERT_FALSE(animation->frames.empty());
        shown.emplace_back(animation->frames.front().pixelColor(0, 0), animation->frames.size());
        playing.push_back(rig.model().isPlaying());
    });

    // The overtaken selection's first frame never shows; the newer one's shows, still, before the rest.
    const ImageItem overtaken = rig.write("blue.gif", solidFramesGif(QSize(64, 64), {{blue, 10}, {red, 10}}));
    std::vector<std::pair<QColor, int>> frames(12, {red, 10});
    frames[0] = {green, 10};
    const ImageItem wanted = rig.write("green.gif", solidFramesGif(QSize(64, 64), frames));
    rig.model().setItem(overtaken, 0);
    rig.model().setItem(wanted, 0);
    ASSERT_TRUE(waitUntil([&] { return !rig.model().isDecoding(); }));
    waitUntil([] { return false; }, 100);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_TRUE(near(shown[0].first, green));
    EXPECT_EQ(shown[0].second, 1u);
    EXPECT_EQ(shown[1].second, 12u);
    EXPECT_EQ(playing, (std::vector<bool>{false, true}));
}

TEST(PreviewDecoding, ADecodeOvertakenByClearingTheSelectionIsDropped)
{
    PaneRig rig;
    rig.model().setGrounds(QColor(Qt::black), QColor(Qt::white), true);
    std::vector<std::pair<QColor, int>> frames;
    for (int i = 0; i < 24; ++i)
        frames.push_back({i % 2 ? red : blue, 5});
    const ImageItem large = rig.write("large.gif", solidFramesGif(QSize(400, 400), frames));

    // As when the last image is filed away while it still decodes.
    OpenWatch watch(large.url.toLocalFile());
    rig.model().setItem(large, 0);
    ASSERT_TRUE(watch.waitForOpen());
    rig.model().setItem(std::nullopt, 0);

    PreviewPaneModel::pool().waitForDone();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(rig.model().animation(), nullptr);
    EXPECT_TRUE(near(rig.middle(0), Qt::black)) << "the dark tile shows its bare ground";
    EXPECT_TRUE(near(rig.middle(1), Qt::white)) << "the light tile shows its bare ground";
}

TEST(PreviewDecoding, AFileThatDoesNotDecodeLeavesThePlaceholder)
{
    PaneRig rig;
    rig.select(rig.writePng("fine.png", red));
    rig.select(rig.write("broken.png", QByteArray("\x89PNG\r\n\x1a\nnot really")));
    EXPECT_EQ(rig.model().animation(), nullptr);
    EXPECT_FALSE(near(rig.middle(0), red));
}

TEST(PreviewDecoding, ANewContentRevisionDecodesAgainThoughTheItemIsEqual)
{
    PaneRig rig;
    // Frames 1 and 2 state no delay worth playing; a timing repair leaves the most common delay,
    // the health, the byte count and so the item as they were.
    const auto gif = [](int repaired) {
        return solidFramesGif(
            QSize(8, 8), {{red, repaired}, {green, repaired}, {blue, 10}, {red, 10}, {green, 10}});
    };
    const ImageItem before = rig.write("timing.gif", gif(0));
    rig.select(before, 0);
    ASSERT_NE(rig.model().animation(), nullptr);
    ASSERT_EQ(rig.model().animation()->durations.size(), 5u);
    EXPECT_DOUBLE_EQ(rig.model().animation()->durations[0], 0.02);

    const ImageItem after = rig.write("timing.gif", gif(10));
    ASSERT_EQ(after, before);
    const qint64 generation = rig.model().decodeGeneration();
    rig.select(after, 0);
    EXPECT_EQ(rig.model().decodeGeneration(), generation) << "the same item and revision is no change";
    rig.select(after, 1);
    EXPECT_GT(rig.model().decodeGeneration(), generation);
    ASSERT_NE(rig.model().animation(), nullptr);
    ASSERT_EQ(rig.model().animation()->durations.size(), 5u);
    EXPECT_DOUBLE_EQ(rig.model().animation()->durations[0], 0.1);
}

TEST(PreviewScaling, FramesArriveScaledToTheShownSide)
{
    PaneRig rig(400, 600);
    rig.model().setZoom(ZoomLevel::px64);
    rig.select(rig.writePng("big.png", red, 300, 150));
    rendered(*rig.pane.tile(0));
    ASSERT_TRUE(waitUntil([&] { return rig.model().scaledFrame(0, 64).has_value(); }));
    EXPECT_EQ(rig.model().scaledFrame(0, 64)->size(), QSize(64, 32));

    // A new size is scaled afresh; the old set is not handed out for it.
    EXPECT_FALSE(rig.model().scaledFrame(0, 128).has_value());
    ASSERT_TRUE(waitUntil([&] { return rig.model().scaledFrame(0, 128).has_value(); }));
    EXPECT_EQ(rig.model().scaledFrame(0, 128)->size(), QSize(128, 64));
    EXPECT_EQ(fittedInSquare(QSize(1, 1000), 32), QSize(1, 32));
}

// Qt's global pool taken up by work that waits, as Qt Gui's own image work can hold it; let go on
// destruction.
class SharedPoolHeld {
public:
    SharedPoolHeld()
    {
        QThreadPool* pool = QThreadPool::globalInstance();
        for (int i = 0; i < pool->maxThreadCount(); ++i)
            pool->start([this] { m_release.acquire(); });
        EXPECT_TRUE(waitUntil([pool] { return pool->activeThreadCount() == pool->maxThreadCount(); }));
    }
    ~SharedPoolHeld()
    {
        m_release.release(QThreadPool::globalInstance()->maxThreadCount());
        QThreadPool::globalInstance()->waitForDone();
    }

private:
    QSemaphore m_release;
};

// A decoder that notes every file it begins to read and reads none until opened.
class HeldDecoder {
public:
    HeldDecoder() = default;
    HeldDecoder(const HeldDecoder&) = delete;
    HeldDecoder& operator=(const HeldDecoder&) = delete;
    // A case that ends early lets the held decodes finish.
    ~HeldDecoder()
    {
        open();
        PreviewPaneModel::pool().waitForDone();
    }
    PreviewPaneModel::Decoder decoder()
    {
        return [this](const QUrl& url, const std::function<void(const QImage&)>& firstFrame,
                   std::stop_token stop) {
            std::unique_lock lock(m_mutex);
            m_begun << url.fileName();
            m_changed.wait(lock, [this] { return m_open; });
            lock.unlock();
            return GIFAnimation::load(url, firstFrame, stop);
        };
    }
    QStringList begun()
    {
        const std::lock_guard lock(m_mutex);
        return m_begun;
    }
    void open()
    {
        const std::lock_guard lock(m_mutex);
        m_open = true;
        m_changed.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    QStringList m_begun;
    bool m_open = false;
};

TEST(PreviewDecoding, DecodingAndScalingGoOnWhileQtsSharedPoolIsTakenUp)
{
    // The model alone: painting on the main thread may itself wait on Qt's pool.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("three.gif"));
    ASSERT_TRUE(writeFileBytes(path, solidFramesGif(QSize(48, 24), {{red, 10}, {green, 10}, {blue, 10}})));
    PreviewPaneModel model;
    const SharedPoolHeld held;
    model.setItem(ImageItem::fromUrl(QUrl::fromLocalFile(path)), 0);
    ASSERT_TRUE(waitUntil([&] { return !model.isDecoding(); }));
    ASSERT_NE(model.animation(), nullptr);
    EXPECT_EQ(model.animation()->frames.size(), 3u);
    ASSERT_TRUE(waitUntil([&] { return model.scaledFrame(1, 40).has_value(); }));
    EXPECT_EQ(model.scaledFrame(1, 40)->size(), QSize(40, 20));
}

TEST(PreviewDecoding, AHeldKeyKeepsToThePoolAndTheLastSelectionIsReadNext)
{
    PaneRig rig;
    QThreadPool& pool = PreviewPaneModel::pool();
    pool.waitForDone(); // overtaken decodes of earlier cases
    HeldDecoder held;
    rig.model().setDecoder(held.decoder());
    const int threads = pool.maxThreadCount();
    std::vector<ImageItem> items;
    for (int i = 0; i < threads + 3; ++i) {
        const QColor colour = QColor::fromHsv((i * 40) % 360, 200, 200);
        items.push_back(rig.write(
            QStringLiteral("f%1.gif").arg(i), solidFramesGif(QSize(20, 12), {{colour, 10}, {colour, 10}})));
    }
    // One selection after another, each begun before the next: every thread reads one.
    for (int i = 0; i < threads; ++i) {
        rig.model().setItem(items[size_t(i)], 0);
        ASSERT_TRUE(waitUntil([&] { return held.begun().size() == i + 1; }));
    }
    for (size_t i = size_t(threads); i < items.size(); ++i)
        rig.model().setItem(items[i], 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(held.begun().size(), threads) << "no thread is free, so nothing more begins";
    EXPECT_EQ(pool.activeThreadCount(), threads);

    held.open();
    ASSERT_TRUE(waitUntil([&] { return !rig.model().isDecoding(); }));
    pool.waitForDone();
    QCoreApplication::processEvents();
    // The selections overtaken while they waited for a thread were never read.
    QStringList expected;
    for (int i = 0; i < threads; ++i)
        expected << items[size_t(i)].filename;
    expected << items.back().filename;
    QStringList begun = held.begun();
    EXPECT_EQ(begun.takeLast(), items.back().filename) << "read only once a thread was free";
    begun.sort();
    expected.removeLast();
    EXPECT_EQ(begun, expected);
    EXPECT_TRUE(near(rig.middle(0), QColor::fromHsv(((threads + 2) * 40) % 360, 200, 200)));
}

} // namespace
