// One edit on the restoration bench, as a drag of the text on the canvas makes many times a second:
// the selected text row's centre written through its spec binding, until the bench has re-rendered
// every row of its record onto the canvas and reported the change. The record is a crop, a colour
// key, a tone and the text, on a 512 × 512 still; on the current frame of a 100-frame 256 × 256
// animation the record also holds a frames row.
// And one keystroke in the crop inspector's "W" field, the crop being the last of four rows on a
// 512 × 512 still: the typed width settled inside the crop's input, the canvas rendered through the
// three rows before it, and the inspector pane refreshed. Measured pinned to one core:
//   taskset -c 0 build-bench/benchmarks/bench_BenchEditBenchmark
#include "BenchModel.h"
#include "BenchmarkRunner.h"
#include "CropInspector.h"
#include "GifBuilder.h"
#include "InspectorPane.h"
#include "PixelField.h"
#include "SyntheticImages.h"

#include <QApplication>
#include <QBuffer>
#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <functional>
#include <utility>

using namespace plenoria;

namespace {

QByteArray stillSource()
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    test::discImage(512, 512, QColor(220, 120, 40), QColor(40, 200, 90)).save(&buffer, "PNG");
    return bytes;
}

QByteArray animatedSource()
{
    std::vector<test::GifFrame> frames;
    for (int i = 0; i < 100; ++i)
        frames.push_back({test::animatedEmojiFrame(i, 100), {}, 4, 0, false});
    return test::makeGif(frames, {{}, 0});
}

TreatmentRecord editedRecord(int side, bool withFrames)
{
    ToneSpec tone;
    tone.warmth = 0.3;
    tone.shadows = 0.2;
    tone.brightness = 0.1;
    tone.saturation = 0.2;
    const int cropped = side - 16;
    TreatmentRecord record = {TreatmentEntry(CropSpec{8, 8, cropped, cropped}),
        TreatmentEntry(GroundSpec{ColorKey{"#28C85A", KeyReach::everywhere, 0.2, 0.2}, TransparentFill{}}),
        TreatmentEntry(tone), TreatmentEntry(TextSpec::defaultFor(QSizeF(cropped, cropped)))};
    if (withFrames)
        record.emplace_back(FramesSpec::fromDelays(std::vector<qint64>(100, 40)));
    return record;
}

void moveText(benchmark::State& state, const QByteArray& source, int side, bool animated)
{
    RestorationSession session;
    session.fileURL = QUrl::fromLocalFile(QStringLiteral("/collection/emoji.gif"));
    session.originalData = source;
    BenchModel model(session, true);
    model.setRecord(editedRecord(side, animated));
    model.setSelection(model.record()[3].id);
    model.setPlayhead(animated ? 37 : 0);
    const Binding<TextSpec> text = model.specBinding<TextSpec>(3, TextSpec{});
    qint64 reports = 0;
    QObject::connect(&model, &BenchModel::changed, [&](BenchModel::Changes changes) {
        if (changes & BenchModel::Change::rendered)
            ++reports;
    });

    qint64 step = 0;
    for (auto _ : state) {
        TextSpec spec = text.get();
        spec.center = QPointF(side / 2.0 + double(step++ % 20), side * 0.8);
        text.set(spec);
        benchmark::DoNotOptimize(model.rendered());
    }
    if (reports != step)
        state.SkipWithError("an edit was not rendered and reported");
}

void typeCropWidth(benchmark::State& state, const QByteArray& source)
{
    RestorationSession session;
    session.fileURL = QUrl::fromLocalFile(QStringLiteral("/collection/emoji.png"));
    session.originalData = source;
    BenchModel model(session, true);
    TreatmentRecord record = editedRecord(512, false);
    std::rotate(record.begin(), record.begin() + 1, record.end()); // the crop last
    model.setRecord(record);
    model.setSelection(model.record()[3].id);
    InspectorPane pane(model);
    QLineEdit* width = qobject_cast<CropInspector*>(pane.page())->widthField()->lineEdit();
    const qint64 rendersBefore = model.renderCount();

    qint64 step = 0;
    for (auto _ : state) {
        // One digit over the whole text: 3, then 4, and so on.
        width->selectAll();
        const QString digit = QString::number(3 + step++ % 2);
        QKeyEvent key(QEvent::KeyPress, Qt::Key_3, Qt::NoModifier, digit);
        QApplication::sendEvent(width, &key);
        benchmark::DoNotOptimize(model.rendered());
    }
    if (model.renderCount() - rendersBefore != step)
        state.SkipWithError("a keystroke was not rendered");
}

} // namespace

int main(int argc, char** argv)
{
    plenoria::bench::useOffscreenPlatform();
    QApplication app(argc, argv);
    const QByteArray still = stillSource();
    const QByteArray animated = animatedSource();
    const std::pair<const char*, std::function<void(benchmark::State&)>> cases[] = {
        {"textMove/still512", [&](benchmark::State& state) { moveText(state, still, 512, false); }},
        {"textMove/animated100x256", [&](benchmark::State& state) { moveText(state, animated, 256, true); }},
        {"cropKeystroke/still512", [&](benchmark::State& state) { typeCropWidth(state, still); }},
    };
    for (const auto& [name, function] : cases) {
        benchmark::RegisterBenchmark(name, function)
            ->Unit(benchmark::kMillisecond)
            ->Repetitions(10)
            ->ReportAggregatesOnly(true);
    }
    return plenoria::bench::runBenchmarks(argc, argv);
}
