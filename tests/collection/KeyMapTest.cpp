#include "KeyboardSupport.h"

#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;
using namespace std::chrono_literals;

namespace {

const QStringList fourImages{"a.png", "b.png", "c.png", "d.png"};
const QStringList destinations{"Keep", "", "Cats", "  \t", "Bad/Name"};
constexpr KeyPressResult handled = KeyPressResult::handled;
constexpr KeyPressResult ignored = KeyPressResult::ignored;

} // namespace

TEST(KeyMap, KeysActOnlyWhileBrowsing)
{
    KeyboardRig rig(fourImages, destinations);
    rig.select(QStringLiteral("b.png"));

    rig.controller->setRenamingItemID(rig.folder.url(QStringLiteral("b.png")));
    for (const KeyPress& key : {typed('3'), press(Qt::Key_Down), press(Qt::Key_Z, {}, Qt::ControlModifier),
             typed('c'), press(Qt::Key_Return, QStringLiteral("\r"))})
        EXPECT_EQ(rig.key(key), ignored);
    EXPECT_TRUE(rig.onDisk(QStringLiteral("b.png")));
    EXPECT_EQ(rig.selectedName(), QStringLiteral("b.png"));
    EXPECT_EQ(rig.beeps, 0);

    rig.controller->cancelRename();
    rig.controller->focusFilterField();
    EXPECT_EQ(rig.key('3'), ignored);
    EXPECT_TRUE(rig.onDisk(QStringLiteral("b.png")));

    rig.controller->leaveFilterToList();
    EXPECT_EQ(rig.key('3'), handled);
    EXPECT_TRUE(rig.onDisk(QStringLiteral("Cats/b.png")));
}

TEST(KeyMap, DigitsFileTheSelectionAndSelectItsNeighbour)
{
    KeyboardRig rig(fourImages, destinations);
    rig.select(QStringLiteral("b.png"));

    EXPECT_EQ(rig.key('3'), handled);
    EXPECT_FALSE(rig.onDisk(QStringLiteral("b.png")));
    EXPECT_TRUE(rig.onDisk(QStringLiteral("Cats/b.png")));
    EXPECT_EQ(rig.filteredNames(), (QStringList{"a.png", "c.png", "d.png"}));
    EXPECT_EQ(rig.selectedName(), QStringLiteral("c.png"));
    EXPECT_FALSE(rig.toast()) << "a plain move is silent";
    EXPECT_EQ(rig.folder.store().filedCount(QStringLiteral("Cats")), 1);

    // The last image gives way to the one before it; the only one leaves nothing selected.
    rig.select(QStringLiteral("d.png"));
    EXPECT_EQ(rig.key('1'), handled);
    EXPECT_EQ(rig.selectedName(), QStringLiteral("c.png"));
    rig.controller->setFilterQuery(QStringLiteral("a"));
    EXPECT_EQ(rig.key('1'), handled);
    EXPECT_FALSE(rig.controller->selection());
    EXPECT_TRUE(rig.onDisk(QStringLiteral("Keep/a.png")));

    // Holding a digit files image after image.
    rig.controller->clearFilter();
    rig.folder.addPng(QStringLiteral("e.png"));
    rig.controller->refresh();
    rig.select(QStringLiteral("c.png"));
    EXPECT_EQ(rig.key({Qt::Key_1, QStringLiteral("1"), Qt::NoModifier, true}), handled);
    EXPECT_EQ(rig.key({Qt::Key_1, QStringLiteral("1"), Qt::NoModifier, true}), handled);
    EXPECT_TRUE(rig.filteredNames().isEmpty());
    EXPECT_TRUE(rig.onDisk(QStringLiteral("Keep/e.png")));
}

TEST(KeyMap, DigitsWithoutADestinationOrUnderCtrlOrAltFileNothing)
{
    KeyboardRig rig(fourImages, destinations);
    rig.select(QStringLiteral("a.png"));

    EXPECT_EQ(rig.key('2'), ignored) << "empty name";
    EXPECT_EQ(rig.key('4'), ignored) << "spaces and a tab only";
    EXPECT_EQ(rig.key('9'), ignored) << "never named";
    EXPECT_EQ(rig.key(press(Qt::Key_1, QStringLiteral("1"), Qt::ControlModifier)), ignored);
    // Alt changes the typed character, so Alt+1 is no "1".
    EXPECT_EQ(rig.key(press(Qt::Key_1, QStringLiteral("1"), Qt::AltModifier)), ignored);
    // Shift turns the digit key into another character.
    EXPECT_EQ(rig.key(press(Qt::Key_Exclam, QStringLiteral("!"), Qt::ShiftModifier)), ignored);
    EXPECT_EQ(QDir(rig.folder.path({})).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList{});
    EXPECT_EQ(rig.filteredNames(), fourImages);
    EXPECT_FALSE(rig.toast());

    // The keypad's digits file like the row's; Meta does not stand in the way.
    EXPECT_EQ(rig.key(press(Qt::Key_1, QStringLiteral("1"), Qt::KeypadModifier | Qt::MetaModifier)), handled);
    EXPECT_TRUE(rig.onDisk(QStringLiteral("Keep/a.png")));
}

TEST(KeyMap, FilingReportsARenamedMoveAndEveryFailureAsAToast)
{
    KeyboardRig rig(fourImages, destinations);
    ASSERT_TRUE(QDir(rig.folder.path({})).mkpath(QStringLiteral("Cats")));
    rig.folder.addPng(QStringLiteral("Cats/a.png"));
    rig.folder.addPng(QStringLiteral("Cats/a-2.png"));
    rig.select(QStringLiteral("a.png"));

    EXPECT_EQ(rig.key('3'), handled);
    EXPECT_TRUE(rig.onDisk(QStringLiteral("Cats/a-3.png")));
    EXPECT_EQ(rig.toast(), QStringLiteral("a.png exists. a-3.png created. Press Ctrl+Z to undo."));
    EXPECT_EQ(rig.selectedName(), QStringLiteral("b.png"));

    EXPECT_EQ(rig.key('5'), handled);
    EXPECT_EQ(rig.toast(), QStringLiteral("\u201CBad/Name\u201D isn\u2019t a valid folder name."));
    EXPECT_EQ(rig.selectedName(), QStringLiteral("b.png"));
    EXPECT_TRUE(rig.onDisk(QStringLiteral("b.png")));

    // A selection the filter hides is never filed.
    rig.controller->setFilterQuery(QStringLiteral("c"));
    rig.controller->setSelection(rig.folder.url(QStringLiteral("b.png")));
    EXPECT_EQ(rig.key('1'), ignored);
    EXPECT_TRUE(rig.onDisk(QStringLiteral("b.png")));

    // A backup that cannot be set aside as its image leaves is named in the toast.
    rig.controller->setFilterQuery({});
    ASSERT_TRUE(QDir(rig.folder.path({})).mkpath(QStringLiteral(".plenoria/originals")));
    rig.folder.addPng(QStringLiteral(".plenoria/originals/d.png"));
    rig.folder.addPng(QStringLiteral(".plenoria/displaced"));
    rig.select(QStringLiteral("d.png"));
    EXPECT_EQ(rig.key('3'), handled);
    EXPECT_EQ(rig.toast(),
        QStringLiteral(
            "Filed d.png in Cats, but its backup stays in .plenoria/originals as d.png: File exists."));
}

TEST(KeyMap, UndoKeysBringTheImageBackAndNameIt)
{
    KeyboardRig rig(fourImages, destinations);
    rig.select(QStringLiteral("b.png"));
    ASSERT_EQ(rig.key('3'), handled);
    ASSERT_EQ(rig.key('3'), handled);
    ASSERT_EQ(rig.selectedName(), QStringLiteral("d.png"));

    // Ctrl's text is a control character: the key code decides.
    EXPECT_EQ(rig.key(press(Qt::Key_Z, QStringLiteral("\x1a"), Qt::ControlModifier)), handled);
    EXPECT_TRUE(rig.onDisk(QStringLiteral("c.png")));
    EXPECT_EQ(rig.selectedName(), QStringLiteral("c.png"));
    EXPECT_EQ(rig.toast(), QStringLiteral("Moved c.png back."));

    EXPECT_EQ(rig.key('`'), handled);
    EXPECT_TRUE(rig.onDisk(QStringLiteral("b.png")));
    EXPECT_EQ(rig.selectedName(), QStringLiteral("b.png"));
    EXPECT_EQ(rig.toast(), QStringLiteral("Moved b.png back."));
    EXPECT_EQ(rig.filteredNames(), fourImages);

    ASSERT_TRUE(rig.controller->commitRename(
        rig.controller->selectedItem().value(), QStringLiteral("bee.png"), true));
    EXPECT_EQ(rig.key(press(Qt::Key_Period, QStringLiteral("."), Qt::ControlModifier)), handled);
    EXPECT_TRUE(rig.onDisk(QStringLiteral("b.png")));
    EXPECT_EQ(rig.toast(), QStringLiteral("Renamed back to b.png."));

    // Nothing left: a beep and no new toast.
    const qint64 token = rig.controller->toastToken();
    EXPECT_EQ(rig.key('.'), handled);
    EXPECT_EQ(rig.beeps, 1);
    EXPECT_EQ(rig.controller->toastToken(), token);
}

TEST(KeyMap, UndoReportsAnOccupiedPlaceAndTheFilterHasTheLastWordOnTheSelection)
{
    KeyboardRig rig(fourImages, destinations);
    rig.select(QStringLiteral("a.png"));
    ASSERT_EQ(rig.key('1'), handled);
    rig.folder.addPng(QStringLiteral("a.png"));

    EXPECT_EQ(rig.key(press(Qt::Key_Z, {}, Qt::ControlModifier | Qt::ShiftModifier)), handled);
    EXPECT_EQ(rig.toast(), QStringLiteral("Can\u2019t undo: something now occupies a.png."));
    EXPECT_TRUE(rig.onDisk(QStringLiteral("Keep/a.png")));

    rig.folder.remove(QStringLiteral("a.png"));
    rig.controller->setFilterQuery(QStringLiteral("d"));
    EXPECT_EQ(rig.key('.'), handled);
    EXPECT_TRUE(rig.onDisk(QStringLiteral("a.png")));
    EXPECT_EQ(rig.selectedName(), QStringLiteral("d.png"));
}

TEST(KeyMap, ArrowsMoveWithinTheShownListAndAltReachesItsEnds)
{
    KeyboardRig rig(fourImages);
    rig.controller->setSelection(std::nullopt);
    EXPECT_EQ(rig.key(press(Qt::Key_Down)), handled);
    EXPECT_EQ(rig.selectedName(), QStringLiteral("b.png")) << "nothing selected counts as the first";
    rig.controller->setSelection(std::nullopt);
    EXPECT_EQ(rig.key(press(Qt::Key_Up)), handled);
    EXPECT_EQ(rig.selectedName(), QStringLiteral("a.png"));

    EXPECT_EQ(rig.key(press(Qt::Key_Down, {}, Qt::AltModifier)), handled);
    EXPECT_EQ(rig.selectedName(), QStringLiteral("d.png"));
    EXPECT_EQ(rig.key({Qt::Key_Down, {}, Qt::NoModifier, true}), handled);
    EXPECT_EQ(rig.selectedName(), QStringLiteral("d.png"));
    EXPECT_EQ(rig.key(press(Qt::Key_Up, {}, Qt::ControlModifier)), handled);
    EXPECT_EQ(rig.selectedName(), QStringLiteral("c.png"));
    EXPECT_EQ(rig.key(press(Qt::Key_Up, {}, Qt::ControlModifier | Qt::AltModifier)), handled);
    EXPECT_EQ(rig.selectedName(), QStringLiteral("a.png"));

    // Only shown images are stepped onto.
    rig.controller->setFilterQuery(QStringLiteral("c"));
    rig.controller->setSelection(rig.folder.url(QStringLiteral("a.png")));
    EXPECT_EQ(rig.key(press(Qt::Key_Down)), handled);
    EXPECT_EQ(rig.selectedName(), QStringLiteral("c.png"));

    rig.controller->setFilterQuery(QStringLiteral("zebra"));
    EXPECT_EQ(rig.key(press(Qt::Key_Up, {}, Qt::AltModifier)), handled);
    EXPECT_EQ(rig.key(press(Qt::Key_Down)), handled);
    EXPECT_FALSE(rig.controller->selection());
}

TEST(KeyMap, ReturnBeginsARenameOfTheSelection)
{
    KeyboardRig rig(fourImages);
    EXPECT_EQ(rig.key(press(Qt::Key_Return, QStringLiteral("\r"), Qt::ControlModifier)), ignored);
    EXPECT_EQ(rig.controller->interactionMode(), InteractionMode::browsing);

    rig.controller->setSelection(std::nullopt);
    EXPECT_EQ(rig.key(press(Qt::Key_Return, QStringLiteral("\r"))), ignored);

    // The selection need not be shown: the rename starts on it all the same.
    rig.controller->setFilterQuery(QStringLiteral("d"));
    rig.controller->setSelection(rig.folder.url(QStringLiteral("b.png")));
    EXPECT_EQ(rig.key(press(Qt::Key_Enter, QStringLiteral("\r"), Qt::KeypadModifier)), handled);
    EXPECT_EQ(rig.controller->renamingItemID(), rig.folder.url(QStringLiteral("b.png")));
    EXPECT_EQ(rig.controller->interactionMode(), InteractionMode::renaming);
}

TEST(KeyMap, ZoomAndPlaybackKeysChangeThePreferences)
{
    KeyboardRig rig(fourImages);
    Preferences& prefs = rig.folder.prefs();
    prefs.setDefaultZoom(ZoomLevel::px256);
    prefs.setZoom(ZoomLevel::px64);

    EXPECT_EQ(rig.key('-'), handled);
    EXPECT_EQ(prefs.zoom(), ZoomLevel::px32);
    EXPECT_EQ(rig.key('['), handled) << "at the smallest size the key is still taken";
    EXPECT_EQ(prefs.zoom(), ZoomLevel::px32);
    EXPECT_EQ(rig.key(press(Qt::Key_Plus, QStringLiteral("+"), Qt::ShiftModifier)), handled);
    EXPECT_EQ(rig.key('='), handled);
    EXPECT_EQ(rig.key(']'), handled);
    EXPECT_EQ(rig.key(']'), handled);
    EXPECT_EQ(rig.key(']'), handled);
    EXPECT_EQ(prefs.zoom(), ZoomLevel::px512);

    EXPECT_EQ(rig.key(press(Qt::Key_0, QStringLiteral("0"), Qt::ControlModifier)), ignored);
    EXPECT_EQ(rig.key(press(Qt::Key_Minus, QStringLiteral("-"), Qt::AltModifier)), ignored);
    EXPECT_EQ(prefs.zoom(), ZoomLevel::px512);
    EXPECT_EQ(rig.key('0'), handled);
    EXPECT_EQ(prefs.zoom(), ZoomLevel::px256);

    const bool animate = prefs.animateGIFs();
    EXPECT_EQ(rig.key('/'), handled);
    EXPECT_EQ(prefs.animateGIFs(), !animate);
    EXPECT_EQ(rig.key('/'), handled);
    EXPECT_EQ(prefs.animateGIFs(), animate);
}

TEST(KeyMap, BenchKeysOpenTheBenchOnAShownSelectionOnly)
{
    KeyboardRig rig(fourImages);
    EXPECT_EQ(rig.key('\\'), handled);
    ASSERT_TRUE(rig.controller->editingSession());
    EXPECT_EQ(rig.controller->editingSession()->fileURL, rig.folder.url(QStringLiteral("a.png")));
    EXPECT_EQ(rig.controller->interactionMode(), InteractionMode::bench);
    EXPECT_EQ(rig.key(press(Qt::Key_Down)), ignored) << "the bench holds the keys";
    rig.controller->closeBench();
    EXPECT_EQ(rig.key('*'), handled);
    EXPECT_TRUE(rig.controller->editingSession());
    rig.controller->closeBench();

    rig.controller->setFilterQuery(QStringLiteral("c"));
    rig.controller->setSelection(rig.folder.url(QStringLiteral("a.png")));
    EXPECT_EQ(rig.key('\\'), ignored);
    rig.controller->setSelection(std::nullopt);
    EXPECT_EQ(rig.key('*'), ignored);
    EXPECT_FALSE(rig.controller->editingSession());
}

TEST(KeyMap, CtrlFocusesTheFilterWithFAndLetsEveryOtherKeyPass)
{
    KeyboardRig rig(fourImages);
    EXPECT_EQ(rig.key(press(Qt::Key_A, QStringLiteral("\x01"), Qt::ControlModifier)), ignored);
    EXPECT_EQ(rig.key(press(Qt::Key_Backslash, {}, Qt::ControlModifier)), ignored);
    EXPECT_EQ(rig.selectedName(), QStringLiteral("a.png"));

    const qint64 request = rig.controller->searchFocusRequest();
    EXPECT_EQ(rig.key(press(Qt::Key_F, QStringLiteral("\x06"), Qt::ControlModifier)), handled);
    EXPECT_EQ(rig.controller->searchFocusRequest(), request + 1);
    EXPECT_EQ(rig.controller->interactionMode(), InteractionMode::filtering);
}

TEST(KeyMap, TypeaheadExtendsItsBufferWithinTheTimeoutAndRestartsAfterIt)
{
    KeyboardRig rig({"apple.png", "banana.png", "boat.png", "bottle.png", "otter.png", "\u00C9clair.png"});

    EXPECT_EQ(rig.key('b'), handled);
    EXPECT_EQ(rig.selectedName(), QStringLiteral("banana.png"));
    rig.wait(600ms);
    EXPECT_EQ(rig.key('O'), handled) << "exactly the timeout still extends";
    EXPECT_EQ(rig.selectedName(), QStringLiteral("boat.png"));
    rig.wait(100ms);
    EXPECT_EQ(rig.key('t'), handled);
    rig.wait(100ms);
    EXPECT_EQ(rig.key('t'), handled);
    EXPECT_EQ(rig.selectedName(), QStringLiteral("bottle.png"));
    EXPECT_EQ(rig.controller->typeaheadBuffer(), QStringLiteral("bott"));

    rig.wait(1s);
    EXPECT_EQ(rig.key('o'), handled);
    EXPECT_EQ(rig.selectedName(), QStringLiteral("otter.png"));

    // Past the timeout by a millisecond the buffer starts again.
    rig.wait(601ms);
    EXPECT_EQ(rig.key('b'), handled);
    EXPECT_EQ(rig.controller->typeaheadBuffer(), QStringLiteral("b"));

    // No name starts with "bx": the search restarts from the letter alone.
    EXPECT_EQ(rig.key('x'), handled);
    EXPECT_EQ(rig.selectedName(), QStringLiteral("banana.png"));
    EXPECT_TRUE(rig.controller->typeaheadBuffer().isEmpty());
    EXPECT_EQ(rig.key('o'), handled);
    EXPECT_EQ(rig.selectedName(), QStringLiteral("otter.png"));
    EXPECT_EQ(rig.key('a'), handled) << "\"oa\" matches nothing, \"a\" does";
    EXPECT_EQ(rig.selectedName(), QStringLiteral("apple.png"));
    EXPECT_EQ(rig.controller->typeaheadBuffer(), QStringLiteral("a"));

    // Letters of any script, compared in lower case.
    rig.wait(1s);
    EXPECT_EQ(rig.key(press(0, QStringLiteral("\u00E9"))), handled);
    EXPECT_EQ(rig.selectedName(), QStringLiteral("\u00C9clair.png"));
}

TEST(KeyMap, TypeaheadTakesSingleLettersOnly)
{
    KeyboardRig rig({"apple.png", "7up.png", "zebra.png"});
    rig.select(QStringLiteral("zebra.png"));
    for (const KeyPress& key :
        {typed('7'), typed(' '), press(Qt::Key_Left), press(0, QStringLiteral("ap")),
            press(Qt::Key_A, QStringLiteral("a"), Qt::AltModifier), press(Qt::Key_Tab, QStringLiteral("\t"))})
        EXPECT_EQ(rig.key(key), ignored);
    EXPECT_EQ(rig.selectedName(), QStringLiteral("zebra.png"));
    EXPECT_FALSE(rig.controller->lastTypeaheadKeystroke()) << "ignored keys leave the clock alone";

    // A letter outside the basic plane is one character too.
    EXPECT_EQ(rig.key(press(0, QStringLiteral("\U0001D49C"))), handled);
}
