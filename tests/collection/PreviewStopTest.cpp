#include "PreviewTestSupport.h"
#include "SyntheticImages.h"
#include "collection/preview/PreviewPaneModel.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QTimer>
#include <condition_variable>
#include <gtest/gtest.h>
#include <map>
#include <mutex>

using namespace plenoria;
using namespace plenoria::test;

namespace {

constexpr int fileFrames = 10;

// A decoder of ten-frame files and a scaler that take each frame only when the test lets it
// through, look for a stop between frames as the real ones do, and count the frames each file (or
// scaling) had taken.
class FrameGate {
public:
    FrameGate() = default;
    FrameGate(const FrameGate&) = delete;
    FrameGate& operator=(const FrameGate&) = delete;
    // A case that fails early lets every job run out.
    ~FrameGate()
    {
        std::unique_lock lock(m_mutex);
        m_open = true;
        m_changed.notify_all();
        lock.unlock();
        PreviewPaneModel::pool().waitForDone();
    }

    PreviewPaneModel::Decoder decoder()
    {
        return [this](const QUrl& url, const std::function<void(const QImage&)>& firstFrame,
                   std::stop_token stop) -> std::optional<GIFAnimation> {
            const QString name = url.fileName();
            GIFAnimation animation;
            for (int i = 0; i < fileFrames; ++i) {
                if (stop.stop_requested())
                    return std::nullopt;
                pass(name, i);
                animation.frames.push_back(solidImage(8, 6, QColor::fromHsv(i * 30, 200, 200)));
                animation.durations.push_back(0.1);
                animation.totalDuration += 0.1;
                if (i == 0)
                    firstFrame(animation.frames.front());
            }
            return animation;
        };
    }
    // Scales through ScaledFrames::make a frame at a time, so that its own look for a stop ends it.
    PreviewPaneModel::Scaler scaler()
    {
        return [this](const GIFAnimation& animation, qint64 side,
                   std::stop_token stop) -> std::optional<ScaledFrames> {
            ScaledFrames scaled{side, {}};
            for (size_t i = 0; i < animation.frames.size(); ++i) {
                pass(scaling(side), int(i));
                const auto one
                    = ScaledFrames::make(GIFAnimation{{animation.frames[i]}, {0.1}, 0.1}, side, stop);
                if (!one)
                    return std::nullopt;
                scaled.frames.push_back(one->frames.front());
            }
            return scaled;
        };
    }
    static QString scaling(qint64 side) { return QStringLiteral("scaling to %1").arg(side); }
    // Lets `frames` more frames of the file be read.
    void letThrough(const QString& name, int frames = 1)
    {
        const std::lock_guard lock(m_mutex);
        m_files[name].allowed += frames;
        m_changed.notify_all();
    }
    // Whether the file's decode waits to read frame `index`.
    bool waitsFor(const QString& name, int index)
    {
        const std::lock_guard lock(m_mutex);
        const auto file = m_files.find(name);
        return file != m_files.end() && file->second.waitingFor == index && file->second.allowed <= 0;
    }
    int framesRead(const QString& name)
    {
        const std::lock_guard lock(m_mutex);
        return m_files[name].read;
    }

private:
    void pass(const QString& name, int index)
    {
        std::unique_lock lock(m_mutex);
        File& file = m_files[name];
        file.waitingFor = index;
        m_changed.notify_all();
        m_changed.wait(lock, [&] { return file.allowed > 0 || m_open; });
        --file.allowed;
        ++file.read;
    }

    struct File {
        int waitingFor = -1;
        int allowed = 0;
        int read = 0;
    };
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::map<QString, File> m_files;
    bool m_open = false;
};

struct StopRig {
    StopRig() { PreviewPaneModel::pool().waitForDone(); } // jobs of earlier cases

    ImageItem item(const QString& name)
    {
        const QString path = QDir(dir.path()).filePath(name);
        EXPECT_TRUE(solidImage(8, 6, Qt::red).save(path, "PNG"));
        return *ImageItem::fromUrl(QUrl::fromLocalFile(path));
    }
    // Starts `item`'s decode on `model` and lets its first frame through; it then waits for its second.
    void startReading(PreviewPaneModel& model, const ImageItem& item)
    {
        model.setDecoder(gate.decoder());
        model.setItem(item, 0);
        ASSERT_TRUE(waitUntil([&] { return gate.waitsFor(item.filename, 0); }));
        gate.letThrough(item.filename);
        ASSERT_TRUE(waitUntil([&] { return gate.waitsFor(item.filename, 1); }));
    }
    // Asks for frames of `side` and lets the first through; the scaling then waits for its second.
    void startScaling(PreviewPaneModel& model, qint64 side)
    {
        EXPECT_FALSE(model.scaledFrame(0, side));
        ASSERT_TRUE(waitUntil([&] { return gate.waitsFor(FrameGate::scaling(side), 0); }));
        gate.letThrough(FrameGate::scaling(side));
        ASSERT_TRUE(waitUntil([&] { return gate.waitsFor(FrameGate::scaling(side), 1); }));
    }
    bool poolEmptied()
    {
        return waitUntil([] { return PreviewPaneModel::pool().activeThreadCount() == 0; });
    }

    QTemporaryDir dir;
    FrameGate gate;
};

} // namespace

TEST(PreviewStop, AnOvertakenDecodeStopsAfterTheFrameItWasReading)
{
    StopRig rig;
    const ImageItem kept = rig.item(QStringLiteral("kept.png"));
    const ImageItem left = rig.item(QStringLiteral("left.png"));
    const ImageItem last = rig.item(QStringLiteral("last.png"));
    PreviewPaneModel model;

    // Nothing but another selection overtakes a decode: not the same item again, nor a new zoom,
    // playback, grounds, the pane shown, or its first frame scaled for the tiles.
    rig.startReading(model, kept);
    ASSERT_TRUE(waitUntil([&] { return model.animation() != nullptr; }));
    model.setItem(kept, 0);
    model.setZoom(ZoomLevel::px512);
    model.setAnimate(false);
    model.setGrounds(QColor(Qt::white), QColor(Qt::black), false);
    model.setOnScreen(true);
    EXPECT_FALSE(model.scaledFrame(0, 64));
    ASSERT_TRUE(waitUntil([&] { return model.scaledFrame(0, 64).has_value(); }));
    rig.gate.letThrough(kept.filename, fileFrames);
    ASSERT_TRUE(waitUntil([&] { return !model.isDecoding(); }));
    EXPECT_EQ(rig.gate.framesRead(kept.filename), fileFrames);
    ASSERT_NE(model.animation(), nullptr);
    EXPECT_EQ(model.animation()->frames.size(), size_t(fileFrames));

    // Overtaken while it reads its second frame: that frame is the last it reads.
    rig.startReading(model, left);
    model.setItem(last, 0);
    rig.gate.letThrough(left.filename);
    ASSERT_TRUE(waitUntil([&] { return rig.gate.waitsFor(last.filename, 0); }));
    rig.gate.letThrough(last.filename, fileFrames);
    ASSERT_TRUE(waitUntil([&] { return !model.isDecoding(); }));
    ASSERT_TRUE(waitUntil([] { return PreviewPaneModel::pool().activeThreadCount() == 0; }));
    EXPECT_EQ(rig.gate.framesRead(left.filename), 2);
    EXPECT_EQ(rig.gate.framesRead(last.filename), fileFrames);
    EXPECT_EQ(model.item(), last);
    ASSERT_NE(model.animation(), nullptr);
    EXPECT_EQ(model.animation()->frames.size(), size_t(fileFrames));

    // Cleared, as when the image is filed away while it decodes.
    const ImageItem filed = rig.item(QStringLiteral("filed.png"));
    rig.startReading(model, filed);
    model.setItem(std::nullopt, 0);
    rig.gate.letThrough(filed.filename);
    ASSERT_TRUE(waitUntil([] { return PreviewPaneModel::pool().activeThreadCount() == 0; }));
    EXPECT_EQ(rig.gate.framesRead(filed.filename), 2);
    EXPECT_EQ(model.animation(), nullptr);
}

TEST(PreviewStop, QuittingStopsTheDecodeOfEveryPaneAndEmptiesThePool)
{
    StopRig rig;
    const ImageItem first = rig.item(QStringLiteral("first.png"));
    const ImageItem second = rig.item(QStringLiteral("second.png"));
    PreviewPaneModel one;
    PreviewPaneModel other;
    rig.startReading(one, first);
    rig.startReading(other, second);

    // The application's loop ends as Quit ends it; the tests' application lives on.
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
    rig.gate.letThrough(first.filename);
    rig.gate.letThrough(second.filename);
    EXPECT_TRUE(waitUntil([] { return PreviewPaneModel::pool().activeThreadCount() == 0; }))
        << "a decode reads on after the quit";
    EXPECT_EQ(rig.gate.framesRead(first.filename), 2);
    EXPECT_EQ(rig.gate.framesRead(second.filename), 2);
}

TEST(PreviewStop, AScalingStopsAfterItsFrameWhenReplacedWhenTheApplicationQuitsAndWithItsPane)
{
    StopRig rig;
    const ImageItem film = rig.item(QStringLiteral("film.png"));
    auto model = std::make_unique<PreviewPaneModel>();
    model->setScaler(rig.gate.scaler());
    rig.startReading(*model, film);
    rig.gate.letThrough(film.filename, fileFrames);
    ASSERT_TRUE(waitUntil([&] { return !model->isDecoding(); }));

    // One scaling replaced by another, which the quit leaves, each while it scales its second frame.
    rig.startScaling(*model, 64);
    rig.startScaling(*model, 128);
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
    rig.gate.letThrough(FrameGate::scaling(64));
    rig.gate.letThrough(FrameGate::scaling(128));
    ASSERT_TRUE(rig.poolEmptied());
    EXPECT_EQ(rig.gate.framesRead(FrameGate::scaling(64)), 2);
    EXPECT_EQ(rig.gate.framesRead(FrameGate::scaling(128)), 2);

    rig.startScaling(*model, 32);
    model.reset();
    rig.gate.letThrough(FrameGate::scaling(32));
    ASSERT_TRUE(rig.poolEmptied()) << "a scaling outlives its pane";
    EXPECT_EQ(rig.gate.framesRead(FrameGate::scaling(32)), 2);
}
