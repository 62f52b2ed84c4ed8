// One edit on the restoration bench, as a drag of the text on the canvas makes many times a second:
// the selected text row's centre written through its spec binding, until the bench has re-rendered
// every row of its record onto the canvas and reported the change. The record is a crop, a colour
// key, a tone and the text, on a 512 × 512 still; on the current frame of a 100-frame 256 × 256
// animation the record also holds a frames row.
// And one keystroke in the crop inspector's "W" field, the crop being the last of four rows on a
// 512 × 512 still: the typed width settled inside the crop's input, the canvas rendered through the
// three rows before it, and the inspector pane refreshed.
// And one step of a crop-handle drag on the canvas itself, on the same crop: one pointer move, the
// crop written, its input rendered again and the canvas painted (800 × 600). A frame at 60 Hz leaves
// 16 ms for it. Measured pinned to one core:
//   taskset -c 0 build-bench/benchmarks/bench_BenchEditBenchmark
#include "BenchmarkRunner.h"
#include "GifBuilder.h"
#include "SyntheticImages.h"
#include "bench/canvas/BenchCanvas.h"
#include "bench/inspect/CropInspector.h"
#include "bench/inspect/InspectorPane.h"
#include "bench/inspect/PixelField.h"
#include "bench/model/BenchModel.h"
#include "store/Preferences.h"

#include <QApplication>
#include <QBuffer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSettings>
#include <QTemporaryDir>
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

// A bench whose crop stands last, on the three rows above it, and is selected.
std::unique_ptr<BenchModel> cropLastBench(const QByteArray& source)
{
    RestorationSession session;
    session.fileURL = QUrl::fromLocalFile(QStringLiteral("/collection/emoji.png"));
    session.originalData = source;
    auto model = std::make_unique<BenchModel>(session, true);
    TreatmentRecord record = editedRecord(512, false);
    std::rotate(record.begin(), record.begin() + 1, record.end());
    model->setRecord(record);
    model->setSelection(model->record()[3].id);
    return model;
}

void typeCropWidth(benchmark::State& state, const QByteArray& source)
{
    const std::unique_ptr<BenchModel> bench = cropLastBench(source);
    BenchModel& model = *bench;
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

void dragCropHandle(benchmark::State& state, const QByteArray& source)
{
    const std::unique_ptr<BenchModel> model = cropLastBench(source);
    QTemporaryDir settingsDir;
    QSettings settings(settingsDir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
    Preferences prefs(&settings);
    BenchCanvas canvas(*model, prefs);
    canvas.resize(800, 600);
    canvas.show();
    const QRectF image = canvas.imageRect();
    const double scale = image.width() / 512;
    const QPointF corner = image.topLeft() + QPointF(504, 504) * scale;
    const auto send = [&](QEvent::Type type, QPointF point) {
        QMouseEvent event(type, point, canvas.mapToGlobal(point), Qt::LeftButton,
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&canvas, &event);
    };
    send(QEvent::MouseButtonPress, corner);
    const qint64 before = model->renderCount();
    qint64 step = 0;
    for (auto _ : state) {
        const double inward = double(1 + step++ % 40) * 3;
        send(QEvent::MouseMove, corner - QPointF(inward, inward));
        canvas.repaint();
    }
    send(QEvent::MouseButtonRelease, corner);
    if (model->renderCount() - before < step - 1)
        state.SkipWithError("a drag step was not rendered");
}

} // namespace

int main(int argc, char** argv)
{
    plenoria::bench::useOffscreenPlatform();
    QApplication app(argc, argv);
    const QByteArray still = stillSource();
    const QByteArray animated = animatedSource();
    plenoria::bench::registerCases({
        {"textMove/still512", [&](benchmark::State& state) { moveText(state, still, 512, false); }},
        {"textMove/animated100x256", [&](benchmark::State& state) { moveText(state, animated, 256, true); }},
        {"cropKeystroke/still512", [&](benchmark::State& state) { typeCropWidth(state, still); }},
        {"cropHandleDrag/still512", [&](benchmark::State& state) { dragCropHandle(state, still); }},
    });
    return plenoria::bench::runBenchmarks(argc, argv);
}
