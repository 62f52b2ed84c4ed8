#include "BenchTestSupport.h"
#include "bench/record/OriginalRowButton.h"
#include "bench/record/RecordListModel.h"
#include "bench/record/RecordListView.h"
#include "bench/record/RecordRowDelegate.h"

#include <QMimeData>
#include <QTest>
#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;

namespace {

// A bench with the rows crop, tone and text (A, B, C), its list and its "Original" row.
struct ListRig {
    std::unique_ptr<BenchModel> model = benchOver(gradientPng(64, 48));
    QWidget window;
    OriginalRowButton* original = new OriginalRowButton(*model, &window);
    RecordListView* list = new RecordListView(*model, &window);
    QUuid a, b, c;

    ListRig()
    {
        list->setGeometry(0, 60, 220, 300);
        original->setGeometry(0, 0, 220, 40);
        window.resize(220, 360);
        model->setRecord({TreatmentEntry(CropSpec{0, 0, 32, 32}), TreatmentEntry(brighter()),
            TreatmentEntry(TextSpec::defaultFor(QSizeF(64, 48)))});
        a = row(*model, 0).id;
        b = row(*model, 1).id;
        c = row(*model, 2).id;
        window.show();
    }

    std::vector<QUuid> ids() const
    {
        std::vector<QUuid> result;
        for (const TreatmentEntry& entry : model->record())
            result.push_back(entry.id);
        return result;
    }
    QRect rowRect(int position) const { return list->visualRect(list->rows()->index(position)); }
    QPoint removeButton(int position) const
    {
        return RecordRowDelegate::removeButtonRect(rowRect(position)).center();
    }
    QModelIndexList viewSelection() const { return list->selectionModel()->selectedIndexes(); }
    qint64 number(int position) const
    {
        return list->rows()->index(position).data(RecordListModel::numberRole).toLongLong();
    }
};

} // namespace

TEST(RecordList, ClicksAndKeysSelectRowsAndTheOriginalRowSelectsNone)
{
    ListRig rig;
    EXPECT_EQ(rig.list->rows()->rowCount(), 3);
    EXPECT_TRUE(rig.original->isHighlighted());
    EXPECT_TRUE(rig.viewSelection().isEmpty());

    QTest::mouseClick(rig.list->viewport(), Qt::LeftButton, {}, rig.rowRect(1).center());
    EXPECT_EQ(rig.model->selection(), rig.b);
    EXPECT_FALSE(rig.original->isHighlighted());
    QTest::keyClick(rig.list, Qt::Key_Down);
    EXPECT_EQ(rig.model->selection(), rig.c);

    QTest::mouseClick(rig.original, Qt::LeftButton);
    EXPECT_FALSE(rig.model->selection());
    EXPECT_TRUE(rig.original->isHighlighted());
    EXPECT_TRUE(rig.viewSelection().isEmpty());
    EXPECT_EQ(rig.model->canvasCaption(), QStringLiteral("the untouched original"));

    // A selection made elsewhere (a new row, say) shows in the list without coming back as a write.
    rig.model->setSelection(rig.a);
    ASSERT_EQ(rig.viewSelection().size(), 1);
    EXPECT_EQ(rig.viewSelection().front().row(), 0);

    // Delete and Backspace leave the record alone.
    QTest::keyClick(rig.list, Qt::Key_Delete);
    QTest::keyClick(rig.list, Qt::Key_Backspace);
    EXPECT_EQ(rig.ids(), (std::vector<QUuid>{rig.a, rig.b, rig.c}));
    EXPECT_EQ(rig.model->selection(), rig.a);
}

TEST(RecordList, RemovingTheSelectedRowSelectsNothingAndOtherRowsKeepTheSelection)
{
    ListRig rig;
    rig.model->setSelection(rig.c);
    // Removing another row keeps the selection and renumbers the rows after it.
    QTest::mouseClick(rig.list->viewport(), Qt::LeftButton, {}, rig.removeButton(0));
    EXPECT_EQ(rig.ids(), (std::vector<QUuid>{rig.b, rig.c}));
    EXPECT_EQ(rig.model->selection(), rig.c);
    EXPECT_EQ(rig.number(1), 2);
    ASSERT_EQ(rig.viewSelection().size(), 1);
    EXPECT_EQ(rig.viewSelection().front().row(), 1);

    // The selected row itself: no neighbour takes its place.
    QTest::mouseClick(rig.list->viewport(), Qt::LeftButton, {}, rig.removeButton(1));
    EXPECT_EQ(rig.ids(), (std::vector<QUuid>{rig.b}));
    EXPECT_FALSE(rig.model->selection());
    EXPECT_TRUE(rig.original->isHighlighted());
    EXPECT_TRUE(rig.viewSelection().isEmpty());

    // A press on the button that ends elsewhere removes nothing, and selects nothing either.
    QTest::mousePress(rig.list->viewport(), Qt::LeftButton, {}, rig.removeButton(0));
    QTest::mouseRelease(rig.list->viewport(), Qt::LeftButton, {}, rig.rowRect(0).center());
    EXPECT_EQ(rig.ids(), (std::vector<QUuid>{rig.b}));
    EXPECT_FALSE(rig.model->selection());
}

TEST(RecordList, MovesTakeTheSelectionAlongAndADropMovesThroughTheView)
{
    ListRig rig;
    rig.model->setSelection(rig.c);
    rig.model->moveEntries({2}, 0);
    EXPECT_EQ(rig.ids(), (std::vector<QUuid>{rig.c, rig.a, rig.b}));
    EXPECT_EQ(rig.model->selection(), rig.c);
    ASSERT_EQ(rig.viewSelection().size(), 1);
    EXPECT_EQ(rig.viewSelection().front().row(), 0);
    // Row 1 now: only its own output shows.
    EXPECT_EQ(rig.model->canvasCaption(), QStringLiteral("showing treatment 1"));

    rig.model->setRecord({row(*rig.model, 1), row(*rig.model, 2), row(*rig.model, 0)});
    rig.model->moveEntries({0}, 3);
    EXPECT_EQ(rig.ids(), (std::vector<QUuid>{rig.b, rig.c, rig.a}));
    rig.model->setRecord({row(*rig.model, 2), row(*rig.model, 0), row(*rig.model, 1)});
    rig.model->moveEntries({0, 2}, 1);
    EXPECT_EQ(rig.ids(), (std::vector<QUuid>{rig.a, rig.c, rig.b}));
    ASSERT_EQ(rig.viewSelection().size(), 1);
    EXPECT_EQ(rig.viewSelection().front().row(), 1);

    // Row 3 dragged above row 1: the drop goes through the view to the bench.
    std::unique_ptr<QMimeData> dragged(rig.list->rows()->mimeData({rig.list->rows()->index(2)}));
    const QPoint top = rig.rowRect(0).topLeft() + QPoint(20, 2);
    EXPECT_EQ(rig.list->dropRowAt(top), 0);
    QDragEnterEvent enter(top, Qt::MoveAction, dragged.get(), Qt::LeftButton, {});
    QApplication::sendEvent(rig.list->viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(top, Qt::MoveAction, dragged.get(), Qt::LeftButton, {});
    QApplication::sendEvent(rig.list->viewport(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(rig.ids(), (std::vector<QUuid>{rig.b, rig.a, rig.c}));
    EXPECT_EQ(rig.model->selection(), rig.c);
    ASSERT_EQ(rig.viewSelection().size(), 1);
    EXPECT_EQ(rig.viewSelection().front().row(), 2);

    // Row 1 dropped below the last row becomes the last.
    dragged.reset(rig.list->rows()->mimeData({rig.list->rows()->index(0)}));
    const QPoint below = rig.rowRect(2).bottomLeft() + QPoint(20, 12);
    EXPECT_EQ(rig.list->dropRowAt(below), 3);
    QDragEnterEvent again(below, Qt::MoveAction, dragged.get(), Qt::LeftButton, {});
    QApplication::sendEvent(rig.list->viewport(), &again);
    QDropEvent last(below, Qt::MoveAction, dragged.get(), Qt::LeftButton, {});
    QApplication::sendEvent(rig.list->viewport(), &last);
    EXPECT_TRUE(last.isAccepted());
    EXPECT_EQ(rig.ids(), (std::vector<QUuid>{rig.a, rig.c, rig.b}));
    EXPECT_EQ(rig.model->selection(), rig.c);
}

TEST(RecordList, RowsShowTheirTreatmentAsItIsEdited)
{
    ListRig rig;
    const QModelIndex crop = rig.list->rows()->index(0);
    EXPECT_EQ(crop.data(Qt::DisplayRole), QStringLiteral("Crop"));
    EXPECT_EQ(crop.data(RecordListModel::summaryRole), row(*rig.model, 0).treatment.summary());
    rig.model->setTreatment(0, CropSpec{0, 0, 20, 10});
    EXPECT_EQ(crop.data(RecordListModel::summaryRole), row(*rig.model, 0).treatment.summary());
    EXPECT_NE(row(*rig.model, 0).treatment.summary(), Treatment(CropSpec{0, 0, 32, 32}).summary());
    rig.model->setRecord({});
    EXPECT_EQ(rig.list->rows()->rowCount(), 0);
    EXPECT_TRUE(rig.original->isHighlighted());
}

TEST(RecordList, EverySelectionTheViewMakesReachesTheBench)
{
    ListRig rig;
    const QPoint below = rig.rowRect(2).bottomLeft() + QPoint(40, 30);
    // A press below the rows swept up onto row 2: the highlight and the canvas move together.
    rig.model->setSelection(rig.a);
    QTest::mousePress(rig.list->viewport(), Qt::LeftButton, {}, below);
    QTest::mouseMove(rig.list->viewport(), rig.rowRect(1).center());
    EXPECT_EQ(rig.model->canvasCaption(), QStringLiteral("showing treatments 1–2, in order"));
    QTest::mouseRelease(rig.list->viewport(), Qt::LeftButton, {}, rig.rowRect(1).center());
    EXPECT_EQ(rig.model->selection(), rig.b);

    // A click on the empty area, Ctrl-click and Ctrl+Space on the selected row select the original.
    QTest::mouseClick(rig.list->viewport(), Qt::LeftButton, {}, below);
    EXPECT_FALSE(rig.model->selection());
    QTest::mouseClick(rig.list->viewport(), Qt::LeftButton, {}, rig.rowRect(2).center());
    QTest::mouseClick(rig.list->viewport(), Qt::LeftButton, Qt::ControlModifier, rig.rowRect(2).center());
    EXPECT_FALSE(rig.model->selection());
    EXPECT_TRUE(rig.original->isHighlighted());
    QTest::keyClick(rig.list, Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(rig.model->selection(), rig.c);
    QTest::keyClick(rig.list, Qt::Key_Space, Qt::ControlModifier);
    EXPECT_FALSE(rig.model->selection());
    EXPECT_TRUE(rig.viewSelection().isEmpty());
}
