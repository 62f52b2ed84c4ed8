// Selecting a 100-frame 512 × 512 GIF in the preview pane, on screen (offscreen platform): the time
// until a tile first paints the image (its first frame, shown while the rest decode), until every
// frame is decoded and installed, until they are ready at the shown size, and the longest the main
// thread stays busy in one turn of its event loop meanwhile and during the next half second of
// playback, with the main thread's own CPU time in that turn beside it. The first selection of each
// run is reported apart as the cold one. The zoom argument is the preview size (512: frames shown
// as decoded; 128: every frame scaled down). BM_SelectAfterHeldKey holds the Down key through a
// folder of such GIFs: 32 selected one after another, 30 ms apart (a key's repeat rate), then the
// one measured, with the longest main-thread turn over the whole run and the time from the last
// selection until its first frame is painted and all its frames are ready. `--dump-source DIR`
// writes the GIF for preview_peers.sh.

#include "BenchmarkRunner.h"
#include "GifBuilder.h"
#include "SyntheticImages.h"
#include "collection/preview/PreviewPaneView.h"
#include "collection/preview/PreviewTile.h"
#include "imaging/read/GIFAnimation.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPaintEvent>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstring>
#include <ctime>

using namespace plenoria;

namespace {

constexpr int frameCount = 100;
constexpr int side = 512;

QString gifPath()
{
    return QDir::temp().filePath(QStringLiteral("plenoria-preview-bench-100x512.gif"));
}

// A disc travelling over a gradient, a different picture in every frame, 4 cs apart.
QByteArray makeSource()
{
    std::vector<test::GifFrame> frames;
    for (int i = 0; i < frameCount; ++i) {
        QImage image
            = test::gradientImage(side, side, QColor::fromHsv((i * 3) % 360, 160, 220), QColor(30, 30, 60));
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(QColor::fromHsv((i * 29) % 360, 200, 250));
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(QPointF(96 + 3.2 * i, 256 + 150 * std::sin(i / 8.0)), 80, 80);
        painter.end();
        test::GifFrame frame;
        frame.image = image;
        frame.delayCentiseconds = 4;
        frames.push_back(frame);
    }
    test::GifOptions options;
    options.loopCount = 0;
    return test::makeGif(frames, options);
}

QString ensureSource()
{
    const QString path = gifPath();
    if (!QFile::exists(path)) {
        QFile file(path);
        const QByteArray bytes = makeSource();
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write the benchmark GIF");
    }
    return path;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// One turn of the event loop: its wall time, and how much of it the main thread itself ran. On one
// core the rest is mostly the time the scheduler gave a pool thread instead.
struct Turn {
    double wallMs = 0;
    double cpuMs = 0;
};

Turn longer(const Turn& a, const Turn& b)
{
    return b.wallMs > a.wallMs ? b : a;
}

double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// Runs the event loop until `done`, returning the longest single turn.
Turn spin(const std::function<bool()>& done)
{
    Turn longest;
    QElapsedTimer turn;
    while (!done()) {
        turn.start();
        const double cpu = threadCpuMs();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        longest = longer(longest, Turn{turn.nsecsElapsed() / 1e6, threadCpuMs() - cpu});
    }
    return longest;
}

// The moment a widget first paints while `showing` says the image is there.
class FirstPaint : public QObject {
public:
    FirstPaint(QWidget* widget, std::function<bool()> showing)
        : m_showing(std::move(showing))
    {
        widget->installEventFilter(this);
    }
    void restart(const QElapsedTimer& clock)
    {
        m_clock = clock;
        m_ms = -1;
    }
    double ms() const { return m_ms; }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && m_ms < 0 && m_showing())
            m_ms = m_clock.nsecsElapsed() / 1e6;
        return false;
    }

private:
    std::function<bool()> m_showing;
    QElapsedTimer m_clock;
    double m_ms = -1;
};

// Both tiles on screen at the zoom, animations on, the first layout done.
PreviewPaneModel& showPane(PreviewPaneView& pane, ZoomLevel zoom)
{
    pane.resize(side + 100, 2 * (side + 100));
    pane.show();
    PreviewPaneModel& model = pane.model();
    model.setZoom(zoom);
    model.setAnimate(true);
    QCoreApplication::processEvents();
    return model;
}

void BM_SelectAnimatedGif(benchmark::State& state)
{
    const ImageItem item = *ImageItem::fromUrl(QUrl::fromLocalFile(ensureSource()));
    const auto zoom = ZoomLevel(state.range(0));
    PreviewPaneView pane;
    PreviewPaneModel& model = showPane(pane, zoom);

    FirstPaint firstPaint(pane.tile(0), [&] { return model.animation() != nullptr; });
    std::vector<double> paintMs, decodeMs, readyMs;
    Turn stall;
    double playbackStallMs = 0;
    qint64 revision = 0;
    for (auto _ : state) {
        model.setItem(std::nullopt, revision);
        QCoreApplication::processEvents();
        QElapsedTimer clock;
        clock.start();
        firstPaint.restart(clock);
        model.setItem(item, ++revision);
        double installed = -1;
        const Turn decodeStall = spin([&] {
            if (installed < 0 && model.animation() && !model.isDecoding())
                installed = clock.nsecsElapsed() / 1e6;
            return firstPaint.ms() >= 0 && model.animation() && !model.isDecoding()
                && model.scaledFrame(model.currentFrameIndex(), rawValue(zoom)).has_value();
        });
        const double ready = clock.nsecsElapsed() / 1e6;
        state.PauseTiming();
        QElapsedTimer playing;
        playing.start();
        const Turn playStall = spin([&] { return playing.elapsed() > 500; });
        state.ResumeTiming();
        paintMs.push_back(firstPaint.ms());
        decodeMs.push_back(installed);
        readyMs.push_back(ready);
        stall = longer(stall, decodeStall);
        playbackStallMs = std::max(playbackStallMs, playStall.wallMs);
    }
    state.counters["cold_first_paint_ms"] = paintMs.front();
    state.counters["first_paint_ms"] = median(paintMs);
    state.counters["decode_ms"] = median(decodeMs);
    state.counters["ready_ms"] = median(readyMs);
    state.counters["max_stall_ms"] = stall.wallMs;
    state.counters["max_stall_cpu_ms"] = stall.cpuMs;
    state.counters["max_playback_stall_ms"] = playbackStallMs;
}

// Copies of the benchmark GIF under names of their own: each selection reads its own file.
std::vector<ImageItem> heldKeyItems(int count)
{
    std::vector<ImageItem> items;
    for (int i = 0; i < count; ++i) {
        const QString path
            = QDir::temp().filePath(QStringLiteral("plenoria-preview-bench-held-%1.gif").arg(i));
        if (!QFile::exists(path) && !QFile::copy(ensureSource(), path))
            qFatal("cannot copy the benchmark GIF");
        items.push_back(*ImageItem::fromUrl(QUrl::fromLocalFile(path)));
    }
    return items;
}

void BM_SelectAfterHeldKey(benchmark::State& state)
{
    constexpr int passed = 32;
    constexpr qint64 repeatMs = 30;
    const std::vector<ImageItem> items = heldKeyItems(passed + 1);
    const auto zoom = ZoomLevel(state.range(0));
    PreviewPaneView pane;
    PreviewPaneModel& model = showPane(pane, zoom);

    // The last selection's first frame is on the tiles once an animation arrives after it.
    bool lastArrived = false;
    QObject::connect(&model, &PreviewPaneModel::animationChanged,
        [&] { lastArrived = model.item() == items.back() && model.animation(); });
    FirstPaint firstPaint(pane.tile(0), [&] { return lastArrived; });
    std::vector<double> paintMs, readyMs;
    Turn stall;
    qint64 revision = 0;
    for (auto _ : state) {
        state.PauseTiming();
        model.setItem(std::nullopt, revision);
        // Each run starts with no decode of the previous one still going.
        PreviewPaneModel::pool().waitForDone();
        QCoreApplication::processEvents();
        lastArrived = false;
        state.ResumeTiming();
        Turn longest;
        QElapsedTimer held;
        held.start();
        for (int i = 0; i < passed; ++i) {
            model.setItem(items[size_t(i)], ++revision);
            longest = longer(longest, spin([&] { return held.elapsed() >= (i + 1) * repeatMs; }));
        }
        QElapsedTimer clock;
        clock.start();
        firstPaint.restart(clock);
        model.setItem(items.back(), ++revision);
        longest = longer(longest, spin([&] {
            return firstPaint.ms() >= 0 && lastArrived && !model.isDecoding()
                && model.scaledFrame(model.currentFrameIndex(), rawValue(zoom)).has_value();
        }));
        paintMs.push_back(firstPaint.ms());
        readyMs.push_back(clock.nsecsElapsed() / 1e6);
        stall = longer(stall, longest);
    }
    state.counters["first_paint_ms"] = median(paintMs);
    state.counters["ready_ms"] = median(readyMs);
    state.counters["max_stall_ms"] = stall.wallMs;
    state.counters["max_stall_cpu_ms"] = stall.cpuMs;
}

BENCHMARK(BM_SelectAnimatedGif)
    ->Arg(512)
    ->Arg(128)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(9);

BENCHMARK(BM_SelectAfterHeldKey)->Arg(512)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--dump-source") == 0) {
        const std::optional<QDir> folder = plenoria::bench::dumpFolder(argv[2]);
        if (!folder)
            return 1;
        const QString target = folder->filePath(QStringLiteral("preview.gif"));
        QFile::remove(target);
        return QFile::copy(ensureSource(), target) ? 0 : plenoria::bench::cannotWrite(target);
    }
    if (plenoria::bench::startOnly(argc, argv))
        return 0;
    if (argc == 3 && std::strcmp(argv[1], "--decode") == 0)
        return GIFAnimation::load(QUrl::fromLocalFile(QString::fromLocal8Bit(argv[2]))) ? 0 : 1;
    plenoria::bench::useOffscreenPlatform();
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    return plenoria::bench::runBenchmarks(argc, argv);
}
