#include "collection/window/ContentView.h"
#include "CollectionFixture.h"
#include "collection/chrome/FolderControls.h"
#include "collection/chrome/HResizableSplit.h"
#include "collection/chrome/ToastView.h"
#include "collection/list/FileListView.h"
#include "collection/list/FilterField.h"
#include "collection/list/ListColumn.h"
#include "collection/list/ListFooter.h"

#include <QApplication>
#include <QFileInfo>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;

namespace {

// Stands in for the window's rename commit: records each call and answers as told.
struct CommitRecorder {
    struct Call {
        QString item;
        QString text;
        bool fromReturn;
    };
    QList<Call> calls;
    int cancels = 0;
    bool accept = true;
};

void installRecorder(ViewRig& rig, CommitRecorder& recorder)
{
    ContentController* controller = rig.controller;
    rig.view->fileList()->setRenameHandlers(
        [&recorder, controller](const ImageItem& item, const QString& text, bool fromReturn) {
            recorder.calls.append({item.filename, text, fromReturn});
            if (fromReturn && !recorder.accept)
                return false;
            controller->setRenamingItemID(std::nullopt);
            controller->setListFocused(true);
            return true;
        },
        [&recorder, controller] {
            ++recorder.cancels;
            controller->setRenamingItemID(std::nullopt);
            controller->setListFocused(true);
        });
}

RenameField* openRename(ViewRig& rig, const QString& name)
{
    rig.controller->setRenamingItemID(rig.folder.url(name));
    ViewRig::settle();
    return rig.view->fileList()->renameField();
}

void sendMouse(QWidget* widget, QEvent::Type type, QPoint at)
{
    const QPointF local(at);
    QMouseEvent event(type, local, widget->mapToGlobal(local), Qt::LeftButton,
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

QWidget* splitHandle(HResizableSplit* split)
{
    for (QWidget* child : split->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->width() == int(SplitGeometry::handleWidth))
            return child;
    }
    return nullptr;
}

} // namespace

TEST(ContentView, ReturnDownAndEscapeInTheFilterHandTheFocusToTheList)
{
    ViewRig rig({"cat-a.png", "dog.png", "cat-b.png"});
    FilterField* filter = rig.view->filterField();
    HResizableSplit* split = rig.view->split();
    EXPECT_EQ(rig.focus(), split);

    rig.controller->focusFilterField();
    ViewRig::settle();
    EXPECT_EQ(rig.focus(), filter);
    QTest::keyClicks(filter, QStringLiteral("cat"));
    EXPECT_EQ(rig.controller->filterQuery(), QStringLiteral("cat"));
    EXPECT_EQ(rig.view->fileList()->model()->rowCount(), 2);
    QTest::keyClick(filter, Qt::Key_Return);
    EXPECT_EQ(rig.focus(), split);
    EXPECT_FALSE(rig.controller->isSearchActive());
    EXPECT_EQ(rig.controller->filterQuery(), QStringLiteral("cat"));

    rig.controller->focusFilterField();
    ViewRig::settle();
    // The caret stands after the query; nothing is selected.
    EXPECT_EQ(filter->cursorPosition(), 3);
    EXPECT_FALSE(filter->hasSelectedText());
    QTest::keyClick(filter, Qt::Key_Down);
    EXPECT_EQ(rig.focus(), split);
    EXPECT_EQ(filter->text(), QStringLiteral("cat"));

    rig.controller->focusFilterField();
    ViewRig::settle();
    QTest::keyClick(filter, Qt::Key_Escape);
    EXPECT_EQ(rig.focus(), split);
    EXPECT_EQ(filter->text(), QString());
    EXPECT_EQ(rig.controller->filterQuery(), QString());
    EXPECT_EQ(rig.view->fileList()->model()->rowCount(), 3);
    EXPECT_EQ(rig.view->footer()->countText(), QStringLiteral("3 specimens"));
}

TEST(ContentView, ClicksMoveTheFocusBetweenFilterAndList)
{
    ViewRig rig({"a.png", "b.png", "c.png"});
    FilterField* filter = rig.view->filterField();
    QTest::mouseClick(filter, Qt::LeftButton);
    EXPECT_TRUE(rig.controller->isSearchActive());
    EXPECT_EQ(rig.controller->interactionMode(), InteractionMode::filtering);

    FileListView* list = rig.view->fileList();
    const QRect row = list->visualRect(list->model()->index(2, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(rig.focus(), rig.view->split());
    EXPECT_FALSE(rig.controller->isSearchActive());
    EXPECT_EQ(rig.controller->selection(), rig.folder.url(QStringLiteral("c.png")));
}

TEST(ContentView, FocusLeavingForAnotherWindowEndsNoSearch)
{
    ViewRig rig({"a.png"});
    rig.controller->focusFilterField();
    ViewRig::settle();
    QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(rig.view->filterField(), &away);
    EXPECT_TRUE(rig.controller->isSearchActive());
}

TEST(ContentView, RenameFieldAcceptsRefusesAndCancelsAsAskedOnce)
{
    ViewRig rig({"a.png", "beta.png", "c.png"});
    CommitRecorder recorder;
    installRecorder(rig, recorder);

    RenameField* field = openRename(rig, QStringLiteral("beta.png"));
    ASSERT_TRUE(field);
    EXPECT_EQ(rig.focus(), field);
    EXPECT_EQ(field->selectedText(), QStringLiteral("beta"));
    const QRect cell = rig.view->fileList()->visualRect(rig.view->fileList()->model()->index(1, 0));
    EXPECT_TRUE(cell.contains(field->geometry().center()));

    // Refused: the field stays with the text as typed and its focus.
    recorder.accept = false;
    QTest::keyClicks(field, QStringLiteral("x"));
    QTest::keyClick(field, Qt::Key_Return);
    ASSERT_EQ(recorder.calls.size(), 1);
    EXPECT_EQ(recorder.calls[0].text, QStringLiteral("x.png"));
    EXPECT_TRUE(recorder.calls[0].fromReturn);
    EXPECT_EQ(rig.view->fileList()->renameField(), field);
    EXPECT_EQ(rig.focus(), field);
    EXPECT_FALSE(field->isResolved());

    // Accepted: the owner closes it, and the focus leaving it commits nothing more.
    recorder.accept = true;
    QTest::keyClick(field, Qt::Key_Return);
    ViewRig::settle();
    EXPECT_EQ(recorder.calls.size(), 2);
    EXPECT_FALSE(rig.view->fileList()->renameField());
    EXPECT_EQ(rig.focus(), rig.view->split());
    EXPECT_EQ(rig.controller->interactionMode(), InteractionMode::browsing);

    // Escape cancels; nothing is committed afterwards.
    field = openRename(rig, QStringLiteral("c.png"));
    ASSERT_TRUE(field);
    QTest::keyClicks(field, QStringLiteral("zzz"));
    QTest::keyClick(field, Qt::Key_Escape);
    ViewRig::settle();
    EXPECT_EQ(recorder.cancels, 1);
    EXPECT_EQ(recorder.calls.size(), 2);
    EXPECT_FALSE(rig.view->fileList()->renameField());
}

TEST(ContentView, RenameFieldCommitsOnceWhenTheFocusLeavesButNotForAnotherWindow)
{
    ViewRig rig({"a.png", "b.png"});
    CommitRecorder recorder;
    installRecorder(rig, recorder);
    RenameField* field = openRename(rig, QStringLiteral("a.png"));
    ASSERT_TRUE(field);

    QFocusEvent deactivated(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(field, &deactivated);
    QFocusEvent menu(QEvent::FocusOut, Qt::PopupFocusReason);
    QApplication::sendEvent(field, &menu);
    EXPECT_TRUE(recorder.calls.isEmpty());

    QTest::keyClicks(field, QStringLiteral("new"));
    QTest::mouseClick(rig.view->filterField(), Qt::LeftButton);
    ViewRig::settle();
    ASSERT_EQ(recorder.calls.size(), 1);
    EXPECT_EQ(recorder.calls[0].text, QStringLiteral("new.png"));
    EXPECT_FALSE(recorder.calls[0].fromReturn);
    EXPECT_FALSE(rig.view->fileList()->renameField());
}

TEST(ContentView, ARescanKeepsTheRenameOfAListedRowAndEndsTheRenameOfAVanishedOne)
{
    ViewRig rig({"a.png", "b.png", "c.png"});
    CommitRecorder recorder;
    installRecorder(rig, recorder);
    RenameField* field = openRename(rig, QStringLiteral("b.png"));
    ASSERT_TRUE(field);
    QTest::keyClicks(field, QStringLiteral("bee"));

    rig.folder.addPng(QStringLiteral("0.png"));
    rig.folder.remove(QStringLiteral("c.png"));
    rig.controller->refresh();
    ViewRig::settle();
    EXPECT_EQ(rig.view->fileList()->model()->rowCount(), 3);
    EXPECT_EQ(rig.view->fileList()->renameField(), field);
    EXPECT_EQ(rig.focus(), field);
    EXPECT_EQ(field->text(), QStringLiteral("bee.png"));
    // It follows its row, which moved down one place.
    const QRect cell = rig.view->fileList()->visualRect(rig.view->fileList()->model()->index(2, 0));
    EXPECT_TRUE(cell.contains(field->geometry().center()));
    EXPECT_TRUE(recorder.calls.isEmpty());

    // With its row gone the field would take every key out of sight: it closes, commits nothing,
    // and the list has the keys again.
    rig.folder.remove(QStringLiteral("b.png"));
    rig.controller->refresh();
    ViewRig::settle();
    EXPECT_FALSE(rig.view->fileList()->renameField());
    EXPECT_FALSE(rig.controller->renamingItemID());
    EXPECT_EQ(rig.focus(), rig.view->split());
    EXPECT_EQ(rig.controller->interactionMode(), InteractionMode::browsing);
    EXPECT_TRUE(recorder.calls.isEmpty());
    EXPECT_EQ(recorder.cancels, 0);
}

TEST(ContentView, FilteringAwayTheRowUnderRenameEndsTheRenameWithoutCommitting)
{
    ViewRig rig({"apple.png", "banana.png"});
    RenameField* field = openRename(rig, QStringLiteral("banana.png"));
    ASSERT_TRUE(field);
    QTest::keyClicks(field, QStringLiteral("cherry"));

    rig.controller->setFilterQuery(QStringLiteral("ban"));
    ViewRig::settle();
    EXPECT_EQ(rig.view->fileList()->renameField(), field) << "its row is still shown";

    rig.controller->setFilterQuery(QStringLiteral("app"));
    ViewRig::settle();
    EXPECT_FALSE(rig.view->fileList()->renameField());
    EXPECT_EQ(rig.focus(), rig.view->split());
    EXPECT_TRUE(QFileInfo::exists(rig.folder.path(QStringLiteral("banana.png"))));
    EXPECT_FALSE(QFileInfo::exists(rig.folder.path(QStringLiteral("cherry.png"))));
}

TEST(ContentView, RenameFieldMovesByWordsOfLettersAndDigits)
{
    ViewRig rig({"party-parrot_big.gif.png"});
    CommitRecorder recorder;
    installRecorder(rig, recorder);
    RenameField* field = openRename(rig, QStringLiteral("party-parrot_big.gif.png"));
    ASSERT_TRUE(field);
    field->setText(QStringLiteral("party-parrot_big.gif"));
    field->setCursorPosition(20);
    QTest::keyClick(field, Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(field->cursorPosition(), 17);
    QTest::keyClick(field, Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(field->cursorPosition(), 13);
    QTest::keyClick(field, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(field->cursorPosition(), 16);

    // Extending keeps the far edge: the selection only grows.
    field->setSelection(6, 6);
    QTest::keyClick(field, Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(field->selectedText(), QStringLiteral("party-parrot"));
    QTest::keyClick(field, Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(field->selectedText(), QStringLiteral("party-parrot_big"));
}

TEST(ContentView, DraggingTheSplitKeepsBothMinimumsAndStoresTheListsShare)
{
    ViewRig rig({"a.png"}, 808);
    HResizableSplit* split = rig.view->split();
    ASSERT_EQ(split->width(), 808);
    QWidget* handle = splitHandle(split);
    ASSERT_TRUE(handle);
    EXPECT_EQ(handle->x(), 400);

    // A press alone moves it, measured from the handle's middle.
    sendMouse(handle, QEvent::MouseButtonPress, QPoint(104, 4));
    EXPECT_DOUBLE_EQ(rig.folder.prefs().splitFraction(), 500.0 / 800);
    sendMouse(handle, QEvent::MouseMove, QPoint(-1000, 4));
    EXPECT_DOUBLE_EQ(rig.folder.prefs().splitFraction(), 120.0 / 800);
    EXPECT_EQ(rig.view->listColumn()->width(), 120);
    sendMouse(handle, QEvent::MouseMove, QPoint(1000, 4));
    sendMouse(handle, QEvent::MouseButtonRelease, QPoint(1000, 4));
    EXPECT_DOUBLE_EQ(rig.folder.prefs().splitFraction(), 560.0 / 800);
    EXPECT_EQ(rig.view->previewPane()->width(), 240);

    // With the list on the right the preview pane leads, and the list's share is still stored.
    rig.folder.prefs().setListSide(ListSide::right);
    EXPECT_EQ(
        rig.view->listColumn()->x(), rig.view->previewPane()->width() + int(SplitGeometry::handleWidth));
    handle = splitHandle(split);
    sendMouse(handle, QEvent::MouseButtonPress, QPoint(564 - handle->x(), 4));
    EXPECT_DOUBLE_EQ(rig.folder.prefs().splitFraction(), 1 - 560.0 / 800);
    EXPECT_EQ(rig.view->previewPane()->width(), 560);
    sendMouse(handle, QEvent::MouseMove, QPoint(-1000, 4));
    sendMouse(handle, QEvent::MouseButtonRelease, QPoint(-1000, 4));
    EXPECT_EQ(rig.view->previewPane()->width(), 240);
    EXPECT_DOUBLE_EQ(rig.folder.prefs().splitFraction(), 1 - 240.0 / 800);
}

TEST(ContentView, ShowsTheFirstRunScreenUntilAFolderIsChosen)
{
    CollectionFolder folder(false);
    ContentView view(new ContentController(folder.store(), folder.prefs()));
    view.resize(700, 500);
    view.show();
    EXPECT_TRUE(view.showsFirstRunScreen());

    folder.addPng(QStringLiteral("a.png"));
    folder.store().setWorkingFolder(
        QUrl::fromLocalFile(QFileInfo(folder.path(QStringLiteral("a.png"))).path()), false);
    EXPECT_FALSE(view.showsFirstRunScreen());
    EXPECT_EQ(view.fileList()->model()->rowCount(), 1);
    EXPECT_EQ(view.controller().selection(), folder.url(QStringLiteral("a.png")));
}

TEST(ContentView, TheEmptyStateCoversTheTableWhileItHasText)
{
    ViewRig rig({"cat.png"});
    EXPECT_FALSE(rig.view->listColumn()->emptyState());
    rig.controller->setFilterQuery(QStringLiteral(" dog "));
    EXPECT_EQ(rig.view->listColumn()->emptyState(), QStringLiteral("No matches for \u201Cdog\u201D"));
    EXPECT_EQ(rig.view->footer()->countText(), QStringLiteral("0 of 1 specimen shown"));
}

TEST(ContentView, ASelectionMadeElsewhereIsScrolledIntoView)
{
    QStringList names;
    for (int i = 0; i < 80; ++i)
        names << QStringLiteral("img%1.png").arg(i);
    ViewRig rig(names);
    FileListView* list = rig.view->fileList();
    const QModelIndex last = list->model()->index(79, 0);
    EXPECT_FALSE(list->viewport()->rect().contains(list->visualRect(last)));

    rig.select(QStringLiteral("img79.png"));
    EXPECT_TRUE(list->viewport()->rect().contains(list->visualRect(last)));
    EXPECT_TRUE(list->selectionModel()->isRowSelected(79));

    // Clearing the selection leaves the scroll position alone.
    const int scrolled = list->verticalScrollBar()->value();
    rig.controller->setSelection(std::nullopt);
    EXPECT_EQ(list->verticalScrollBar()->value(), scrolled);
    EXPECT_FALSE(list->selectionModel()->hasSelection());
}

TEST(ContentView, TheFolderControlsStackWhenTheyDoNotFitSideBySide)
{
    FolderControls controls;
    controls.setFolder(QStringLiteral("/home/me/a-collection-folder-with-a-rather-long-name"));
    controls.show();
    controls.resize(controls.sizeHint().width(), controls.sizeHint().height());
    EXPECT_FALSE(controls.isStacked());
    const int sideBySideHeight = controls.sizeHint().height();
    controls.resize(controls.sizeHint().width() - 1, controls.height());
    EXPECT_TRUE(controls.isStacked());
    EXPECT_GT(controls.sizeHint().height(), sideBySideHeight);
    controls.resize(2000, controls.height());
    EXPECT_FALSE(controls.isStacked());
}

TEST(ContentView, TheToastLiesOverEverythingAndLetsClicksThrough)
{
    ViewRig rig({"a.png"});
    rig.controller->showToast(QStringLiteral("Moved a.png back."));
    ToastView* toast = rig.view->toastView();
    EXPECT_TRUE(toast->isVisible());
    EXPECT_EQ(toast->message(), QStringLiteral("Moved a.png back."));
    // Topmost among the content's children, yet clicks pass through it to the list below.
    EXPECT_EQ(rig.view->children().last(), toast);
    EXPECT_TRUE(toast->testAttribute(Qt::WA_TransparentForMouseEvents));
    rig.timer->elapse();
    EXPECT_FALSE(rig.controller->toast());
}

TEST(ContentView, AToastTooWideForTheWindowWrapsUpwardAndElidesOnlyBeyondFourLines)
{
    ViewRig rig({"a.png"}, 560);
    ToastView* toast = rig.view->toastView();
    const int room = rig.view->width() - 2 * ToastView::bottomMargin;
    const auto restsAtTheBottom = [&] {
        return QTest::qWaitFor(
            [&] { return toast->geometry().bottom() + 1 == rig.view->height() - ToastView::bottomMargin; });
    };

    rig.controller->showToast(QStringLiteral("Moved a.png back."));
    ASSERT_TRUE(restsAtTheBottom());
    EXPECT_EQ(toast->lines(), QStringList{QStringLiteral("Moved a.png back.")});
    const int oneLine = toast->height();

    const QString name = QString(63, QLatin1Char('a')) + QStringLiteral(".png");
    const QString collision = name + QStringLiteral(" exists. ") + QString(63, QLatin1Char('a'))
        + QStringLiteral("-2.png created. Press Ctrl+Z to undo.");
    rig.controller->showToast(collision);
    ASSERT_TRUE(restsAtTheBottom());
    EXPECT_EQ(toast->lines().size(), ToastView::maxLines) << "just four lines, none elided";
    EXPECT_EQ(toast->lines().join(QLatin1Char(' ')), collision) << "every word is shown";
    EXPECT_LE(toast->width(), room);
    EXPECT_GT(toast->height(), oneLine);

    // A name that four lines cannot hold loses its middle, and only that.
    const QString huge = QString(400, QLatin1Char('b')) + QStringLiteral(".png");
    rig.controller->showToast(QStringLiteral("Couldn’t move ") + huge + QStringLiteral(": disk full."));
    ASSERT_TRUE(restsAtTheBottom());
    EXPECT_EQ(toast->lines().size(), ToastView::maxLines);
    const QString shown = toast->lines().join(QString());
    EXPECT_TRUE(shown.startsWith(QStringLiteral("Couldn’t movebbb"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("b\u2026b")));
    EXPECT_TRUE(shown.endsWith(QStringLiteral("b.png:disk full."))) << shown.toStdString();
    EXPECT_LE(toast->width(), room);
}

TEST(ContentView, AtEightHundredNamesThatDifferOnlyAtTheEndLookDifferent)
{
    const QStringList names{"partyparrot-dance-fast-v2.png", "partyparrot-dance-fast-v3.png"};
    ViewRig rig(names, 800);
    // Edited, so that the badge takes its room from the name too.
    ASSERT_TRUE(QDir().mkpath(rig.folder.path(".plenoria/originals")));
    for (const QString& name : names)
        ASSERT_TRUE(QFile::copy(rig.folder.path(name), rig.folder.path(".plenoria/originals/" + name)));
    rig.folder.store().reload();
    rig.controller->setSelection(std::nullopt);
    ViewRig::settle();

    FileListView* list = rig.view->fileList();
    ASSERT_EQ(list->model()->rowCount(), 2);
    ASSERT_TRUE(list->model()->index(0, 0).data(FileListModel::editedRole).toBool());
    const auto shown = [list](int row) {
        const QRect cell = list->visualRect(list->model()->index(row, int(SortColumn::name)));
        EXPECT_TRUE(list->viewport()->rect().contains(cell)) << row;
        return list->viewport()->grab(cell).toImage();
    };
    EXPECT_FALSE(shown(0) == shown(1)) << "the two names are drawn alike";
    // Where the fixed columns would leave the name between its minimum and its ideal, it keeps the ideal.
    rig.view->resize(920, 600);
    ViewRig::settle();
    EXPECT_EQ(list->columnWidth(int(SortColumn::name)), FileListView::nameIdealWidth);

    // However narrow the list, the name column never runs past the table's own edge.
    rig.folder.prefs().setSplitFraction(0);
    ViewRig::settle();
    EXPECT_EQ(list->columnWidth(int(SortColumn::name)), list->viewport()->width());
}
