// Selecting a 100-frame 512 × 512 GIF in the preview pane, on screen (offscreen platform): the time
// until the decoded animation is installed, until its frames are ready at the shown size, and the
// longest the main thread stays busy in one turn of its event loop meanwhile and during the next
// half second of playback. The zoom argument is the preview size (512: frames shown as decoded;
// 128: every frame scaled down). `--dump-source DIR` writes the GIF for preview_peers.sh.

#include "GifBuilder.h"
#include "PreviewPaneView.h"
#include "SyntheticImages.h"
#include "BenchmarkRunner.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstring>

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

// Runs the event loop until `done`, returning the longest single turn in milliseconds.
double spin(const std::function<bool()>& done)
{
    double longest = 0;
    QElapsedTimer turn;
    while (!done()) {
        turn.start();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        longest = std::max(longest, turn.nsecsElapsed() / 1e6);
    }
    return longest;
}

void BM_SelectAnimatedGif(benchmark::State& state)
{
    const ImageItem item = *ImageItem::fromUrl(QUrl::fromLocalFile(ensureSource()));
    const auto zoom = ZoomLevel(state.range(0));
    PreviewPaneView pane;
    pane.resize(side + 100, 2 * (side + 100));
    pane.show();
    PreviewPaneModel& model = pane.model();
    model.setZoom(zoom);
    model.setAnimate(true);
    QCoreApplication::processEvents();

    double decodeMs = 0, readyMs = 0, stallMs = 0, playbackStallMs = 0;
    qint64 revision = 0;
    for (auto _ : state) {
        model.setItem(std::nullopt, revision);
        QCoreApplication::processEvents();
        QElapsedTimer clock;
        clock.start();
        model.setItem(item, ++revision);
        double installed = -1;
        const double decodeStall = spin([&] {
            if (installed < 0 && model.animation())
                installed = clock.nsecsElapsed() / 1e6;
            return model.animation()
                && model.scaledFrame(model.currentFrameIndex(), rawValue(zoom)).has_value();
        });
        const double ready = clock.nsecsElapsed() / 1e6;
        state.PauseTiming();
        QElapsedTimer playing;
        playing.start();
        const double playStall = spin([&] { return playing.elapsed() > 500; });
        state.ResumeTiming();
        decodeMs += installed;
        readyMs += ready;
        stallMs = std::max(stallMs, decodeStall);
        playbackStallMs = std::max(playbackStallMs, playStall);
    }
    const double n = double(state.iterations());
    state.counters["decode_ms"] = decodeMs / n;
    state.counters["ready_ms"] = readyMs / n;
    state.counters["max_stall_ms"] = stallMs;
    state.counters["max_playback_stall_ms"] = playbackStallMs;
}

BENCHMARK(BM_SelectAnimatedGif)
    ->Arg(512)
    ->Arg(128)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--dump-source") == 0) {
        QFile::remove(QDir(QString::fromLocal8Bit(argv[2])).filePath(QStringLiteral("preview.gif")));
        return QFile::copy(ensureSource(),
                   QDir(QString::fromLocal8Bit(argv[2])).filePath(QStringLiteral("preview.gif")))
            ? 0
            : 1;
    }
    plenoria::bench::useOffscreenPlatform();
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    return plenoria::bench::runBenchmarks(argc, argv);
}
