#include "QtPrinting.h"
#include "SettingsRig.h"
#include "app/DestinationField.h"
#include "app/FilingPane.h"
#include "app/GeneralPane.h"
#include "app/PreviewPane.h"
#include "app/RestorationPane.h"
#include "app/SettingsColorButton.h"
#include "app/SettingsController.h"
#include "app/SettingsSegmentedPicker.h"
#include "app/SettingsToggle.h"
#include "app/SettingsView.h"
#include "inspectors/controls/ThemedLabel.h"

#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

using namespace plenoria;

namespace {

void clickSegment(SettingsSegmentedPicker* picker, int index)
{
    QTest::mouseClick(picker, Qt::LeftButton, {}, picker->segmentRect(index).center());
}

QStringList menuEntries(const QComboBox* menu)
{
    QStringList entries;
    for (int index = 0; index < menu->count(); ++index)
        entries.append(menu->itemText(index));
    return entries;
}

void pickInPanel(SettingsColorButton* well, const QColor& color)
{
    QTest::mouseClick(well, Qt::LeftButton);
    ASSERT_NE(well->panel(), nullptr);
    well->panel()->setCurrentColor(color);
    well->panel()->close();
}

// One use of one control of the settings window, and every key it must write, with the value.
struct ControlUse {
    const char* name;
    std::function<void(SettingsView&)> use;
    QMap<QString, QString> writes;
    std::function<void(Preferences&)> before = [](Preferences&) {};
};

} // namespace

TEST(SettingsPanes, EveryControlWritesItsOwnKeysAndNoOther)
{
    const QString onlyKeyFour = QStringLiteral("|||Cats|||||"); // the nine names, joined
    const std::vector<ControlUse> uses = {
        {"Theme: Dark", [](SettingsView& v) { clickSegment(v.generalPane()->themePicker(), 2); },
            {{"theme", "dark"}}},
        {"Theme: Light", [](SettingsView& v) { clickSegment(v.generalPane()->themePicker(), 1); },
            {{"theme", "light"}}},
        {"File list position: Right",
            [](SettingsView& v) { clickSegment(v.generalPane()->listSidePicker(), 1); },
            {{"listSide", "right"}}},
        {"Background order: Light first",
            [](SettingsView& v) { clickSegment(v.previewPane()->orderPicker(), 1); },
            {{"previewDarkFirst", "false"}}},
        {"Default size: 256 px",
            [](SettingsView& v) {
                v.previewPane()->sizeMenu()->setFocus();
                QTest::keyClick(v.previewPane()->sizeMenu(), Qt::Key_Down);
            },
            {{"defaultZoom", "256"}}},
        {"Dark tile", [](SettingsView& v) { pickInPanel(v.previewPane()->darkWell(), QColor(1, 2, 3)); },
            {{"previewDarkHex", "#010203"}}},
        {"Light tile", [](SettingsView& v) { pickInPanel(v.previewPane()->lightWell(), QColor(4, 5, 6)); },
            {{"previewLightHex", "#040506"}}},
        {"Restore defaults",
            [](SettingsView& v) { QTest::mouseClick(v.previewPane()->restoreButton(), Qt::LeftButton); },
            {{"previewDarkHex", "#211E19"}, {"previewLightHex", "#E6E2D2"}},
            [](Preferences& prefs) { prefs.setPreviewLightHex("pale"); }},
        {"Automatically play files",
            [](SettingsView& v) { QTest::mouseClick(v.previewPane()->playToggle(), Qt::LeftButton); },
            {{"animateGIFs", "false"}}},
        {"Key 4",
            [](SettingsView& v) {
                v.filingPane()->field(3)->setFocus();
                QTest::keyClicks(v.filingPane()->field(3), "Cats");
            },
            {{"subfolderNames", onlyKeyFour}}},
        {"Back up originals on Save",
            [](SettingsView& v) { QTest::mouseClick(v.restorationPane()->backupToggle(), Qt::LeftButton); },
            {{"backupOnSave", "false"}}},
        {"Show edited badge in the collection",
            [](SettingsView& v) { QTest::mouseClick(v.restorationPane()->badgeToggle(), Qt::LeftButton); },
            {{"showEditedBadge", "false"}}},
    };
    for (const ControlUse& control : uses) {
        SCOPED_TRACE(control.name);
        SettingsRig rig;
        control.before(*rig.prefs);
        SettingsView view(*rig.prefs, *rig.store);
        view.show();
        QMap<QString, QString> expected = rig.storedKeys();
        control.use(view);
        expected.insert(control.writes);
        EXPECT_EQ(rig.storedKeys(), expected);
    }
}

TEST(SettingsPanes, GeneralPaneWritesTheThemeAndListSideAtOnce)
{
    SettingsRig rig;
    SettingsController controller(*rig.prefs, *rig.store);
    GeneralPane pane(controller);
    EXPECT_EQ(pane.themePicker()->labels(), QStringList({"System", "Light", "Dark"}));
    EXPECT_EQ(pane.themePicker()->currentIndex(), 0);

    // Right on the last segment stays there.
    clickSegment(pane.themePicker(), 2);
    QTest::keyClick(pane.themePicker(), Qt::Key_Right);
    EXPECT_EQ(rig.prefs->theme(), AppTheme::dark);
    EXPECT_EQ(rig.stored("theme").toString(), "dark");

    clickSegment(pane.listSidePicker(), 1);
    QTest::keyClick(pane.listSidePicker(), Qt::Key_Right);
    EXPECT_EQ(rig.stored("listSide").toString(), "right");

    // A change made elsewhere shows at once.
    rig.prefs->setTheme(AppTheme::light);
    EXPECT_EQ(pane.themePicker()->currentIndex(), 1);
}

TEST(SettingsPanes, PreviewPaneWritesOrderSizeAndPlayback)
{
    SettingsRig rig;
    SettingsController controller(*rig.prefs, *rig.store);
    PreviewPane pane(controller);

    clickSegment(pane.orderPicker(), 1);
    EXPECT_FALSE(rig.prefs->previewDarkFirst());
    EXPECT_EQ(rig.stored("previewDarkFirst").toBool(), false);

    EXPECT_EQ(menuEntries(pane.sizeMenu()), QStringList({"32 px", "64 px", "128 px", "256 px", "512 px"}));
    EXPECT_EQ(pane.sizeMenu()->currentText(), "128 px");
    pane.sizeMenu()->setFocus();
    QTest::keyClick(pane.sizeMenu(), Qt::Key_Down);
    EXPECT_EQ(rig.stored("defaultZoom").toLongLong(), 256);

    ASSERT_TRUE(pane.playToggle()->isChecked());
    QTest::mouseClick(pane.playToggle(), Qt::LeftButton);
    EXPECT_FALSE(rig.prefs->animateGIFs());
    EXPECT_EQ(rig.stored("animateGIFs").toBool(), false);
    // The main window's "/" key flips it back; the switch follows.
    rig.prefs->setAnimateGIFs(true);
    EXPECT_TRUE(pane.playToggle()->isChecked());
}

TEST(SettingsPanes, TileColoursRoundTripAsUpperCaseHexAndRestoreDefaults)
{
    SettingsRig rig;
    SettingsController controller(*rig.prefs, *rig.store);
    PreviewPane pane(controller);
    EXPECT_FALSE(pane.restoreButton()->isEnabled());
    EXPECT_EQ(pane.darkWell()->color(), QColor(0x21, 0x1E, 0x19));

    emit pane.darkWell()->colorPicked(QColor(0xa1, 0xb2, 0xc3));
    EXPECT_EQ(rig.stored("previewDarkHex").toString(), "#A1B2C3");
    EXPECT_EQ(controller.darkColor(), QColor(0xA1, 0xB2, 0xC3));
    EXPECT_TRUE(pane.restoreButton()->isEnabled());

    // Picking the default by hand counts as the default again.
    emit pane.darkWell()->colorPicked(QColor(0x21, 0x1E, 0x19));
    EXPECT_FALSE(pane.restoreButton()->isEnabled());

    // Same digits in lower case are not the default text.
    rig.prefs->setPreviewLightHex("#e6e2d2");
    EXPECT_TRUE(pane.restoreButton()->isEnabled());
    QTest::mouseClick(pane.restoreButton(), Qt::LeftButton);
    EXPECT_EQ(rig.stored("previewDarkHex").toString(), "#211E19");
    EXPECT_EQ(rig.stored("previewLightHex").toString(), "#E6E2D2");
    EXPECT_FALSE(pane.restoreButton()->isEnabled());

    // Unreadable text shows as the clear colour and is replaced only by a pick or a restore.
    rig.prefs->setPreviewLightHex("pale");
    EXPECT_EQ(pane.lightWell()->color().alpha(), 0);
    EXPECT_TRUE(pane.restoreButton()->isEnabled());
    EXPECT_EQ(rig.stored("previewLightHex").toString(), "pale");
}

TEST(SettingsPanes, TheColourPanelWritesEveryColourItReportsButNotTheModelsOwn)
{
    SettingsRig rig;
    SettingsController controller(*rig.prefs, *rig.store);
    PreviewPane pane(controller);
    QTest::mouseClick(pane.lightWell(), Qt::LeftButton);
    QColorDialog* panel = pane.lightWell()->panel();
    ASSERT_NE(panel, nullptr);
    EXPECT_FALSE(panel->testOption(QColorDialog::ShowAlphaChannel));
    EXPECT_EQ(panel->currentColor(), QColor(0xE6, 0xE2, 0xD2));

    panel->setCurrentColor(QColor(10, 20, 30));
    EXPECT_EQ(rig.stored("previewLightHex").toString(), "#0A141E");
    panel->setCurrentColor(QColor(11, 20, 30));
    EXPECT_EQ(rig.stored("previewLightHex").toString(), "#0B141E");

    // Restoring while the panel is open moves the panel without a pick echoing back.
    rig.prefs->setPreviewLightHex("pale");
    QTest::mouseClick(pane.restoreButton(), Qt::LeftButton);
    EXPECT_EQ(panel->currentColor(), QColor(0xE6, 0xE2, 0xD2));
    EXPECT_EQ(rig.stored("previewLightHex").toString(), "#E6E2D2");
    panel->close();
}

TEST(SettingsPanes, DestinationNamesAreFlaggedWhenUnusableOrRepeated)
{
    const auto flags = [](const QStringList& names) {
        QList<bool> result;
        for (qint64 position = 0; position < names.size(); ++position)
            result.append(SettingsController::isFlagged(names, position));
        return result;
    };
    // Same name in fields 1 and 4, apart from letter case and a trailing blank.
    EXPECT_EQ(flags({"Cats", "dogs", "", "cats ", "", "", "", "", ""}),
        QList<bool>({true, false, false, true, false, false, false, false, false}));
    EXPECT_EQ(flags({"Cats", "dogs", "", "", "", "", "", "", ""}), QList<bool>(9, false));
    EXPECT_EQ(flags({"a/b", "Good name-2_x", "   ", "", "", "", "", "", ""}),
        QList<bool>({true, false, false, false, false, false, false, false, false}));
    // An invalid name still counts among the repeats.
    EXPECT_EQ(flags({"a:b", "A:B", "", "", "", "", "", "", ""}),
        QList<bool>({true, true, false, false, false, false, false, false, false}));
    EXPECT_EQ(SettingsController::duplicateNames({" x", "X", "y", "", "  ", ""}), QSet<QString>({"x"}));
    EXPECT_FALSE(SettingsController::isFlagged({"a/b"}, 4));
}

TEST(SettingsPanes, FilingFieldsStoreEveryKeystrokeAsTypedAndOutlineRepeats)
{
    SettingsRig rig;
    SettingsController controller(*rig.prefs, *rig.store);
    FilingPane pane(controller);
    EXPECT_EQ(pane.field(0)->placeholderText(), "unset");

    pane.field(0)->setFocus();
    QTest::keyClicks(pane.field(0), "Ca");
    QStringList stored = rig.stored("subfolderNames").toStringList();
    ASSERT_EQ(stored.size(), 9);
    EXPECT_EQ(stored.at(0), "Ca");
    QTest::keyClicks(pane.field(0), "ts");
    QTest::keyClicks(pane.field(3), "cats ");
    stored = rig.stored("subfolderNames").toStringList();
    ASSERT_EQ(stored.size(), 9);
    EXPECT_EQ(stored.at(0), "Cats");
    EXPECT_EQ(stored.at(3), "cats ");
    EXPECT_TRUE(pane.field(0)->isFlagged());
    EXPECT_TRUE(pane.field(3)->isFlagged());

    pane.field(3)->selectAll();
    QTest::keyClick(pane.field(3), Qt::Key_Backspace);
    EXPECT_FALSE(pane.field(0)->isFlagged());
    EXPECT_FALSE(pane.field(3)->isFlagged());

    QTest::keyClicks(pane.field(5), "   ");
    stored = rig.stored("subfolderNames").toStringList();
    ASSERT_EQ(stored.size(), 9);
    EXPECT_EQ(stored.at(5), "   ");
    EXPECT_FALSE(pane.field(5)->isFlagged());
    QTest::keyClicks(pane.field(6), "a/b");
    EXPECT_TRUE(pane.field(6)->isFlagged());
    EXPECT_EQ(rig.prefs->subfolderNames().size(), 9);
}

TEST(SettingsPanes, FilingRowsReadKeyOneToNineBesideTheirOwnFields)
{
    SettingsRig rig;
    SettingsController controller(*rig.prefs, *rig.store);
    FilingPane pane(controller);
    pane.show();
    // The label a user reads on the same line as each field.
    QStringList labels;
    for (qint64 position = 0; position < 9; ++position) {
        const QWidget* field = pane.field(position);
        const int middle = field->mapTo(&pane, field->rect().center()).y();
        QStringList level;
        for (const QLabel* label : pane.findChildren<QLabel*>()) {
            const QRect box(label->mapTo(&pane, QPoint(0, 0)), label->size());
            if (label->isVisible() && box.top() <= middle && middle <= box.bottom())
                level.append(label->text());
        }
        labels.append(level.join(QLatin1Char('|')));
        EXPECT_EQ(field->accessibleName(), level.join(QLatin1Char('|')));
    }
    EXPECT_EQ(labels,
        QStringList({"Key 1", "Key 2", "Key 3", "Key 4", "Key 5", "Key 6", "Key 7", "Key 8", "Key 9"}));
}

TEST(SettingsPanes, RestorationPaneWritesTogglesAndRevealsOnlyAnExistingBackupsFolder)
{
    SettingsRig rig;
    SettingsController controller(*rig.prefs, *rig.store);
    RestorationPane pane(controller);

    QTest::mouseClick(pane.backupToggle(), Qt::LeftButton);
    EXPECT_EQ(rig.stored("backupOnSave").toBool(), false);
    QTest::mouseClick(pane.badgeToggle(), Qt::LeftButton);
    EXPECT_EQ(rig.stored("showEditedBadge").toBool(), false);

    EXPECT_FALSE(pane.revealButton()->isEnabled());
    ASSERT_TRUE(QDir().mkpath(rig.originalsPath()));
    controller.refresh();
    ASSERT_TRUE(pane.revealButton()->isEnabled());
    EXPECT_EQ(pane.revealButton()->text(), "Open in File Manager");
    QTest::mouseClick(pane.revealButton(), Qt::LeftButton);
    ASSERT_EQ(rig.reveal->revealed.size(), 1);
    EXPECT_EQ(rig.reveal->revealed.at(0), QUrl::fromLocalFile(rig.originalsPath()));
    EXPECT_TRUE(pane.revealFailureLine()->isHidden());

    // Nothing could show it: the pane says so until an attempt that works.
    rig.reveal->fail = true;
    QTest::mouseClick(pane.revealButton(), Qt::LeftButton);
    EXPECT_FALSE(pane.revealFailureLine()->isHidden());
    EXPECT_EQ(pane.revealFailureLine()->text(), QStringLiteral("Couldn’t open the file manager."));
    rig.reveal->fail = false;
    QTest::mouseClick(pane.revealButton(), Qt::LeftButton);
    EXPECT_TRUE(pane.revealFailureLine()->isHidden());

    // Gone while the button still shows enabled: pressing it does nothing.
    ASSERT_TRUE(QDir(rig.originalsPath()).removeRecursively());
    QTest::mouseClick(pane.revealButton(), Qt::LeftButton);
    EXPECT_EQ(rig.reveal->revealed.size(), 3);
}

TEST(SettingsPanes, WithoutAWorkingFolderTheBackupsFolderCannotBeOpened)
{
    SettingsRig rig(false);
    SettingsController controller(*rig.prefs, *rig.store);
    RestorationPane pane(controller);
    EXPECT_FALSE(pane.revealButton()->isEnabled());
}

TEST(SettingsPanes, TheWindowHasFourTabsAndTakesTheChosenPanesHeight)
{
    SettingsRig rig;
    SettingsView view(*rig.prefs, *rig.store);
    view.show();
    EXPECT_EQ(view.tabTitles(), QStringList({"General", "Preview", "Filing", "Restoration"}));
    EXPECT_EQ(view.width(), 460);
    const int generalHeight = view.sizeHint().height();
    view.setCurrentTab(SettingsView::Tab::filing);
    QCoreApplication::processEvents();
    EXPECT_GT(view.sizeHint().height(), generalHeight);
    view.setCurrentTab(SettingsView::Tab::general);
    QCoreApplication::processEvents();
    EXPECT_EQ(view.sizeHint().height(), generalHeight);

    view.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    QTest::keyClick(&view, Qt::Key_Escape);
    EXPECT_FALSE(view.isVisible());
}
