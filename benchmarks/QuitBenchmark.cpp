// Quitting the whole application while the preview decodes. `--quit FOLDER` starts the application
// over FOLDER (offscreen, settings in a temporary folder), selects its images one after another 30 ms
// apart, as a held Down key does, and chooses Quit 30 ms after the last selection, while that decode
// and any it overtook still read; `--quit-settled FOLDER` quits only once every decode has ended.
// Either prints "closed NANOSECONDS JOBS" (CLOCK_REALTIME, as `date +%s%N`, and the preview's jobs
// still running) the moment the windows have closed, and the process then ends as the application's
// own does; quit_while_decoding.sh takes the time from that line to the process's exit. `--make-folder
// FOLDER` writes six 60-frame 768 × 768 GIFs, each frame a different picture.

#include "BenchmarkRunner.h"
#include "GifBuilder.h"
#include "SyntheticImages.h"
#include "app/MainWindow.h"
#include "app/PlenoriaApp.h"
#include "collection/controller/ContentController.h"
#include "collection/preview/PreviewPaneModel.h"
#include "collection/window/ContentView.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QSettings>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QTimer>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>

using namespace plenoria;

namespace {

constexpr int fileCount = 6;
constexpr int frameCount = 60;
constexpr int side = 768;
constexpr int repeatMs = 30;

QByteArray makeAnimation(int seed)
{
    std::vector<test::GifFrame> frames;
    for (int i = 0; i < frameCount; ++i) {
        QImage image = test::gradientImage(
            side, side, QColor::fromHsv((seed * 50 + i * 3) % 360, 160, 220), QColor(30, 30, 60));
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(QColor::fromHsv((i * 29) % 360, 200, 250));
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(QPointF(120 + 8.0 * i, 384 + 220 * std::sin(i / 6.0)), 110, 110);
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

int makeFolder(const char* path)
{
    const std::optional<QDir> folder = bench::dumpFolder(path);
    if (!folder)
        return 1;
    for (int i = 0; i < fileCount; ++i) {
        const QString name = folder->filePath(QStringLiteral("held-%1.gif").arg(i));
        QFile file(name);
        const QByteArray bytes = makeAnimation(i);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return bench::cannotWrite(name);
    }
    return 0;
}

qint64 realtimeNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

// As main() runs the application, with the folder remembered and the selection moved by a timer.
int quitWhileDecoding(int argc, char** argv, const QString& folder, bool settled)
{
    bench::useOffscreenPlatform();
    QApplication app(argc, argv);
    QTemporaryDir settingsDir;
    QSettings settings(settingsDir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
    settings.setValue(QStringLiteral("workingFolderBookmark"),
        QByteArray("plenoria-folder-path 1\n") + QDir(folder).absolutePath().toUtf8());
    PlenoriaApp plenoria(FolderStoreServices{}, &settings);
    MainWindow* window = plenoria.openMainWindow();
    ContentController& controller = window->content()->controller();
    const QList<ImageItem> items = controller.filteredItems();
    if (items.size() != fileCount) {
        std::fprintf(stderr, "expected %d images in %s\n", fileCount, qPrintable(folder));
        return 1;
    }

    QAction* quit = plenoria.quitAction();
    const auto closeAll = [quit] {
        const int running = PreviewPaneModel::pool().activeThreadCount();
        quit->trigger();
        std::printf("closed %lld %d\n", static_cast<long long>(realtimeNanoseconds()), running);
        std::fflush(stdout);
    };
    QTimer held;
    int next = 0;
    QObject::connect(&held, &QTimer::timeout, [&] {
        if (next < fileCount) {
            controller.setSelection(items[next++].url);
            return;
        }
        held.stop();
        if (!settled) {
            closeAll();
            return;
        }
        // Settled: every decode and scaling has ended before the windows close.
        auto* idle = new QTimer(&app);
        QObject::connect(idle, &QTimer::timeout, [idle, closeAll] {
            if (PreviewPaneModel::pool().activeThreadCount() == 0) {
                idle->stop();
                closeAll();
            }
        });
        idle->start(50);
    });
    held.start(repeatMs);
    QApplication::exec();
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (plenoria::bench::startOnly(argc, argv))
        return 0;
    if (argc == 3 && std::strcmp(argv[1], "--make-folder") == 0)
        return makeFolder(argv[2]);
    if (argc == 3 && std::strcmp(argv[1], "--quit") == 0)
        return quitWhileDecoding(argc, argv, QString::fromLocal8Bit(argv[2]), false);
    if (argc == 3 && std::strcmp(argv[1], "--quit-settled") == 0)
        return quitWhileDecoding(argc, argv, QString::fromLocal8Bit(argv[2]), true);
    std::fprintf(stderr, "usage: %s --make-folder FOLDER | --quit FOLDER | --quit-settled FOLDER\n", argv[0]);
    return 2;
}
