#include "GifBuilder.h"
#include "HostileFiles.h"
#include "PeerTools.h"
#include "SyntheticImages.h"
#include "imaging/read/GIFAnimation.h"
#include "imaging/read/ImageSource.h"
#include "imaging/write/APNGWriter.h"
#include "imaging/write/AnimatedWebPWriter.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;

namespace {

// Three different frames of 20 × 12 in every animated type we read.
std::vector<std::pair<const char*, QByteArray>> threeFrameFiles()
{
    Filmstrip strip;
    const QColor colors[] = {QColor(220, 30, 30), QColor(30, 200, 60), QColor(40, 60, 230)};
    for (const QColor& color : colors) {
        strip.frames.push_back(solidImage(20, 12, color));
        strip.delays.push_back(100);
    }
    std::vector<std::pair<const char*, QByteArray>> files;
    files.emplace_back("GIF", makeAnimatedGif(3, QSize(20, 12)));
    files.emplace_back("APNG", encodeAPNG(strip, 0).value_or(QByteArray()));
    files.emplace_back("WebP", encodeAnimatedWebPForSave(strip, true, 0).value_or(QByteArray()));
    files.emplace_back("TIFF", multiPageTiff(strip.frames));
    return files;
}

// Reads every frame, asking for a stop once `stopAfter` frames are read (never when 0); counts what
// the reader handed over.
struct StoppedRead {
    std::optional<std::vector<DecodedFrame>> frames;
    int read = 0;
};
StoppedRead readStoppingAfter(const ImageSource& source, int stopAfter)
{
    std::stop_source stop;
    StoppedRead result;
    result.frames = source.decodeFrames(
        [&](const DecodedFrame&) {
            if (++result.read == stopAfter)
                stop.request_stop();
        },
        stop.get_token());
    return result;
}

} // namespace

TEST(ReadingStop, EveryAnimatedReaderReadsNoFrameAfterTheStop)
{
    for (const auto& [type, bytes] : threeFrameFiles()) {
        SCOPED_TRACE(type);
        const std::optional<ImageSource> source = ImageSource::fromData(bytes);
        ASSERT_TRUE(source);
        ASSERT_EQ(source->frameCount(), 3);

        const StoppedRead whole = readStoppingAfter(*source, 0);
        ASSERT_TRUE(whole.frames);
        EXPECT_EQ(whole.frames->size(), 3u);

        // Stopped after the first, the second or the last frame: nothing more is read, nothing given.
        for (int stopAfter : {1, 2, 3}) {
            const StoppedRead stopped = readStoppingAfter(*source, stopAfter);
            EXPECT_EQ(stopped.read, stopAfter);
            EXPECT_FALSE(stopped.frames) << "stopped after " << stopAfter;
        }

        // A stop asked for before the reading began reads nothing.
        std::stop_source early;
        early.request_stop();
        int read = 0;
        EXPECT_FALSE(source->decodeFrames([&](const DecodedFrame&) { ++read; }, early.get_token()));
        EXPECT_EQ(read, 0);
    }
}

TEST(ReadingStop, AStoppedPreviewLoadGivesNothingAfterItsFirstFrame)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("three.gif"));
    ASSERT_TRUE(writeFileBytes(path, makeAnimatedGif(3, QSize(20, 12))));
    const QUrl url = QUrl::fromLocalFile(path);

    std::stop_source stop;
    int firstFrames = 0;
    const auto stopAtFirst = [&](const QImage& first) {
        ++firstFrames;
        EXPECT_EQ(first.size(), QSize(20, 12));
        stop.request_stop();
    };
    EXPECT_FALSE(GIFAnimation::load(url, stopAtFirst, stop.get_token()));
    EXPECT_EQ(firstFrames, 1);

    // The same call without a stop reads on to the last frame.
    EXPECT_EQ(GIFAnimation::load(url, [](const QImage&) {}, {}).value_or(GIFAnimation{}).frames.size(), 3u);
}
