// Saving a 100-frame 256 × 256 animation through the store, as the bench's Save does on the main
// thread: decode every frame, apply a tone treatment, encode in the file's own type, write atomically.
// save_peers.sh times it as a whole process (`--save FILE`: the same save of one file) in turn with
// ImageMagick doing the same decode, adjust and encode; `--dump-sources DIR` writes the sources.
#include "BenchmarkRunner.h"
#include "NoBookmarks.h"
#include "SyntheticImages.h"
#include "imaging/gif/GIFWriter.h"
#include "imaging/write/AnimatedWebPWriter.h"
#include "store/FolderStore.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace plenoria;

namespace {

const Filmstrip& hundredFrames()
{
    static const Filmstrip strip = test::animatedEmojiStrip(100, 40);
    return strip;
}

// The source files as a user would have them: name to bytes.
QByteArray sourceFile(const QString& name)
{
    if (name == QLatin1String("wave.gif"))
        return GIFWriter::encodeGIF(hundredFrames(), GIFPalette::system()).value_or(QByteArray());
    return encodeAnimatedWebPForSave(hundredFrames(), name == QLatin1String("wave.webp"), 0)
        .value_or(QByteArray());
}

TreatmentRecord brighter()
{
    ToneSpec tone;
    tone.brightness = 0.2;
    return {TreatmentEntry(Treatment(tone))};
}

TreatmentRecord retimed()
{
    return {TreatmentEntry(Treatment(FramesSpec::fromDelays(std::vector<qint64>(100, 60))))};
}

void save(benchmark::State& state, const QString& name, const TreatmentRecord& record)
{
    QTemporaryDir dir;
    const QByteArray original = sourceFile(name);
    QFile file(dir.filePath(name));
    if (original.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(original) != original.size()) {
        state.SkipWithError("could not make the source file");
        return;
    }
    file.close();
    FolderStore store(FolderStoreServices{std::make_shared<bench::NoBookmarks>(), nullptr, nullptr, nullptr});
    store.setWorkingFolder(QUrl::fromLocalFile(dir.path()), false);
    const RestorationSession session{
        QUuid::createUuid(), QUrl::fromLocalFile(dir.filePath(name)), original, record};
    qint64 bytes = 0;
    for (auto _ : state) {
        // Each save starts from the file as the session opened it: the store refuses to save over
        // a file that changed since.
        state.PauseTiming();
        const bool restored = file.open(QIODevice::WriteOnly) && file.write(original) == original.size();
        file.close();
        state.ResumeTiming();
        if (!restored) {
            state.SkipWithError("could not restore the source file");
            return;
        }
        const RestorationOutcome outcome = store.save(session, false);
        if (outcome.kind != RestorationOutcome::Kind::saved) {
            state.SkipWithError(outcome.message.toStdString().c_str());
            return;
        }
        bytes = outcome.item->byteSize;
    }
    state.counters["bytes"] = double(bytes);
}

void animatedWebPLossless(benchmark::State& state)
{
    save(state, QStringLiteral("wave.webp"), brighter());
}
void animatedWebPLossy(benchmark::State& state)
{
    save(state, QStringLiteral("wave-lossy.webp"), brighter());
}
void animatedGIF(benchmark::State& state)
{
    save(state, QStringLiteral("wave.gif"), brighter());
}
void animatedGIFTimingOnly(benchmark::State& state)
{
    save(state, QStringLiteral("wave.gif"), retimed());
}

// One save of the file at `path` with the brighter record, through a store on its folder.
int saveFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    const QByteArray original = file.readAll();
    const QFileInfo info(path);
    FolderStore store(FolderStoreServices{std::make_shared<bench::NoBookmarks>(), nullptr, nullptr, nullptr});
    store.setWorkingFolder(QUrl::fromLocalFile(info.absolutePath()), false);
    const RestorationSession session{
        QUuid::createUuid(), QUrl::fromLocalFile(info.absoluteFilePath()), original, brighter()};
    return store.save(session, false).kind == RestorationOutcome::Kind::saved ? 0 : 1;
}

} // namespace

BENCHMARK(animatedWebPLossless)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(animatedWebPLossy)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(animatedGIF)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(animatedGIFTimingOnly)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv)
{
    plenoria::bench::useOffscreenPlatform();
    QGuiApplication app(argc, argv);
    // `--dump-sources DIR` writes the source files for the peer's side of the comparison.
    if (argc == 3 && QByteArray(argv[1]) == "--dump-sources") {
        const std::optional<QDir> folder = plenoria::bench::dumpFolder(argv[2]);
        if (!folder)
            return 1;
        for (const QString name : {"wave.gif", "wave.webp", "wave-lossy.webp"}) {
            QFile file(folder->filePath(name));
            const QByteArray bytes = sourceFile(name);
            if (bytes.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
                return plenoria::bench::cannotWrite(file.fileName());
        }
        return 0;
    }
    if (plenoria::bench::startOnly(argc, argv))
        return 0;
    if (argc == 3 && QByteArray(argv[1]) == "--save")
        return saveFile(QString::fromLocal8Bit(argv[2]));
    return plenoria::bench::runBenchmarks(argc, argv);
}
