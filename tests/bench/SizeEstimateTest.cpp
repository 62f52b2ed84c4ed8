#include "SyntheticImages.h"
#include "bench/sheets/ExportPanelModel.h"
#include "imaging/render/Renderer.h"

#include <QCoreApplication>
#include <QTest>
#include <QThreadPool>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>
#include <set>
#include <thread>

using namespace plenoria;
using namespace plenoria::test;

namespace {

Filmstrip smallStrip(int frames = 3)
{
    Filmstrip strip;
    for (int i = 0; i < frames; ++i) {
        strip.frames.push_back(discImage(24, 24, QColor(40 * i, 120, 200)));
        strip.delays.push_back(80);
    }
    return strip;
}

// A job whose runs the test lets finish one by one, in the order it chooses. Each run reports
// the quality it was started with as every format's size, so a stored result names its run.
class GatedJobs {
public:
    ExportSizeEstimate::Job job()
    {
        return [this](const Filmstrip&, double quality, const GIFPalette&, const std::atomic_bool&) {
            std::unique_lock lock(m_mutex);
            m_entered.push_back(quality);
            m_changed.notify_all();
            m_changed.wait(lock, [&] { return m_released.count(quality) > 0; });
            ++m_returned;
            const qint64 bytes = qint64(quality);
            return ExportSizes{
                {ExportFormat::webp, bytes}, {ExportFormat::gif, bytes}, {ExportFormat::png, bytes}};
        };
    }

    // Waits (handling events) until a run for `quality` has started on its thread.
    bool waitUntilRunning(double quality)
    {
        return QTest::qWaitFor([&] {
            const std::lock_guard lock(m_mutex);
            return std::count(m_entered.begin(), m_entered.end(), quality) > 0;
        });
    }

    qint64 runs()
    {
        const std::lock_guard lock(m_mutex);
        return qint64(m_entered.size());
    }

    // Lets the run for `quality` return, waits until `count` runs have returned and let go of their
    // threads, then delivers what they reported to the main thread.
    bool finish(double quality, int count)
    {
        {
            const std::lock_guard lock(m_mutex);
            m_released.insert(quality);
            m_changed.notify_all();
        }
        const bool returned = QTest::qWaitFor([&] {
            const std::lock_guard lock(m_mutex);
            return m_returned >= count
                && ExportSizeEstimate::pool().activeThreadCount() <= int(m_entered.size()) - m_returned;
        });
        QCoreApplication::processEvents();
        return returned;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<double> m_entered;
    std::set<double> m_released;
    int m_returned = 0;
};

ExportSizes sizesOf(qint64 bytes)
{
    return {{ExportFormat::webp, bytes}, {ExportFormat::gif, bytes}, {ExportFormat::png, bytes}};
}

} // namespace

TEST(SizeEstimate, RunsOnOpeningAndWheneverQualityColoursOrDitherChange)
{
    ExportPanelModel panel(smallStrip(), QStringLiteral("x.gif"), QStringLiteral("x"));
    EXPECT_TRUE(panel.measuring());
    EXPECT_EQ(panel.sizeLabel(ExportFormat::gif), QStringLiteral("\u2026"));
    panel.appear();
    EXPECT_EQ(panel.estimate().runsStarted(), 1);
    QTRY_VERIFY(!panel.measuring());
    const ExportSizes first = panel.sizes();
    EXPECT_EQ(first.size(), 3u) << "every format encodes";

    // Neither the card nor the name is part of the key.
    panel.setFormat(ExportFormat::gif);
    panel.setEditedName(QStringLiteral("y"));
    EXPECT_EQ(panel.estimate().runsStarted(), 1);

    // Every setting re-encodes all three formats, the previous sizes showing meanwhile.
    panel.setQuality(83);
    EXPECT_EQ(panel.estimate().runsStarted(), 2);
    EXPECT_TRUE(panel.measuring());
    EXPECT_EQ(panel.sizes(), first);
    QTRY_VERIFY(!panel.measuring());
    EXPECT_EQ(panel.sizes().size(), 3u);
    EXPECT_EQ(panel.sizes().at(ExportFormat::gif), first.at(ExportFormat::gif));

    // The key holds the dither choice even where the full palette ignores it.
    panel.setGifColors(64);
    panel.setGifDither(true);
    panel.setGifColors(256);
    EXPECT_EQ(panel.estimate().runsStarted(), 5);
    panel.setGifDither(false);
    EXPECT_EQ(panel.estimate().runsStarted(), 6);
    panel.setGifDither(false);
    EXPECT_EQ(panel.estimate().runsStarted(), 6);
    QTRY_VERIFY(!panel.measuring());
}

TEST(SizeEstimate, OnlyTheLatestRunStoresWhicheverFinishesFirst)
{
    for (const bool latestFirst : {true, false}) {
        GatedJobs jobs;
        ExportPanelModel panel(smallStrip(), QStringLiteral("x.gif"), QStringLiteral("x"), jobs.job());
        panel.appear();
        ASSERT_TRUE(jobs.waitUntilRunning(82));
        panel.setQuality(83);
        ASSERT_TRUE(jobs.waitUntilRunning(83));

        ASSERT_TRUE(jobs.finish(latestFirst ? 83 : 82, 1));
        EXPECT_EQ(panel.measuring(), !latestFirst);
        EXPECT_EQ(panel.sizes(), latestFirst ? sizesOf(83) : ExportSizes());

        ASSERT_TRUE(jobs.finish(latestFirst ? 82 : 83, 2));
        EXPECT_FALSE(panel.measuring());
        EXPECT_EQ(panel.sizes(), sizesOf(83));
    }
}

TEST(SizeEstimate, AClosedPanelStoresNothingFromItsRunningJob)
{
    GatedJobs jobs;
    {
        ExportPanelModel panel(smallStrip(), QStringLiteral("x.gif"), QStringLiteral("x"), jobs.job());
        panel.appear();
        ASSERT_TRUE(jobs.waitUntilRunning(82));
        panel.stopEstimating();
        ASSERT_TRUE(jobs.finish(82, 1));
        EXPECT_TRUE(panel.sizes().empty());
        EXPECT_TRUE(panel.measuring());
    }
    // Gone altogether while its job runs: the job ends on its own copies.
    auto panel = std::make_unique<ExportPanelModel>(
        smallStrip(), QStringLiteral("x.gif"), QStringLiteral("x"), jobs.job());
    panel->setQuality(50);
    panel->appear();
    ASSERT_TRUE(jobs.waitUntilRunning(50));
    panel.reset();
    EXPECT_TRUE(jobs.finish(50, 2));
    EXPECT_EQ(jobs.runs(), 2) << "a setting made before the panel showed starts no run of its own";
}

TEST(SizeEstimate, EncodingOnSeveralThreadsWhileTheMainThreadNormalisesGivesTheSameSizes)
{
    const Filmstrip strip = animatedEmojiStrip(6, 50);
    const std::vector<std::pair<double, GIFPalette>> settings = {{82, GIFPalette::system()},
        {40, GIFPalette::limited(16, true)}, {95, GIFPalette::limited(64, false)}};
    const std::atomic_bool notSuperseded = false;
    std::vector<ExportSizes> expected;
    for (const auto& [quality, palette] : settings)
        expected.push_back(ExportSizeEstimate::estimateSizes(strip, quality, palette, notSuperseded));

    std::vector<ExportSizes> concurrent(settings.size());
    std::atomic_int running = int(settings.size());
    std::vector<std::thread> threads;
    for (size_t i = 0; i < settings.size(); ++i) {
        threads.emplace_back([&, i] {
            concurrent[i] = ExportSizeEstimate::estimateSizes(
                strip, settings[i].first, settings[i].second, notSuperseded);
            --running;
        });
    }
    // The main thread's rendering replaces the shared normalisation entry over and over meanwhile.
    qint64 normalised = 0;
    while (running > 0 || normalised < 10) {
        const QImage image = gradientImage(32 + int(normalised % 7), 32, Qt::red, Qt::blue)
                                 .convertToFormat(QImage::Format_ARGB32);
        ASSERT_TRUE(Renderer::normalized(image));
        ++normalised;
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(concurrent, expected);
}
