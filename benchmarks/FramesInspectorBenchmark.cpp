// The frames inspector over 100 frames of 512 × 512, every frame shown twice in a row (50 repeats):
//   countDuplicates  a change of the frames' order (a skip): the repeats are counted afresh, every
//                    frame normalised and compared, and the panel refreshed;
//   delayEdit        a delay applied to the selection: nothing that decides a repeat changed, so
//                    the panel refreshes and repaints from the count it has.
// The count runs once per change of the frames or the order, never per refresh or paint; each case
// checks that. Measured pinned to one core:
//   taskset -c 0 build-bench/benchmarks/bench_FramesInspectorBenchmark
#include "BenchmarkRunner.h"
#include "SyntheticImages.h"
#include "inspectors/frames/FramesInspector.h"

#include <QApplication>
#include <QPushButton>
#include <benchmark/benchmark.h>
#include <functional>
#include <utility>

using namespace plenoria;

namespace {

constexpr int frameCount = 100;

std::vector<QImage> repeatedFrames()
{
    std::vector<QImage> frames;
    for (int i = 0; i < frameCount; ++i) {
        // A separate copy each time, so repeats are found by their bytes.
        frames.push_back(test::animatedEmojiFrame(i / 2, frameCount / 2)
                             .scaled(512, 512, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    return frames;
}

struct Rig {
    explicit Rig(std::vector<QImage> frames)
        : spec(FramesSpec::fromDelays(std::vector<qint64>(frameCount, 40)))
    {
        inspector.setSources(
            Binding<FramesSpec>([this] { return spec; }, [this](const FramesSpec& s) { spec = s; }),
            Binding<FrameSelection>(
                [this] { return selection; }, [this](const FrameSelection& s) { selection = s; }),
            std::move(frames));
        inspector.resize(250, 800);
        inspector.show();
        QApplication::processEvents();
    }
    FramesSpec spec;
    FrameSelection selection{0, 1, 2};
    FramesInspector inspector;
};

void countDuplicates(benchmark::State& state, const std::vector<QImage>& frames)
{
    Rig rig(frames);
    const qint64 before = rig.inspector.model().duplicateCounts();
    qint64 changes = 0;
    for (auto _ : state) {
        rig.spec.edits[size_t(frameCount - 1)].isSkipped = changes % 2 == 0;
        rig.inspector.refresh();
        rig.inspector.repaint();
        ++changes;
    }
    if (rig.inspector.model().duplicateCounts() - before != changes)
        state.SkipWithError("the repeats were not counted once per change");
}

void delayEdit(benchmark::State& state, const std::vector<QImage>& frames)
{
    Rig rig(frames);
    const qint64 before = rig.inspector.model().duplicateCounts();
    qint64 step = 0;
    for (auto _ : state) {
        rig.inspector.model().setDelay(step++ % 2 == 0 ? 60 : 40);
        rig.inspector.applyButton()->click();
        rig.inspector.repaint();
    }
    if (rig.inspector.model().duplicateCounts() != before)
        state.SkipWithError("a delay edit counted the repeats again");
}

} // namespace

int main(int argc, char** argv)
{
    plenoria::bench::useOffscreenPlatform();
    QApplication app(argc, argv);
    const std::vector<QImage> frames = repeatedFrames();
    plenoria::bench::registerCases({
        {"framesInspector/countDuplicates100x512",
            [&](benchmark::State& state) { countDuplicates(state, frames); }},
        {"framesInspector/delayEdit100x512", [&](benchmark::State& state) { delayEdit(state, frames); }},
    });
    return plenoria::bench::runBenchmarks(argc, argv);
}
