// The ground inspector's work on the main thread (goal: under 50 ms each), on 512 × 512 inputs of
// three subjects on a plain ground:
//   chooseMagic      a click on "Magic": the row written, subject detection, the chips and the
//                    fill caption's transparency test. Each click meets pixels the detector has not
//                    seen (two inputs alternate), as the first click on a row does.
//   selectGroundRow  the bench selecting a ground row that keeps subjects, from a tone row: the
//                    canvas render, the row's input render, the inspector page made, detection and
//                    the transparency test. Two ground rows with different inputs alternate, so
//                    neither the input nor the detection comes from a cache.
// Measured pinned to one core:
//   taskset -c 0 build-bench/benchmarks/bench_GroundInspectorBenchmark
#include "ApngBuilder.h"
#include "BenchmarkRunner.h"
#include "SubjectImages.h"
#include "bench/inspect/InspectorPane.h"
#include "bench/model/BenchModel.h"
#include "inspectors/ground/GroundInspector.h"

#include <QApplication>
#include <benchmark/benchmark.h>

using namespace plenoria;

namespace {

constexpr int side = 512;

QImage threeSubjects(int shift)
{
    return test::blobsImage(side, side,
        {{QRectF(30 + shift, 60, 200, 200), QColor(200, 40, 40)},
            {QRectF(280, 40 + shift, 160, 160), QColor(40, 60, 200)},
            {QRectF(300, 330, 140 - shift, 140), QColor(30, 140, 60)}},
        QColor(236, 232, 220));
}

void chooseMagic(benchmark::State& state)
{
    const QImage inputs[] = {threeSubjects(0), threeSubjects(12)};
    GroundSpec spec;
    GroundInspector inspector;
    inspector.resize(250, 900);
    const QUuid row = QUuid::createUuid();
    qint64 step = 0;
    for (auto _ : state) {
        state.PauseTiming();
        spec = {};
        inspector.setRow(row,
            Binding<GroundSpec>([&] { return spec; }, [&](const GroundSpec& s) { spec = s; }),
            inputs[step++ % 2]);
        state.ResumeTiming();
        inspector.model().setKeyMode(GroundInspectorModel::KeyMode::subject);
        benchmark::DoNotOptimize(inspector.chips().size());
    }
    if (inspector.chips().size() != 3)
        state.SkipWithError("the three subjects were not found");
}

void selectGroundRow(benchmark::State& state)
{
    RestorationSession session;
    session.fileURL = QUrl::fromLocalFile(QStringLiteral("/collection/emoji.png"));
    session.originalData = test::encodePng(threeSubjects(0));
    BenchModel model(session, true);
    ToneSpec warmer;
    warmer.warmth = 0.3;
    const GroundSpec keepSubjects{SubjectKey{}, TransparentFill{}};
    // Ground rows 1 and 3 get different inputs: row 3's passes through the warmer tone.
    model.setRecord({TreatmentEntry(ToneSpec{}), TreatmentEntry(keepSubjects), TreatmentEntry(warmer),
        TreatmentEntry(keepSubjects)});
    InspectorPane pane(model);
    pane.resize(InspectorPane::columnWidth, 900);
    qint64 step = 0;
    for (auto _ : state) {
        state.PauseTiming();
        model.setSelection(model.record()[0].id);
        const QUuid ground = model.record()[step++ % 2 == 0 ? 1 : 3].id;
        state.ResumeTiming();
        model.setSelection(ground);
        benchmark::DoNotOptimize(pane.page());
    }
    auto* inspector = pane.findChild<GroundInspector*>();
    if (!inspector || inspector->model().availableInstances().size() != 3)
        state.SkipWithError("the ground row's subjects were not found");
}

} // namespace

BENCHMARK(chooseMagic)->Unit(benchmark::kMillisecond)->Repetitions(10)->DisplayAggregatesOnly(true);
BENCHMARK(selectGroundRow)->Unit(benchmark::kMillisecond)->Repetitions(10)->DisplayAggregatesOnly(true);

int main(int argc, char** argv)
{
    plenoria::bench::useOffscreenPlatform();
    QApplication app(argc, argv);
    return plenoria::bench::runBenchmarks(argc, argv);
}
