#include "CollectionFixture.h"

#include <QEventLoop>
#include <QSignalSpy>
#include <QTimer>
#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;

namespace {

const QStringList threeCats{"cat-a.png", "dog.png", "cat-b.png"};

} // namespace

TEST(ContentController, PuttingTheLayoutOnScreenSortsSelectsAndFocusesTheList)
{
    ControllerRig rig({"b.png", "img10.png", "a.png", "img2.png"});
    EXPECT_EQ(rig.filteredNames(), (QStringList{"a.png", "b.png", "img2.png", "img10.png"}));
    EXPECT_EQ(rig.selectedName(), QStringLiteral("a.png"));
    EXPECT_TRUE(rig.controller->listFocused());
    EXPECT_EQ(rig.controller->interactionMode(), InteractionMode::browsing);
}

TEST(ContentController, TheFilterRepairsTheSelectionOnlyWhenItHidesIt)
{
    ControllerRig rig(threeCats);
    rig.select(QStringLiteral("dog.png"));

    rig.controller->setFilterQuery(QStringLiteral(" CAT "));
    EXPECT_EQ(rig.filteredNames(), (QStringList{"cat-a.png", "cat-b.png"}));
    EXPECT_EQ(rig.selectedName(), QStringLiteral("cat-a.png"));

    rig.select(QStringLiteral("cat-b.png"));
    rig.controller->setFilterQuery(QStringLiteral("cat-"));
    EXPECT_EQ(rig.selectedName(), QStringLiteral("cat-b.png"));

    rig.controller->setFilterQuery(QStringLiteral("zebra"));
    EXPECT_TRUE(rig.filteredNames().isEmpty());
    EXPECT_FALSE(rig.controller->selection());

    rig.controller->clearFilter();
    EXPECT_EQ(rig.filteredNames().size(), 3);
    EXPECT_EQ(rig.selectedName(), QStringLiteral("cat-a.png"));
}

TEST(ContentController, ASelectionHiddenByTheFilterIsNeverTheSelectedItem)
{
    ControllerRig rig(threeCats);
    rig.controller->setFilterQuery(QStringLiteral("cat"));
    rig.controller->setSelection(rig.folder.url(QStringLiteral("dog.png")));
    EXPECT_FALSE(rig.controller->selectedItem());
    rig.select(QStringLiteral("cat-b.png"));
    ASSERT_TRUE(rig.controller->selectedItem());
    EXPECT_EQ(rig.controller->selectedItem()->filename, QStringLiteral("cat-b.png"));
}

TEST(ContentController, ReSortingMovesNoSelection)
{
    ControllerRig rig({"a.png", "b.png"});
    rig.controller->setSelection(std::nullopt);
    rig.controller->setSortOrder(rig.controller->sortOrder().afterHeaderClick(SortColumn::name));
    EXPECT_EQ(rig.filteredNames(), (QStringList{"b.png", "a.png"}));
    // No repair follows a re-sort: nothing selected stays nothing selected.
    EXPECT_FALSE(rig.controller->selection());

    rig.select(QStringLiteral("a.png"));
    rig.controller->setSortOrder(SortOrder());
    EXPECT_EQ(rig.selectedName(), QStringLiteral("a.png"));
}

TEST(ContentController, ChangesMadeByOtherProgramsArriveWithTheRescan)
{
    ControllerRig rig({"a.png", "b.png", "c.png"});
    rig.select(QStringLiteral("b.png"));
    QSignalSpy lists(rig.controller.get(), &ContentController::listsChanged);

    rig.folder.rename(QStringLiteral("b.png"), QStringLiteral("bee.png"));
    rig.folder.addPng(QStringLiteral("0.png"));
    rig.controller->sceneBecameActive();
    EXPECT_EQ(rig.filteredNames(), (QStringList{"0.png", "a.png", "bee.png", "c.png"}));
    EXPECT_EQ(rig.selectedName(), QStringLiteral("0.png"));
    EXPECT_EQ(lists.count(), 1);

    // A rescan that finds nothing new changes nothing.
    rig.controller->refresh();
    EXPECT_EQ(lists.count(), 1);

    rig.select(QStringLiteral("c.png"));
    rig.folder.remove(QStringLiteral("a.png"));
    rig.controller->refresh();
    EXPECT_EQ(rig.selectedName(), QStringLiteral("c.png"));
}

TEST(ContentController, AnActionsOwnSelectionSurvivesTheListChangeItCaused)
{
    ControllerRig rig({"a.png", "b.png", "c.png"});
    rig.select(QStringLiteral("a.png"));
    QSignalSpy selection(rig.controller.get(), &ContentController::selectionChanged);

    // As filing does: choose the successor, then let the store drop the item.
    rig.controller->runAction([&] {
        rig.select(QStringLiteral("b.png"));
        rig.folder.remove(QStringLiteral("a.png"));
        rig.folder.store().reload();
        // Inside the action nothing has been re-derived yet.
        EXPECT_EQ(rig.controller->filteredItems().size(), 3);
    });
    EXPECT_EQ(rig.filteredNames(), (QStringList{"b.png", "c.png"}));
    EXPECT_EQ(rig.selectedName(), QStringLiteral("b.png"));
    EXPECT_EQ(selection.count(), 1);
}

TEST(ContentController, AnActionCannotSelectAnImageTheFilterHides)
{
    ControllerRig rig(threeCats);
    rig.controller->setFilterQuery(QStringLiteral("cat"));
    rig.select(QStringLiteral("cat-b.png"));

    // A rename whose new name the filter hides: the repair after the action wins.
    const ImageItem item = *rig.controller->selectedItem();
    rig.controller->runAction([&] {
        const RenameOutcome outcome = rig.folder.store().rename(item, QStringLiteral("bird.png"));
        ASSERT_EQ(outcome.kind, RenameOutcome::Kind::renamed);
        rig.controller->setSelection(rig.folder.url(QStringLiteral("bird.png")));
    });
    EXPECT_EQ(rig.selectedName(), QStringLiteral("cat-a.png"));
}

TEST(ContentController, TheModeIsDecidedBenchFilterRenameInThatOrder)
{
    ControllerRig rig({"a.png"});
    ContentController& c = *rig.controller;
    QSignalSpy modes(&c, &ContentController::interactionModeChanged);

    c.setRenamingItemID(rig.folder.url(QStringLiteral("a.png")));
    EXPECT_EQ(c.interactionMode(), InteractionMode::renaming);
    c.setSearchActive(true);
    EXPECT_EQ(c.interactionMode(), InteractionMode::filtering);
    RestorationSession session;
    session.fileURL = rig.folder.url(QStringLiteral("a.png"));
    c.setEditingSession(session);
    EXPECT_EQ(c.interactionMode(), InteractionMode::bench);
    c.setEditingSession(std::nullopt);
    c.setSearchActive(false);
    c.setRenamingItemID(std::nullopt);
    EXPECT_EQ(c.interactionMode(), InteractionMode::browsing);
    EXPECT_EQ(modes.count(), 6);
}

TEST(ContentController, SelectionChangesGiveTheListTheFocusOnlyWhileBrowsing)
{
    ControllerRig rig({"a.png", "b.png"});
    ContentController& c = *rig.controller;
    c.setListFocused(false);
    c.focusFilterField();
    QSignalSpy focus(&c, &ContentController::listFocusedChanged);
    c.setFilterQuery(QStringLiteral("b"));
    EXPECT_EQ(rig.selectedName(), QStringLiteral("b.png"));
    EXPECT_EQ(focus.count(), 0);

    c.setSearchActive(false);
    rig.select(QStringLiteral("a.png"));
    EXPECT_EQ(focus.count(), 1);
    EXPECT_TRUE(c.listFocused());
}

TEST(ContentController, FilterHandOffAndClearGiveTheListTheFocus)
{
    ControllerRig rig(threeCats);
    ContentController& c = *rig.controller;
    QSignalSpy requests(&c, &ContentController::searchFocusRequested);
    c.focusFilterRequested();
    c.focusFilterRequested();
    EXPECT_EQ(requests.count(), 2);
    EXPECT_EQ(c.searchFocusRequest(), 2);
    EXPECT_EQ(c.interactionMode(), InteractionMode::filtering);

    c.setFilterQuery(QStringLiteral("dog"));
    c.setListFocused(false);
    QSignalSpy focus(&c, &ContentController::listFocusedChanged);
    c.leaveFilterToList();
    EXPECT_EQ(c.interactionMode(), InteractionMode::browsing);
    EXPECT_EQ(c.filterQuery(), QStringLiteral("dog"));
    EXPECT_EQ(rig.selectedName(), QStringLiteral("dog.png"));
    EXPECT_TRUE(c.listFocused());
    EXPECT_EQ(focus.count(), 1);

    c.focusFilterField();
    c.clearFilter();
    EXPECT_EQ(c.filterQuery(), QString());
    EXPECT_EQ(rig.filteredNames().size(), 3);
    EXPECT_EQ(rig.selectedName(), QStringLiteral("dog.png"));
    EXPECT_EQ(focus.count(), 2);
}

TEST(ContentController, TheFilterCommandIsIgnoredOnTheBenchAndWithoutAFolder)
{
    ControllerRig rig({"a.png"});
    RestorationSession session;
    session.fileURL = rig.folder.url(QStringLiteral("a.png"));
    rig.controller->setEditingSession(session);
    rig.controller->focusFilterRequested();
    EXPECT_EQ(rig.controller->searchFocusRequest(), 0);
    EXPECT_FALSE(rig.controller->isSearchActive());

    CollectionFolder folder(false);
    ContentController noFolder(folder.store(), folder.prefs());
    noFolder.layoutAppeared();
    noFolder.focusFilterRequested();
    noFolder.sceneBecameActive();
    EXPECT_EQ(noFolder.searchFocusRequest(), 0);
}

TEST(ContentController, TheSplitFractionIsAlwaysTheListsShare)
{
    ControllerRig rig;
    ContentController& c = *rig.controller;
    Preferences& prefs = rig.folder.prefs();

    prefs.setListSide(ListSide::right);
    EXPECT_EQ(c.minLeftWidth(), 240);
    EXPECT_EQ(c.minRightWidth(), 120);
    c.setLeftFraction(0.7);
    EXPECT_DOUBLE_EQ(prefs.splitFraction(), 0.3);

    prefs.setListSide(ListSide::left);
    EXPECT_DOUBLE_EQ(c.leftFraction(), 0.3);
    EXPECT_EQ(c.minLeftWidth(), 120);
    c.setLeftFraction(0.6);
    EXPECT_DOUBLE_EQ(prefs.splitFraction(), 0.6);
}

TEST(ContentController, EachToastGetsItsOwnFullTime)
{
    ControllerRig rig;
    ContentController& c = *rig.controller;
    QSignalSpy toasts(&c, &ContentController::toastChanged);

    c.showToast(QStringLiteral("Moved a.png back."));
    const std::function<void()> firstTimer = rig.timer->pending;
    c.showToast(QStringLiteral("Moved b.png back."));
    EXPECT_EQ(c.toast(), QStringLiteral("Moved b.png back."));
    EXPECT_EQ(c.toastToken(), 2);
    EXPECT_EQ(rig.timer->lastDelay, std::chrono::milliseconds(3500));

    // The replaced toast's wait, should it still run, hides nothing.
    firstTimer();
    EXPECT_EQ(c.toast(), QStringLiteral("Moved b.png back."));

    c.showToast(QStringLiteral("Moved b.png back."));
    EXPECT_EQ(rig.timer->restarts, 3);
    EXPECT_EQ(c.toastToken(), 3);
    EXPECT_TRUE(rig.timer->elapse());
    EXPECT_FALSE(c.toast());
    EXPECT_EQ(toasts.count(), 4);
    EXPECT_FALSE(rig.timer->elapse());
}

TEST(ContentController, AToastShownTwoSecondsIntoAnotherStaysItsFullTimeOnTheRealTimer)
{
    CollectionFolder folder;
    ContentController c(folder.store(), folder.prefs()); // with the timer the application uses
    QEventLoop loop;
    QObject::connect(&c, &ContentController::toastChanged, &loop, [&] {
        if (!c.toast())
            loop.quit();
    });
    // What shows when the first toast's time has run out, before the second's has: the timers are
    // compared by their deadlines, which the event loop keeps in order however late it runs.
    std::optional<QString> afterTheFirstsTime;
    c.showToast(QStringLiteral("Moved a.png back."));
    QTimer::singleShot(2000, Qt::PreciseTimer, &c, [&] {
        c.showToast(QStringLiteral("Moved b.png back."));
        QTimer::singleShot(3000, Qt::PreciseTimer, &c, [&] { afterTheFirstsTime = c.toast(); });
    });
    QTimer::singleShot(20000, &loop, &QEventLoop::quit);
    loop.exec();

    EXPECT_EQ(afterTheFirstsTime.value_or(QStringLiteral("no toast")).toStdString(), "Moved b.png back.");
    EXPECT_FALSE(c.toast()) << "the second toast still goes by itself";
}

TEST(ContentController, CountAndEmptyStateFollowTheFolderAndTheQuery)
{
    ControllerRig empty;
    EXPECT_EQ(empty.controller->countText(), QStringLiteral("0 specimens"));
    EXPECT_EQ(empty.controller->emptyStateText(), QStringLiteral("No emoji found in this folder"));

    ControllerRig one({"cat.png"});
    EXPECT_EQ(one.controller->countText(), QStringLiteral("1 specimen"));
    EXPECT_FALSE(one.controller->emptyStateText());
    one.controller->setFilterQuery(QStringLiteral("ca"));
    EXPECT_EQ(one.controller->countText(), QStringLiteral("1 of 1 specimen shown"));
    one.controller->setFilterQuery(QStringLiteral("  \t"));
    EXPECT_EQ(one.controller->countText(), QStringLiteral("1 specimen"));
    one.controller->setFilterQuery(QStringLiteral("  zebra "));
    EXPECT_EQ(one.controller->countText(), QStringLiteral("0 of 1 specimen shown"));
    EXPECT_EQ(one.controller->emptyStateText(), QStringLiteral("No matches for \u201Czebra\u201D"));

    ControllerRig three(threeCats);
    EXPECT_EQ(three.controller->countText(), QStringLiteral("3 specimens"));
}
