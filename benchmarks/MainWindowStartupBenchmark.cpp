// Start-up with a folder of 2,000 images: from creating the application (the store scans the
// remembered folder) to the main window shown with its table laid out and painted. Run offscreen.

#include "BenchmarkRunner.h"
#include "GifBuilder.h"
#include "SyntheticImages.h"
#include "app/MainWindow.h"
#include "app/PlenoriaApp.h"
#include "collection/list/FileListView.h"
#include "collection/window/ContentView.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace plenoria;

namespace {

constexpr int fileCount = 2000;

QString folderPath()
{
    return QDir::temp().filePath(QStringLiteral("plenoria-startup-bench"));
}

// Emoji-sized PNG stills and GIF animations (one in four), 64 to 128 px, written once.
void ensureFolder()
{
    QDir dir(folderPath());
    const QString marker = dir.filePath(QStringLiteral(".complete"));
    if (QFile::exists(marker))
        return;
    dir.removeRecursively();
    QDir().mkpath(dir.path());
    for (int i = 0; i < fileCount; ++i) {
        const int side = 64 + (i * 13) % 65;
        const QString stem = dir.filePath(QStringLiteral("emoji-%1").arg(i, 4, 10, QLatin1Char('0')));
        if (i % 4 == 3) {
            QFile file(stem + QStringLiteral(".gif"));
            const QByteArray gif = test::makeAnimatedGif(4 + i % 12, QSize(side, side), 2 + i % 8);
            if (!file.open(QIODevice::WriteOnly) || file.write(gif) != gif.size())
                qFatal("cannot write the benchmark folder");
        } else if (!test::discImage(side, side, QColor::fromHsv((i * 37) % 360, 180, 230))
                        .save(stem + QStringLiteral(".png"))) {
            qFatal("cannot write the benchmark folder");
        }
    }
    QFile(marker).open(QIODevice::WriteOnly);
}

void BM_StartUpWithTwoThousandImages(benchmark::State& state)
{
    ensureFolder();
    QTemporaryDir settingsDir;
    QSettings settings(settingsDir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
    settings.setValue(QStringLiteral("workingFolderBookmark"),
        QByteArray("plenoria-folder-path 1\n") + folderPath().toUtf8());
    qint64 rows = 0;
    for (auto _ : state) {
        PlenoriaApp app(FolderStoreServices{}, &settings);
        MainWindow* window = app.openMainWindow();
        QCoreApplication::processEvents();
        FileListView* list = window->content()->fileList();
        list->viewport()->repaint();
        rows = list->model()->rowCount();
        state.PauseTiming();
        window->close();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["rows"] = double(rows);
}

BENCHMARK(BM_StartUpWithTwoThousandImages)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    plenoria::bench::useOffscreenPlatform();
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    return plenoria::bench::runBenchmarks(argc, argv);
}
