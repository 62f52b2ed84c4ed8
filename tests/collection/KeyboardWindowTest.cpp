#include "CollectionFixture.h"
#include "SyntheticImages.h"
#include "collection/chrome/HResizableSplit.h"
#include "collection/chrome/ToastView.h"
#include "collection/list/FileListView.h"
#include "collection/list/FilterField.h"
#include "collection/window/ContentView.h"
#include "store/PathBookmarkStore.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QImageReader>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;

namespace {

class RecordingReveal final : public RevealService {
public:
    void reveal(const QUrl& url, FailureHandler onFailure) override
    {
        revealed.append(url);
        if (fail)
            onFailure();
    }
    QList<QUrl> revealed;
    // Answers as a desktop without a file manager or a folder opener would.
    bool fail = false;
};

// The real window content over a folder of PNGs, with destination 3 named "Three", on screen and
// active; reveals are recorded instead of reaching a desktop.
struct WindowRig {
    explicit WindowRig(const QStringList& names)
        : settings(settingsDir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat)
    {
        for (const QString& name : names)
            EXPECT_TRUE(solidImage(8, 8, QColor(40, 90, 200)).save(path(name), "PNG"));
        FolderStoreServices services;
        services.bookmarks = std::make_shared<PathBookmarkStore>(&settings);
        services.reveal = reveal;
        store = std::make_unique<FolderStore>(services);
        store->setWorkingFolder(QUrl::fromLocalFile(dir.path()), false);
        prefs = std::make_unique<Preferences>(&settings);
        prefs->setSubfolderNames({{}, {}, QStringLiteral("Three")});

        controller = new ContentController(*store, *prefs, std::make_unique<ManualToastTimer>());
        controller->setBeep([] {});
        view = std::make_unique<ContentView>(controller);
        view->resize(900, 600);
        view->show();
        view->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(view.get()));
        settle();
    }

    static void settle()
    {
        for (int turn = 0; turn < 3; ++turn)
            QCoreApplication::processEvents();
    }

    QString path(const QString& name) const { return QDir(dir.path()).filePath(name); }
    QUrl url(const QString& name) const { return QUrl::fromLocalFile(path(name)); }
    bool onDisk(const QString& name) const { return QFile::exists(path(name)); }
    QWidget* focus() const { return QApplication::focusWidget(); }
    // Types at whatever holds the keyboard focus, as the user would.
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(focus(), key, modifiers);
        settle();
    }
    std::optional<QString> selectedRowName() const
    {
        const QModelIndexList rows = view->fileList()->selectionModel()->selectedRows();
        if (rows.isEmpty())
            return std::nullopt;
        return view->fileList()->listModel().items().at(rows.first().row()).filename;
    }

    QTemporaryDir dir;
    QTemporaryDir settingsDir;
    QSettings settings;
    std::shared_ptr<RecordingReveal> reveal = std::make_shared<RecordingReveal>();
    std::unique_ptr<FolderStore> store;
    std::unique_ptr<Preferences> prefs;
    ContentController* controller = nullptr;
    std::unique_ptr<ContentView> view;
};

} // namespace

TEST(KeyboardWindow, ThreeFilesTheSelectedImageAndCtrlZBringsItBack)
{
    WindowRig rig({"a.png", "b.png", "c.png"});
    rig.controller->setSelection(rig.url(QStringLiteral("b.png")));
    WindowRig::settle();
    ASSERT_EQ(rig.focus(), rig.view->split());

    rig.key(Qt::Key_3);
    EXPECT_FALSE(rig.onDisk(QStringLiteral("b.png")));
    EXPECT_TRUE(rig.onDisk(QStringLiteral("Three/b.png")));
    EXPECT_EQ(rig.view->fileList()->model()->rowCount(), 2);
    EXPECT_EQ(rig.selectedRowName(), QStringLiteral("c.png"));

    rig.key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(rig.onDisk(QStringLiteral("b.png")));
    EXPECT_FALSE(rig.onDisk(QStringLiteral("Three/b.png")));
    EXPECT_EQ(rig.selectedRowName(), QStringLiteral("b.png"));
    EXPECT_EQ(rig.view->toastView()->message(), QStringLiteral("Moved b.png back."));
    EXPECT_EQ(rig.focus(), rig.view->split());
}

TEST(KeyboardWindow, EachDigitFilesIntoItsOwnDestinationUnlessThatOneIsUnnamed)
{
    WindowRig rig({"a.png"});
    QStringList named;
    for (int digit = 1; digit <= 9; ++digit)
        named << QStringLiteral("Dest %1").arg(digit);
    // 0: every destination named; then each unnamed in turn.
    for (int unnamed = 0; unnamed <= 9; ++unnamed) {
        QStringList destinations = named;
        if (unnamed > 0)
            destinations[unnamed - 1].clear();
        rig.prefs->setSubfolderNames(destinations);
        for (int digit = 1; digit <= 9; ++digit) {
            SCOPED_TRACE(QStringLiteral("digit %1, unnamed %2").arg(digit).arg(unnamed).toStdString());
            rig.controller->setSelection(rig.url(QStringLiteral("a.png")));
            WindowRig::settle();
            const std::optional<QString> toast = rig.controller->toast();
            rig.key(Qt::Key(Qt::Key_0 + digit));
            if (digit == unnamed) {
                EXPECT_TRUE(rig.onDisk(QStringLiteral("a.png")));
                EXPECT_EQ(rig.controller->toast(), toast);
                continue;
            }
            ASSERT_TRUE(rig.onDisk(named[digit - 1] + QStringLiteral("/a.png")));
            rig.key(Qt::Key_Z, Qt::ControlModifier);
            ASSERT_TRUE(rig.onDisk(QStringLiteral("a.png")));
        }
    }
}

TEST(KeyboardWindow, TheFilterAndRenameFieldsSwallowDigits)
{
    WindowRig rig({"a.png", "b.png"});
    FilterField* filter = rig.view->filterField();
    rig.controller->focusFilterField();
    WindowRig::settle();
    ASSERT_EQ(rig.focus(), filter);
    rig.key(Qt::Key_3);
    EXPECT_EQ(filter->text(), QStringLiteral("3"));
    EXPECT_TRUE(rig.onDisk(QStringLiteral("a.png")));
    rig.key(Qt::Key_Escape);
    ASSERT_EQ(rig.focus(), rig.view->split());

    rig.key(Qt::Key_Return);
    RenameField* field = rig.view->fileList()->renameField();
    ASSERT_TRUE(field);
    ASSERT_EQ(rig.focus(), field);
    rig.key(Qt::Key_3);
    rig.key(Qt::Key_3);
    EXPECT_EQ(field->text(), QStringLiteral("33.png"));
    EXPECT_TRUE(rig.onDisk(QStringLiteral("a.png")));
    EXPECT_FALSE(QDir(rig.path(QStringLiteral("Three"))).exists());

    rig.key(Qt::Key_Return);
    EXPECT_TRUE(rig.onDisk(QStringLiteral("33.png")));
    EXPECT_FALSE(rig.view->fileList()->renameField());
    EXPECT_EQ(rig.selectedRowName(), QStringLiteral("33.png"));
    EXPECT_EQ(rig.focus(), rig.view->split());
}

TEST(KeyboardWindow, UndoKeysComeBeforeMenuShortcutsButCtrlFDoesNot)
{
    WindowRig rig({"a.png", "b.png"});
    auto* menuUndo = new QAction(rig.view.get());
    menuUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    auto* menuFilter = new QAction(rig.view.get());
    menuFilter->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    rig.view->addAction(menuUndo);
    rig.view->addAction(menuFilter);
    QSignalSpy undoTriggered(menuUndo, &QAction::triggered);
    QSignalSpy filterTriggered(menuFilter, &QAction::triggered);

    rig.key(Qt::Key_3);
    ASSERT_TRUE(rig.onDisk(QStringLiteral("Three/a.png")));
    rig.key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(rig.onDisk(QStringLiteral("a.png")));
    EXPECT_EQ(undoTriggered.count(), 0);

    rig.key(Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(filterTriggered.count(), 1);
}

TEST(KeyboardWindow, TheContextMenuOfAnEditedImagePutsBackAndReveals)
{
    WindowRig rig({"a.png", "b.png"});
    const QString backups = FolderStore::backupsFolderPath(rig.dir.path());
    ASSERT_TRUE(QDir().mkpath(backups));
    ASSERT_TRUE(solidImage(24, 24, Qt::red).save(QDir(backups).filePath(QStringLiteral("b.png")), "PNG"));
    QFile image(rig.path(QStringLiteral("b.png")));
    ASSERT_TRUE(image.open(QIODevice::ReadOnly));
    FileOperations files;
    ASSERT_TRUE(BackupRecords(files, rig.dir.path())
                    .write(QStringLiteral("b.png"), {BackupRecords::contentOf(image.readAll())})
                    .ok());
    rig.controller->refresh();
    rig.prefs->setShowEditedBadge(false);
    FileListView* list = rig.view->fileList();
    const int rowA = *list->listModel().rowOf(rig.url(QStringLiteral("a.png")));
    const int rowB = *list->listModel().rowOf(rig.url(QStringLiteral("b.png")));

    QObject owner;
    EXPECT_TRUE(list->contextActions(rowA, &owner).isEmpty());
    QList<QAction*> actions = list->contextActions(rowB, &owner);
    ASSERT_EQ(actions.size(), 2) << "offered with the badge off too";
    EXPECT_EQ(actions.at(0)->text(), QStringLiteral("Restore original image"));
    EXPECT_EQ(actions.at(1)->text(), QStringLiteral("Show original in File Manager"));

    actions.at(1)->trigger();
    EXPECT_EQ(rig.reveal->revealed,
        QList<QUrl>{QUrl::fromLocalFile(QDir(backups).filePath(QStringLiteral("b.png")))});
    EXPECT_FALSE(rig.controller->toast()) << "a reveal that worked says nothing";
    // Neither the file manager nor the folder could be opened: the toast says so.
    rig.reveal->fail = true;
    actions.at(1)->trigger();
    EXPECT_EQ(rig.view->toastView()->message(), QStringLiteral("Couldn’t open the file manager."));
    EXPECT_TRUE(rig.view->toastView()->isVisible());

    actions.at(0)->trigger();
    WindowRig::settle();
    EXPECT_EQ(QImageReader(rig.path(QStringLiteral("b.png"))).size(), QSize(24, 24));
    EXPECT_EQ(rig.selectedRowName(), QStringLiteral("b.png"));
    EXPECT_EQ(rig.view->toastView()->message(), QStringLiteral("Restored b.png to its original."));
    EXPECT_TRUE(list->contextActions(rowB, &owner).isEmpty()) << "no backup is left to offer";
}

TEST(KeyboardWindow, TheTimingChipCommitsTheNameBeingTypedBeforeTheBenchOpens)
{
    WindowRig rig({"a.png", "b.png"});
    rig.key(Qt::Key_Return);
    RenameField* field = rig.view->fileList()->renameField();
    ASSERT_TRUE(field);
    QTest::keyClicks(field, QStringLiteral("apricot"));

    EXPECT_EQ(rig.controller->openBench(true), KeyPressResult::handled);
    WindowRig::settle();
    EXPECT_TRUE(rig.onDisk(QStringLiteral("apricot.png")));
    EXPECT_FALSE(rig.view->fileList()->renameField());
    ASSERT_TRUE(rig.controller->editingSession());
    EXPECT_EQ(rig.controller->editingSession()->fileURL, rig.url(QStringLiteral("apricot.png")));
    EXPECT_EQ(rig.controller->interactionMode(), InteractionMode::bench);
}
