// The frames timeline of a 500-frame 128 × 128 animation, as the bench shows it under the canvas:
//   selectFramesRow  the user selects the frames row: the read-only strip becomes the editable one,
//                    a delay field in each of its 500 cells, laid out and painted once;
//   delayEdit        one delay typed into a cell's field: the row written, the canvas rendered and
//                    the strip refreshed in place, then painted.
// Goal: each under 100 ms. Measured pinned to one core:
//   taskset -c 0 build-bench/benchmarks/bench_FramesTimelineBenchmark
#include "BenchmarkRunner.h"
#include "GifBuilder.h"
#include "SyntheticImages.h"
#include "bench/frames/FramesTimeline.h"
#include "bench/frames/TimelineHost.h"
#include "bench/model/BenchModel.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <functional>
#include <utility>

using namespace plenoria;

namespace {

constexpr int frameCount = 500;

QByteArray animatedSource()
{
    std::vector<test::GifFrame> frames;
    for (int i = 0; i < frameCount; ++i) {
        const QImage frame = test::animatedEmojiFrame(i, frameCount)
                                 .scaled(128, 128, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        frames.push_back({frame, {}, 4, 0, false});
    }
    return test::makeGif(frames, {{}, 0});
}

std::unique_ptr<BenchModel> benchOver(const QByteArray& source)
{
    RestorationSession session;
    session.fileURL = QUrl::fromLocalFile(QStringLiteral("/collection/spin.gif"));
    session.originalData = source;
    auto model = std::make_unique<BenchModel>(session, true);
    model->setRecord({TreatmentEntry(FramesSpec::fromDelays(std::vector<qint64>(frameCount, 40)))});
    return model;
}

void settle(QWidget& widget)
{
    QApplication::processEvents();
    widget.repaint();
}

void selectFramesRow(benchmark::State& state, const QByteArray& source)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto model = benchOver(source);
        TimelineHost host(*model);
        host.resize(900, 160);
        host.show();
        settle(host);
        state.ResumeTiming();
        model->setSelection(model->record()[0].id);
        settle(host);
        if (!host.timeline()->editable() || host.timeline()->cellCount() != frameCount)
            state.SkipWithError("the editable strip was not shown");
    }
}

void delayEdit(benchmark::State& state, const QByteArray& source)
{
    auto model = benchOver(source);
    model->setSelection(model->record()[0].id);
    TimelineHost host(*model);
    host.resize(900, 160);
    host.show();
    settle(host);
    qint64 step = 0;
    for (auto _ : state) {
        const qint64 position = step % frameCount;
        host.timeline()->delayBinding(position).set(step % 2 == 0 ? 60 : 40);
        settle(host);
        ++step;
    }
    if (host.timeline()->headerTexts().summary.isEmpty())
        state.SkipWithError("the header was not shown");
}

} // namespace

int main(int argc, char** argv)
{
    plenoria::bench::useOffscreenPlatform();
    QApplication app(argc, argv);
    const QByteArray source = animatedSource();
    plenoria::bench::registerCases({
        {"timeline/selectFramesRow500x128", [&](benchmark::State& state) { selectFramesRow(state, source); }},
        {"timeline/delayEdit500x128", [&](benchmark::State& state) { delayEdit(state, source); }},
    });
    return plenoria::bench::runBenchmarks(argc, argv);
}
