// The restoration bench from a user's seat: the real application in a virtual X server, driven
// only by key presses and clicks that xdotool sends through the X server. Save writes over the
// file with a backup and closes the bench; the backup puts the original back; Export writes a
// new file and leaves the bench open.
#include "SyntheticImages.h"
#include "app/MainWindow.h"
#include "app/PlenoriaApp.h"
#include "bench/record/AddTreatmentButton.h"
#include "bench/record/RecordColumn.h"
#include "bench/sheets/BenchSheets.h"
#include "bench/sheets/ExportPanel.h"
#include "bench/sheets/SaveGate.h"
#include "bench/view/BenchHeader.h"
#include "bench/view/RestorationView.h"
#include "collection/controller/ContentController.h"
#include "collection/list/FileListView.h"
#include "collection/window/ContentView.h"
#include "imaging/read/ImageSource.h"
#include "inspectors/controls/ProminentButton.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QMenu>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;

namespace {

bool xdotool(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(PLENORIA_XDOTOOL), arguments);
    return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0;
}

// Real input through the X server; false when xdotool failed.
bool click(const QWidget* widget, QPoint local, int button = 1)
{
    const QPoint global = widget->mapToGlobal(local);
    return xdotool({"mousemove", "--sync", QString::number(global.x()), QString::number(global.y())})
        && xdotool({"click", QString::number(button)});
}

bool clickCentre(const QWidget* widget)
{
    return click(widget, widget->rect().center());
}

// A key (an X keysym name) in the window of `widget`, which first gets the input focus: there is
// no window manager to give it.
bool key(const QWidget* widget, const QString& keysym)
{
    return xdotool({"windowfocus", "--sync", QString::number(widget->window()->winId())})
        && xdotool({"key", keysym});
}

// Plays a script of steps from a timer, which also fires inside the nested event loops of menus
// and modal dialogs, so a step can act on a menu that is open. A step returns true when it is
// done; a waiting step is asked again until it is or its 15 seconds run out.
class Script {
public:
    void then(const QString& what, std::function<bool()> step)
    {
        m_steps.emplace_back(what, std::move(step));
    }

    // Empty when every step was done, else the one that did not happen.
    [[nodiscard]] QString run()
    {
        QString failure;
        size_t next = 0;
        bool busy = false;
        QElapsedTimer stepClock;
        stepClock.start();
        QEventLoop loop;
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
            if (std::exchange(busy, true))
                return;
            while (next < m_steps.size() && m_steps[next].second()) {
                ++next;
                stepClock.restart();
            }
            if (next < m_steps.size() && stepClock.elapsed() > 15000)
                failure = QStringLiteral("step %1 did not happen: %2").arg(next + 1).arg(m_steps[next].first);
            busy = false;
            if (next == m_steps.size() || !failure.isEmpty())
                loop.quit();
        });
        tick.start(50);
        loop.exec();
        return failure;
    }

private:
    std::vector<std::pair<QString, std::function<bool()>>> m_steps;
};

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QSize decodedSize(const QString& path)
{
    const std::optional<ImageSource> source = ImageSource::open(path);
    const std::optional<QImage> image = source ? source->decodeFrame(0) : std::nullopt;
    return image ? image->size() : QSize();
}

// The window, the folder it shows and the toasts it has shown, in order.
struct Rig {
    Rig()
        : settings(settingsDir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat)
    {
        const QImage image = gradientImage(256, 256, QColor(240, 160, 20), QColor(90, 20, 140));
        image.save(QDir(folder.path()).filePath(QStringLiteral("smile.png")));
        original = bytesOf(path(QStringLiteral("smile.png")));
        gradientImage(16, 16, Qt::red, Qt::blue)
            .save(QDir(folder.path()).filePath(QStringLiteral("other.png")));
        settings.setValue(QStringLiteral("workingFolderBookmark"),
            QByteArray("plenoria-folder-path 1\n") + folder.path().toUtf8());
        app = std::make_unique<PlenoriaApp>(FolderStoreServices{}, &settings);
        window = app->openMainWindow();
        window->move(0, 0);
        QObject::connect(&controller(), &ContentController::toastChanged, [this] {
            if (controller().toast())
                toasts << *controller().toast();
        });
    }

    QString path(const QString& name) const { return QDir(folder.path()).filePath(name); }
    ContentView& content() const { return *window->content(); }
    ContentController& controller() const { return content().controller(); }
    RestorationView* bench() const { return content().bench(); }

    // The middle of the name cell of the file's row, in the list's viewport.
    QPoint rowPoint(const QString& name) const
    {
        FileListView* list = content().fileList();
        const QAbstractItemModel* model = list->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            const QModelIndex index = model->index(row, 0);
            if (model->data(index).toString() == name)
                return list->visualRect(index).center();
        }
        return {-1, -1};
    }

    bool clickRow(const QString& name, int button = 1) const
    {
        const QPoint point = rowPoint(name);
        return point.x() >= 0 && click(content().fileList()->viewport(), point, button);
    }

    // Clicks the entry of the menu that is open; false while none is.
    static bool chooseFromMenu(const QString& text)
    {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu || !menu->isVisible())
            return false;
        for (QAction* action : menu->actions()) {
            if (action->text() == text)
                return click(menu, menu->actionGeometry(action).center());
        }
        return false;
    }

    // Opens the bench on smile.png and adds a Resize row (which halves a 256-pixel image).
    void openBenchWithResize(Script& script)
    {
        script.then("select smile.png", [this] { return clickRow(QStringLiteral("smile.png")); });
        script.then("smile.png is selected", [this] {
            return controller().selection() == QUrl::fromLocalFile(path(QStringLiteral("smile.png")));
        });
        script.then("press \\", [this] { return key(window, QStringLiteral("backslash")); });
        script.then("the bench is open", [this] { return bench() && bench()->isVisible(); });
        script.then(
            "open the add menu", [this] { return clickCentre(bench()->recordColumn()->addButton()); });
        script.then("choose Resize", [] { return chooseFromMenu(QStringLiteral("Resize")); });
        script.then("a Resize row is added", [this] {
            return bench()->model().record().size() == 1
                && bench()->model().record().front().treatment.kind() == TreatmentKind::resize;
        });
    }

    QTemporaryDir folder;
    QTemporaryDir settingsDir;
    QSettings settings;
    std::unique_ptr<PlenoriaApp> app;
    MainWindow* window = nullptr;
    QByteArray original;
    QStringList toasts;
};

} // namespace

TEST(BenchEndToEnd, SaveWithABackupPutTheOriginalBackAndExportAWebP)
{
    Rig rig;
    Script script;
    script.then("the window shows the folder", [&] {
        return rig.window->windowHandle() && rig.window->windowHandle()->isExposed()
            && rig.rowPoint(QStringLiteral("smile.png")).x() >= 0;
    });

    // Save, keeping "Back up the original" on, with Return.
    rig.openBenchWithResize(script);
    script.then("click Save", [&] { return clickCentre(rig.bench()->header()->saveButton()); });
    script.then("the save gate asks, the backup on", [&] {
        const SaveGate* gate = rig.bench()->sheets()->saveGate();
        return gate && gate->isVisible() && gate->variant() == SaveGate::Variant::save
            && gate->backupToggle()->isChecked();
    });
    script.then(
        "press Return", [&] { return key(rig.bench()->sheets()->saveGate(), QStringLiteral("Return")); });
    script.then("the bench has gone", [&] { return !rig.bench() && !rig.controller().editingSession(); });
    script.then("smile.png is 128 × 128 and its backup holds the old bytes", [&] {
        return decodedSize(rig.path(QStringLiteral("smile.png"))) == QSize(128, 128)
            && bytesOf(rig.path(QStringLiteral(".plenoria/originals/smile.png"))) == rig.original;
    });
    script.then("the toast tells of the save and the backup", [&] {
        return rig.toasts.contains(
            QStringLiteral("Saved smile.png. Original backed up \u2014 right-click to restore it."));
    });

    // Put the original back from the list's context menu.
    script.then("right-click smile.png", [&] { return rig.clickRow(QStringLiteral("smile.png"), 3); });
    script.then("choose Restore original image",
        [] { return Rig::chooseFromMenu(QStringLiteral("Restore original image")); });
    script.then("the original is back",
        [&] { return bytesOf(rig.path(QStringLiteral("smile.png"))) == rig.original; });

    // Export as WebP from the panel, which opens on the WebP card.
    rig.openBenchWithResize(script);
    script.then("click Export", [&] { return clickCentre(rig.bench()->header()->exportButton()); });
    script.then("the export panel is open", [&] {
        const ExportPanel* panel = rig.bench()->sheets()->exportPanel();
        return panel && panel->isVisible() && panel->exportButton()->isEnabled();
    });
    script.then("click Export smile.webp",
        [&] { return clickCentre(rig.bench()->sheets()->exportPanel()->exportButton()); });
    script.then("the WebP is written", [&] { return QFile::exists(rig.path(QStringLiteral("smile.webp"))); });

    const QString failure = script.run();
    ASSERT_TRUE(failure.isEmpty()) << failure.toStdString()
                                   << "\ntoasts: " << rig.toasts.join(" | ").toStdString();

    ASSERT_FALSE(rig.toasts.isEmpty());
    EXPECT_EQ(rig.toasts.last(), QStringLiteral("Exported smile.webp."));
    EXPECT_EQ(decodedSize(rig.path(QStringLiteral("smile.webp"))), QSize(128, 128));
    ASSERT_TRUE(rig.bench()) << "an export leaves the bench open";
    EXPECT_TRUE(rig.bench()->isVisible());
    EXPECT_FALSE(rig.bench()->sheets()->exportPanel());
}
