// Saving a 100-frame 256 × 256 animation, as the bench's save does on the main thread, in each
// animated type. Peers side by side: img2webp (same lossless/lossy settings) and apngasm with
// plain zlib, run by the shell script beside this file.
#include "APNGWriter.h"
#include "AnimatedWebPWriter.h"
#include "TranslucentImages.h"

#include <QGuiApplication>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cmath>

using namespace plenoria;

namespace {

// A typical animated emoji: a shaded face on a transparent ground with a part that moves, so
// frames share most of their pixels, as real ones do.
QImage emojiFrame(int index)
{
    QImage frame(256, 256, QImage::Format_RGBA8888_Premultiplied);
    frame.fill(Qt::transparent);
    QPainter painter(&frame);
    painter.setRenderHint(QPainter::Antialiasing);
    QRadialGradient shade(QPointF(100, 90), 160);
    shade.setColorAt(0, QColor(255, 230, 90));
    shade.setColorAt(1, QColor(230, 150, 20));
    painter.setPen(QPen(QColor(120, 70, 0), 6));
    painter.setBrush(shade);
    painter.drawEllipse(QRectF(16, 16, 224, 224));
    const double angle = index * 2 * M_PI / 100;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(60, 30, 10));
    painter.drawEllipse(QPointF(90 + 12 * std::cos(angle), 100 + 12 * std::sin(angle)), 14, 20);
    painter.drawEllipse(QPointF(166 + 12 * std::cos(angle), 100 + 12 * std::sin(angle)), 14, 20);
    painter.setBrush(QColor(200, 40, 60, 200));
    painter.drawChord(QRectF(70, 130, 116, 70 + 20 * std::sin(angle)), 180 * 16, 180 * 16);
    return frame;
}

const Filmstrip& hundredFrames()
{
    static const Filmstrip strip = [] {
        Filmstrip s;
        for (int i = 0; i < 100; ++i) {
            s.frames.push_back(emojiFrame(i));
            s.delays.push_back(40);
        }
        return s;
    }();
    return strip;
}

void animatedWebPLossless(benchmark::State& state)
{
    qint64 bytes = 0;
    for (auto _ : state)
        bytes = encodeAnimatedWebPForSave(hundredFrames(), true, 0).value_or(QByteArray()).size();
    state.counters["bytes"] = double(bytes);
}

void animatedWebPLossy(benchmark::State& state)
{
    qint64 bytes = 0;
    for (auto _ : state)
        bytes = encodeAnimatedWebPForSave(hundredFrames(), false, 0).value_or(QByteArray()).size();
    state.counters["bytes"] = double(bytes);
}

void animatedPNG(benchmark::State& state)
{
    qint64 bytes = 0;
    for (auto _ : state)
        bytes = encodeAPNG(hundredFrames(), 0).value_or(QByteArray()).size();
    state.counters["bytes"] = double(bytes);
}

} // namespace

BENCHMARK(animatedWebPLossless)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(animatedWebPLossy)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(animatedPNG)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // `--dump-frames DIR` writes the frames as frame000.png … for the peers' side of the comparison.
    if (argc == 3 && QByteArray(argv[1]) == "--dump-frames") {
        for (size_t i = 0; i < hundredFrames().frames.size(); ++i) {
            const QString name = QStringLiteral("%1/frame%2.png")
                                     .arg(QString::fromLocal8Bit(argv[2]))
                                     .arg(i, 3, 10, QLatin1Char('0'));
            if (!hundredFrames().frames[i].save(name, "PNG"))
                return 1;
        }
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
