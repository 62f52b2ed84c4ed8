// The export sheet of the bench over a 100-frame 256 × 256 animation whose record holds a tone and
// a text row:
//   openSheet        opening the sheet, which renders every output frame of the record (the size
//                    estimate is left out here; it runs on its own threads)
//   settingsChange   one quality change until its sizes are stored, beside the same three encodes
//                    run directly on this thread: the ratio is what running them as a job costs
//   quickChanges     20 quality changes 16 ms apart, as a slider drag makes them, from the last
//                    change until its sizes are stored, beside one direct run; and the longest
//                    turn of the main thread's event loop while the jobs run, beside the longest
//                    in as long a wait without jobs (what a busy machine itself adds)
#include "BenchmarkRunner.h"
#include "GifBuilder.h"
#include "SyntheticImages.h"
#include "bench/model/BenchModel.h"
#include "bench/sheets/BenchSheets.h"
#include "bench/sheets/ExportPanel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <functional>

using namespace plenoria;

namespace {

RestorationSession animatedSession()
{
    std::vector<test::GifFrame> frames;
    for (int i = 0; i < 100; ++i)
        frames.push_back({test::animatedEmojiFrame(i, 100), {}, 4, 0, false});
    RestorationSession session;
    session.fileURL = QUrl::fromLocalFile(QStringLiteral("/collection/wave.gif"));
    session.originalData = test::makeGif(frames, {{}, 0});
    ToneSpec tone;
    tone.warmth = 0.3;
    tone.contrast = 0.2;
    session.record = {TreatmentEntry(tone), TreatmentEntry(TextSpec::defaultFor(QSizeF(256, 256)))};
    return session;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

double msSince(const QElapsedTimer& clock)
{
    return double(clock.nsecsElapsed()) / 1e6;
}

// Runs the event loop until `done` holds; the longest turn of the loop meanwhile, in milliseconds,
// as a timer that wants to fire every millisecond sees it.
double waitFor(const std::function<bool()>& done)
{
    QEventLoop loop;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(1);
    QElapsedTimer sinceTick;
    double longest = 0;
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        longest = std::max(longest, msSince(sinceTick));
        sinceTick.restart();
        if (done())
            loop.quit();
    });
    sinceTick.start();
    tick.start();
    loop.exec();
    return longest;
}

void openSheet(benchmark::State& state)
{
    QWidget host;
    BenchModel model(animatedSession(), true);
    BenchSheets sheets(model, &host);
    sheets.setSizeJob(
        [](const Filmstrip&, double, const GIFPalette&, const std::atomic_bool&) { return ExportSizes(); });
    for (auto _ : state) {
        model.openExport();
        benchmark::DoNotOptimize(sheets.exportPanel());
        state.PauseTiming();
        model.cancelExport();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
}

// Alternates the direct encodes and a change through the panel; reports both medians and their ratio.
void settingsChange(benchmark::State& state)
{
    BenchModel bench(animatedSession(), true);
    ExportPanelModel panel(bench.exportStrip(), bench.fileName(), bench.baseName());
    panel.appear();
    waitFor([&] { return !panel.measuring(); });
    const std::atomic_bool notSuperseded = false;
    std::vector<double> direct, throughPanel;
    double quality = 60;
    bool directFirst = true;
    for (auto _ : state) {
        // Which goes first alternates, so neither profits from the other's warm caches.
        for (int half = 0; half < 2; ++half) {
            QElapsedTimer clock;
            clock.start();
            if ((half == 0) == directFirst) {
                benchmark::DoNotOptimize(ExportSizeEstimate::estimateSizes(
                    *panel.strip(), quality, panel.palette(), notSuperseded));
                direct.push_back(msSince(clock));
            } else {
                quality = quality == 60 ? 61 : 60;
                panel.setQuality(quality);
                waitFor([&] { return !panel.measuring(); });
                throughPanel.push_back(msSince(clock));
            }
        }
        directFirst = !directFirst;
    }
    state.counters["direct_ms"] = median(direct);
    state.counters["panel_ms"] = median(throughPanel);
    state.counters["ratio"] = median(throughPanel) / median(direct);
}

void quickChanges(benchmark::State& state)
{
    BenchModel bench(animatedSession(), true);
    ExportPanelModel panel(bench.exportStrip(), bench.fileName(), bench.baseName());
    panel.appear();
    waitFor([&] { return !panel.measuring(); });
    const std::atomic_bool notSuperseded = false;
    std::vector<double> oneRun, afterLast, longestTurn, idleTurn;
    double base = 40;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        benchmark::DoNotOptimize(
            ExportSizeEstimate::estimateSizes(*panel.strip(), 82, panel.palette(), notSuperseded));
        oneRun.push_back(msSince(clock));

        double turn = 0;
        for (int step = 1; step <= 20; ++step) {
            panel.setQuality(base + step);
            clock.restart();
            if (step < 20)
                turn = std::max(turn, waitFor([&] { return msSince(clock) >= 16; }));
        }
        turn = std::max(turn, waitFor([&] { return !panel.measuring(); }));
        afterLast.push_back(msSince(clock));
        longestTurn.push_back(turn);
        // The same wait without any job: what the machine itself does to the event loop.
        clock.restart();
        idleTurn.push_back(waitFor([&] { return msSince(clock) >= afterLast.back() + 320; }));
        base = base == 40 ? 10 : 40;
    }
    state.counters["one_run_ms"] = median(oneRun);
    state.counters["after_last_ms"] = median(afterLast);
    state.counters["ratio"] = median(afterLast) / median(oneRun);
    state.counters["longest_turn_ms"] = *std::max_element(longestTurn.begin(), longestTurn.end());
    state.counters["idle_longest_turn_ms"] = *std::max_element(idleTurn.begin(), idleTurn.end());
}

} // namespace

int main(int argc, char** argv)
{
    plenoria::bench::useOffscreenPlatform();
    QApplication app(argc, argv);
    benchmark::RegisterBenchmark("exportSheet/openSheet", openSheet)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(7);
    benchmark::RegisterBenchmark("exportSheet/settingsChange", settingsChange)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(10);
    benchmark::RegisterBenchmark("exportSheet/quickChanges", quickChanges)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5);
    return plenoria::bench::runBenchmarks(argc, argv);
}
