#include "CollectionFixture.h"
#include "GifBuilder.h"
#include "HostileEntries.h"
#include "PeerTools.h"
#include "SyntheticImages.h"
#include "bench/sheets/BenchSheets.h"
#include "bench/sheets/Chip.h"
#include "bench/sheets/SaveGate.h"
#include "bench/view/BenchHeader.h"
#include "bench/view/RestorationView.h"
#include "collection/chrome/HResizableSplit.h"
#include "collection/chrome/ToastView.h"
#include "collection/preview/PreviewColumnController.h"
#include "inspectors/controls/ProminentButton.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;

namespace {

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

// The session a bench hands back: the one opened, with a record that brightens it.
RestorationSession edited(const ContentController& controller)
{
    RestorationSession session = *controller.editingSession();
    ToneSpec tone;
    tone.brightness = 0.4;
    session.record.emplace_back(Treatment(tone));
    return session;
}

} // namespace

TEST(BenchHosting, TheBenchOpensOnTheShownSelectionWithTheFilesBytes)
{
    ControllerRig rig({"a.png", "b.png"});
    rig.controller->setSelection(std::nullopt);
    EXPECT_EQ(rig.controller->openBench(false), KeyPressResult::ignored);
    rig.controller->setFilterQuery(QStringLiteral("b"));
    rig.controller->setSelection(rig.folder.url(QStringLiteral("a.png")));
    EXPECT_EQ(rig.controller->openBench(false), KeyPressResult::ignored);
    EXPECT_FALSE(rig.controller->editingSession());

    rig.controller->clearFilter();
    rig.select(QStringLiteral("a.png"));
    EXPECT_EQ(rig.controller->openBench(false), KeyPressResult::handled);
    ASSERT_TRUE(rig.controller->editingSession());
    const RestorationSession& session = *rig.controller->editingSession();
    EXPECT_EQ(session.fileURL, rig.folder.url(QStringLiteral("a.png")));
    EXPECT_EQ(session.originalData, bytesOf(rig.folder.path(QStringLiteral("a.png"))));
    EXPECT_TRUE(session.record.empty());
    EXPECT_FALSE(rig.controller->listFocused());
    EXPECT_EQ(rig.controller->interactionMode(), InteractionMode::bench);
}

TEST(BenchHosting, AFileGoneSinceTheScanOpensNoBench)
{
    ControllerRig rig({"a.png", "gone.png"});
    rig.select(QStringLiteral("gone.png"));
    rig.folder.remove(QStringLiteral("gone.png"));
    QFile missing(rig.folder.path(QStringLiteral("gone.png")));
    ASSERT_FALSE(missing.open(QIODevice::ReadOnly));

    EXPECT_EQ(rig.controller->openBench(false), KeyPressResult::handled);
    EXPECT_FALSE(rig.controller->editingSession());
    EXPECT_EQ(
        rig.controller->toast(), QStringLiteral("Couldn\u2019t open gone.png: ") + missing.errorString());
    EXPECT_EQ(rig.selectedName(), QStringLiteral("gone.png"));
}

TEST(BenchHosting, NamesThatHoldNoImageFileAreNeitherReadNorExportedOver)
{
    ControllerRig rig({"a.png", "b.png"});
    rig.select(QStringLiteral("b.png"));
    for (const HostileEntry entry : hostileEntries) {
        SCOPED_TRACE(int(entry));
        rig.folder.remove(QStringLiteral("b.png"));
        ASSERT_TRUE(makeHostileEntry(rig.folder.path(QStringLiteral("b.png")), entry));
        EXPECT_EQ(rig.controller->openBench(false), KeyPressResult::handled);
        EXPECT_FALSE(rig.controller->editingSession());
        EXPECT_EQ(rig.controller->toast(),
            entry == HostileEntry::sparseHuge
                ? QStringLiteral("Couldn\u2019t open b.png: it is too large.")
                : QStringLiteral("Couldn\u2019t open b.png: it isn\u2019t an image file."));
    }
    // Nor a link to a readable image beside it.
    rig.folder.remove(QStringLiteral("b.png"));
    ASSERT_TRUE(
        QFile::link(rig.folder.path(QStringLiteral("a.png")), rig.folder.path(QStringLiteral("b.png"))));
    EXPECT_EQ(rig.controller->openBench(false), KeyPressResult::handled);
    EXPECT_FALSE(rig.controller->editingSession());
    EXPECT_EQ(
        rig.controller->toast(), QStringLiteral("Couldn\u2019t open b.png: it isn\u2019t an image file."));

    // Each name an export might take is held by something that is no file: the next one is taken.
    for (const HostileEntry entry : hostileEntries) {
        const QString name
            = int(entry) == 0 ? QStringLiteral("c.png") : QStringLiteral("c-%1.png").arg(int(entry) + 1);
        ASSERT_TRUE(makeHostileEntry(rig.folder.path(name), entry));
    }
    rig.select(QStringLiteral("a.png"));
    rig.controller->openBench(false);
    rig.controller->exportFromBench(
        edited(*rig.controller), QStringLiteral("c"), ExportFormat::png, 82, GIFPalette::limited(256, false));
    EXPECT_EQ(rig.controller->toast(), QStringLiteral("Exported c-5.png."));
    EXPECT_EQ(QFileInfo(rig.folder.path(QStringLiteral("c-3.png"))).size(), 6'000'000'000LL);
    EXPECT_TRUE(QFileInfo(rig.folder.path(QStringLiteral("c-2.png"))).isSymLink());
}

TEST(BenchHosting, TheTimingRepairOpensWithAFramesRowOnlyWhereDelaysAreTooShort)
{
    ControllerRig rig;
    rig.folder.addGif(QStringLiteral("fast.gif"), 3, 0);
    rig.folder.addGif(QStringLiteral("tick.gif"), 2, 1);
    ASSERT_TRUE(writeFileBytes(
        rig.folder.path(QStringLiteral("undelayed.gif")), makeAnimatedGif(3, QSize(8, 8), std::nullopt)));
    rig.controller->refresh();

    rig.select(QStringLiteral("fast.gif"));
    rig.controller->openBench(true);
    ASSERT_TRUE(rig.controller->editingSession());
    ASSERT_EQ(rig.controller->editingSession()->record.size(), 1u);
    EXPECT_EQ(rig.controller->editingSession()->record[0].treatment,
        Treatment(FramesSpec::fromDelays({100, 100, 100})));
    rig.controller->closeBench();

    rig.select(QStringLiteral("tick.gif"));
    rig.controller->openBench(true);
    ASSERT_TRUE(rig.controller->editingSession());
    ASSERT_EQ(rig.controller->editingSession()->record.size(), 1u);
    EXPECT_EQ(
        rig.controller->editingSession()->record[0].treatment, Treatment(FramesSpec::fromDelays({100, 100})));
    rig.controller->closeBench();

    // The keys open the same image without the repair.
    rig.select(QStringLiteral("fast.gif"));
    rig.controller->openBench(false);
    ASSERT_TRUE(rig.controller->editingSession());
    EXPECT_TRUE(rig.controller->editingSession()->record.empty());
    rig.controller->closeBench();

    // Frames that state no delay already play at 100 ms: nothing to repair.
    rig.select(QStringLiteral("undelayed.gif"));
    rig.controller->openBench(true);
    ASSERT_TRUE(rig.controller->editingSession());
    EXPECT_TRUE(rig.controller->editingSession()->record.empty());
}

TEST(BenchHosting, AGif87aIsListedWithItsSizeAndTimingAndOpensWithEveryFrame)
{
    ViewRig rig({"a.png"});
    const QByteArray gif
        = makeGif87a({solidImage(12, 7, Qt::red), solidImage(12, 7, Qt::blue), solidImage(12, 7, Qt::green)});
    ASSERT_TRUE(gif.startsWith("GIF87a"));
    ASSERT_TRUE(writeFileBytes(rig.folder.path(QStringLiteral("old.gif")), gif));
    rig.controller->refresh();
    const QList<ImageItem>& items = rig.folder.store().items();
    const auto old = std::find_if(items.cbegin(), items.cend(),
        [](const ImageItem& item) { return item.filename == QStringLiteral("old.gif"); });
    ASSERT_NE(old, items.cend());
    EXPECT_EQ(old->type, QStringLiteral("GIF"));
    EXPECT_EQ(old->pixelSize, QSizeF(12, 7));
    EXPECT_EQ(old->gifTiming, GIFTiming::makeAnimated(0, false));

    rig.select(QStringLiteral("old.gif"));
    rig.controller->openBench(false);
    ViewRig::settle();
    ASSERT_TRUE(rig.view->bench());
    const std::optional<Filmstrip>& strip = rig.view->bench()->model().sourceStrip();
    ASSERT_TRUE(strip);
    ASSERT_EQ(strip->frames.size(), 3u);
    EXPECT_EQ(strip->delays, (std::vector<qint64>{100, 100, 100}));
    EXPECT_EQ(pixelAt(strip->frames[1], 11, 6), QColor(Qt::blue));
}

TEST(BenchHosting, ASaveClosesTheBenchSelectsTheImageAndSaysWhatWasAskedFor)
{
    ControllerRig rig({"a.png", "b.png"});
    rig.select(QStringLiteral("b.png"));
    rig.controller->openBench(false);
    rig.controller->saveFromBench(edited(*rig.controller), true);
    EXPECT_FALSE(rig.controller->editingSession());
    EXPECT_EQ(rig.selectedName(), QStringLiteral("b.png"));
    EXPECT_EQ(rig.controller->toast(),
        QStringLiteral("Saved b.png. Original backed up \u2014 right-click to restore it."));
    EXPECT_TRUE(rig.folder.store().editedFilenames().contains(QStringLiteral("b.png")));

    // A second save keeps the first backup, and still says so.
    rig.controller->openBench(false);
    rig.controller->saveFromBench(edited(*rig.controller), true);
    EXPECT_EQ(rig.controller->toast(),
        QStringLiteral("Saved b.png. Original backed up \u2014 right-click to restore it."));

    rig.select(QStringLiteral("a.png"));
    rig.controller->openBench(false);
    const QByteArray before = bytesOf(rig.folder.path(QStringLiteral("a.png")));
    rig.controller->saveFromBench(edited(*rig.controller), false);
    EXPECT_EQ(rig.controller->toast(), QStringLiteral("Saved a.png."));
    EXPECT_NE(bytesOf(rig.folder.path(QStringLiteral("a.png"))), before);

    ViewRig::settle();
    EXPECT_TRUE(rig.controller->listFocused());
}

TEST(BenchHosting, AFailedSaveOrAnyExportLeavesTheBenchOpen)
{
    ControllerRig rig({"a.png"});
    rig.select(QStringLiteral("a.png"));
    rig.controller->openBench(false);
    const RestorationSession unedited = *rig.controller->editingSession();
    rig.controller->saveFromBench(unedited, true);
    EXPECT_EQ(rig.controller->toast(), QStringLiteral("Nothing to save."));
    EXPECT_EQ(rig.controller->editingSession(), unedited);

    rig.controller->exportFromBench(edited(*rig.controller), QStringLiteral("a-small"), ExportFormat::png, 82,
        GIFPalette::limited(256, false));
    EXPECT_EQ(rig.controller->toast(), QStringLiteral("Exported a-small.png."));
    rig.controller->exportFromBench(edited(*rig.controller), QStringLiteral("a-small"), ExportFormat::png, 82,
        GIFPalette::limited(256, false));
    EXPECT_EQ(rig.controller->toast(), QStringLiteral("Exported a-small-2.png."));
    RestorationSession unreadable = edited(*rig.controller);
    unreadable.originalData = "not an image";
    rig.controller->exportFromBench(
        unreadable, QStringLiteral("a-small"), ExportFormat::png, 82, GIFPalette::limited(256, false));
    EXPECT_EQ(rig.controller->toast(), QStringLiteral("Couldn\u2019t render a.png to PNG."));
    EXPECT_EQ(rig.controller->editingSession(), unedited);
    EXPECT_EQ(rig.selectedName(), QStringLiteral("a.png"));
    EXPECT_EQ(rig.controller->interactionMode(), InteractionMode::bench);
}

TEST(BenchHosting, SaveWaitsForARowAndTheGateStartsWithTheBackupSettingInEitherState)
{
    ViewRig rig({"a.png"});
    for (const bool backup : {false, true}) {
        rig.folder.prefs().setBackupOnSave(backup);
        rig.select(QStringLiteral("a.png"));
        rig.controller->openBench(false);
        ViewRig::settle();
        RestorationView* bench = rig.view->bench();
        ASSERT_TRUE(bench);
        BenchModel& model = bench->model();
        ProminentButton* save = bench->header()->saveButton();
        EXPECT_FALSE(save->isEnabled());
        QTest::mouseClick(save, Qt::LeftButton);
        EXPECT_FALSE(model.showingSaveGate());

        model.appendEntry(Treatment(ToneSpec{}));
        EXPECT_TRUE(save->isEnabled());
        QTest::mouseClick(save, Qt::LeftButton);
        SaveGate* gate = bench->sheets()->saveGate();
        ASSERT_TRUE(gate && gate->backupToggle());
        EXPECT_EQ(gate->backupToggle()->isChecked(), backup);
        gate->keepEditingButton()->click();
        rig.controller->closeBench();
        ViewRig::settle();
    }
}

TEST(BenchHosting, CancelWritesNothingAndGivesTheListItsFocusBackAfterATurn)
{
    ControllerRig rig({"a.png"});
    rig.select(QStringLiteral("a.png"));
    const QByteArray before = bytesOf(rig.folder.path(QStringLiteral("a.png")));
    rig.controller->openBench(false);
    rig.controller->closeBench();
    EXPECT_FALSE(rig.controller->editingSession());
    EXPECT_FALSE(rig.controller->listFocused());
    EXPECT_FALSE(rig.controller->toast());
    ViewRig::settle();
    EXPECT_TRUE(rig.controller->listFocused());
    EXPECT_EQ(bytesOf(rig.folder.path(QStringLiteral("a.png"))), before);
    EXPECT_FALSE(rig.folder.store().editedFilenames().contains(QStringLiteral("a.png")));
}

TEST(BenchHosting, TheBenchTakesTheCollectionsPlaceInTheWindowBeneathTheToasts)
{
    ViewRig rig({"a.png"});
    rig.folder.prefs().setBackupOnSave(true);
    ASSERT_TRUE(
        writeFileBytes(rig.folder.path(QStringLiteral("fast.gif")), makeAnimatedGif(2, QSize(8, 8), 0)));
    rig.controller->refresh();
    rig.select(QStringLiteral("fast.gif"));
    ViewRig::settle();

    // The "! fix timing" chip opens it with the repair ready.
    Chip* timingChip = nullptr;
    for (Chip* chip : rig.view->findChildren<Chip*>()) {
        if (chip->text() == PreviewColumnController::timingChipText())
            timingChip = chip;
    }
    ASSERT_TRUE(timingChip && timingChip->isVisible());
    timingChip->click();
    ViewRig::settle();
    RestorationView* bench = rig.view->bench();
    ASSERT_TRUE(bench);
    EXPECT_TRUE(bench->isVisible());
    EXPECT_EQ(bench->geometry(), rig.view->rect());
    EXPECT_FALSE(rig.view->split()->isVisible());
    EXPECT_EQ(bench->model().record().size(), 1u);
    EXPECT_EQ(rig.view->children().last(), rig.view->toastView());

    // The bench's backup choice is the preference when it opened.
    rig.folder.prefs().setBackupOnSave(false);
    EXPECT_TRUE(bench->model().backupOriginal());

    // Notices become toasts; Cancel closes the bench from its own button.
    emit bench->model().noticePosted(QStringLiteral("Only the first frame is used for a stamp."));
    EXPECT_EQ(rig.controller->toast(), QStringLiteral("Only the first frame is used for a stamp."));
    bench->findChild<BenchHeader*>()->cancelButton()->click();
    ViewRig::settle();
    EXPECT_FALSE(rig.view->bench());
    EXPECT_TRUE(rig.view->split()->isVisible());
    EXPECT_EQ(rig.focus(), rig.view->split());
}
