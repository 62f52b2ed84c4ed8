#include "imaging/write/ExportFormat.h"
#include "EncoderSamples.h"
#include "SyntheticImages.h"

#include <QtConcurrent/QtConcurrent>
#include <gtest/gtest.h>

#include <unordered_set>

using namespace plenoria;
using namespace plenoria::test;

TEST(ExportFormat, RawValuesAreExactAndOrdered)
{
    EXPECT_EQ(ExportFormat::allCases(),
        (std::array<ExportFormat::Value, 3>{ExportFormat::webp, ExportFormat::gif, ExportFormat::png}));
    for (const ExportFormat::Value value : ExportFormat::allCases())
        EXPECT_EQ(ExportFormat::fromRawValue(ExportFormat(value).rawValue()), ExportFormat(value));
    EXPECT_EQ(ExportFormat(ExportFormat::gif).id(), "gif");
    EXPECT_FALSE(ExportFormat::fromRawValue(u"WEBP"));
    EXPECT_FALSE(ExportFormat::fromRawValue(u"jpg"));
    EXPECT_FALSE(ExportFormat::fromRawValue(u""));
    const std::unordered_set<ExportFormat> set{ExportFormat::png, ExportFormat::png, ExportFormat::gif};
    EXPECT_EQ(set.size(), 2u);
}

TEST(ExportFormat, PngWritesOnlyTheFirstFrame)
{
    const Filmstrip strip{
        {solidImage(8, 8, Qt::red), solidImage(8, 8, Qt::green), solidImage(8, 8, Qt::blue)}, {10, 20, 30},
        0};
    const auto bytes = ExportFormat(ExportFormat::png).encode(strip, GIFPalette::system(), 80);
    ASSERT_TRUE(bytes);
    EXPECT_FALSE(bytes->contains("acTL")); // not an animated PNG
    EXPECT_EQ(QImage::fromData(*bytes).pixelColor(4, 4), QColor(Qt::red));
}

TEST(ExportFormat, WebpIsStillOrAnimatedByFrameCountAndFitsLargeFrames)
{
    const std::vector<QImage> frames = emojiFrames(2, 2000, 1000, false);
    const ExportFormat webp(ExportFormat::webp);
    const auto still = webpmuxInfo(*webp.encode({{frames[0]}, {100}, 0}, GIFPalette::system(), 75));
    ASSERT_TRUE(still);
    EXPECT_FALSE(still->animated);
    EXPECT_EQ(QSize(still->width, still->height), QSize(1024, 512));

    const auto animated = webpmuxInfo(*webp.encode({frames, {100, 150}, 3}, GIFPalette::system(), 75));
    ASSERT_TRUE(animated);
    EXPECT_TRUE(animated->animated);
    EXPECT_EQ(QSize(animated->width, animated->height), QSize(1024, 512));
    EXPECT_EQ(animated->durations, (std::vector<int>{100, 150}));
    EXPECT_EQ(animated->loopCount, 3);

    const auto gif = inspectGif(
        *ExportFormat(ExportFormat::gif).encode({frames, {100, 150}, 3}, GIFPalette::limited(16, false), 75));
    ASSERT_TRUE(gif);
    EXPECT_EQ(QSize(gif->width, gif->height), QSize(2000, 1000));
    EXPECT_EQ(gif->frames.size(), 2u);
    EXPECT_EQ(QImage::fromData(
                  *ExportFormat(ExportFormat::png).encode({frames, {1, 1}, 0}, GIFPalette::system(), 75))
                  .size(),
        QSize(2000, 1000));
}

TEST(ExportFormat, EncodesTheSameOnWorkerThreadsAsOnTheCallingThread)
{
    // The size estimate runs every format on worker threads while the main thread renders.
    const Filmstrip strip{emojiFrames(6, 48, 48, true), {50, 50, 50, 50, 50, 50}, 0};
    struct Job {
        ExportFormat format;
        GIFPalette palette;
    };
    const std::vector<Job> jobs{{ExportFormat::webp, GIFPalette::system()},
        {ExportFormat::gif, GIFPalette::limited(32, true)}, {ExportFormat::gif, GIFPalette::system()},
        {ExportFormat::png, GIFPalette::system()}};
    std::vector<QByteArray> expected;
    for (const Job& job : jobs)
        expected.push_back(job.format.encode(strip, job.palette, 60).value_or(QByteArray()));
    std::vector<Job> many;
    for (int i = 0; i < 6; ++i)
        many.insert(many.end(), jobs.begin(), jobs.end());
    const std::vector<QByteArray> results = QtConcurrent::blockingMapped(many,
        [&](const Job& job) { return job.format.encode(strip, job.palette, 60).value_or(QByteArray()); });
    for (std::size_t i = 0; i < results.size(); ++i) {
        ASSERT_FALSE(results[i].isEmpty());
        EXPECT_EQ(results[i], expected[i % jobs.size()]) << i;
    }
}
