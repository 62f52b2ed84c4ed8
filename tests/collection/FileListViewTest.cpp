#include "collection/list/FileListView.h"
#include "collection/list/FileListModel.h"
#include "imaging/model/Theme.h"

#include <QAction>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace plenoria;

namespace {

ImageItem item(const QString& name, GIFTiming timing = GIFTiming::still())
{
    ImageItem made;
    made.url = QUrl::fromLocalFile(QStringLiteral("/f/") + name);
    made.filename = name;
    made.type = name.section(QLatin1Char('.'), -1).toUpper();
    made.byteSize = 1500;
    made.gifTiming = timing;
    return made;
}

QStringList rowNames(const FileListModel& model)
{
    QStringList names;
    for (int row = 0; row < model.rowCount(); ++row)
        names << model.data(model.index(row, 0)).toString();
    return names;
}

} // namespace

TEST(FileListView, EditedImagesGetTheBadgeAndTheirMenuWhateverTheBadgeSetting)
{
    FileListView view;
    view.setItems({item("Cat.PNG"), item("dog.png")});
    view.setEditedNames({QStringLiteral("cat.png")});
    const QModelIndex cat = view.model()->index(0, 0);
    EXPECT_TRUE(cat.data(FileListModel::editedRole).toBool());
    EXPECT_FALSE(view.model()->index(1, 0).data(FileListModel::editedRole).toBool());

    view.setShowBadge(false);
    EXPECT_FALSE(cat.data(FileListModel::editedRole).toBool());
    const QList<QAction*> actions = view.contextActions(0, &view);
    ASSERT_EQ(actions.size(), 2);
    EXPECT_EQ(actions[0]->text(), QStringLiteral("Restore original image"));
    EXPECT_EQ(actions[1]->text(), QStringLiteral("Show original in File Manager"));
    QSignalSpy restore(&view, &FileListView::putBackOriginalRequested);
    actions[0]->trigger();
    ASSERT_EQ(restore.count(), 1);
    EXPECT_EQ(restore.first().first().value<ImageItem>().filename, QStringLiteral("Cat.PNG"));
    EXPECT_TRUE(view.contextActions(1, &view).isEmpty());
    EXPECT_TRUE(view.contextActions(7, &view).isEmpty());
}

TEST(FileListView, AnimationsWithoutDelaysAreMarkedInTheTimingColumn)
{
    FileListModel model;
    model.setItems({item("broken.gif", GIFTiming::makeAnimated(0, false)),
        item("fine.gif", GIFTiming::makeAnimated(70, true)), item("still.png")});
    const int timing = int(SortColumn::timing);
    EXPECT_EQ(model.index(0, timing).data().toString(), QStringLiteral("! 0 ms"));
    EXPECT_EQ(model.index(0, timing).data(Qt::ForegroundRole).value<QColor>(), Theme::rust());
    EXPECT_EQ(model.index(0, timing).data(Qt::ToolTipRole).toString(),
        QStringLiteral("No frame delays set \u2014 plays too fast. Select it, then Fix Timing."));
    EXPECT_FALSE(model.index(1, timing).data(Qt::ToolTipRole).isValid());
    EXPECT_EQ(model.index(1, timing).data(Qt::ForegroundRole).value<QColor>(), Theme::inkSecondary());
    EXPECT_EQ(model.index(2, int(SortColumn::pixels)).data().toString(), QStringLiteral("\u2014"));
    EXPECT_EQ(model.index(2, int(SortColumn::size)).data().toString(), QStringLiteral("2 KB"));
}

TEST(FileListView, RowsChangeInPlaceWithoutAReset)
{
    FileListModel model;
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    model.setItems({item("a.png"), item("b.png"), item("c.png"), item("d.png")});
    QPersistentModelIndex c(model.index(2, 0));

    // A save gave b.png a new size, pixel size and timing: the view repaints every column of its row.
    ImageItem changed = item("b.png", GIFTiming::makeAnimated(70, true));
    changed.byteSize = 3000000;
    changed.pixelSize = QSizeF(64, 20);
    QSignalSpy repaints(&model, &QAbstractItemModel::dataChanged);
    model.setItems({item("a.png"), changed, item("c.png"), item("d.png")});
    ASSERT_EQ(repaints.count(), 1);
    EXPECT_EQ(repaints.first().at(0).toModelIndex(), model.index(1, int(SortColumn::name)));
    EXPECT_EQ(repaints.first().at(1).toModelIndex(), model.index(1, int(SortColumn::timing)));
    EXPECT_EQ(model.index(1, int(SortColumn::size)).data().toString(), QStringLiteral("3 MB"));
    EXPECT_EQ(model.index(1, int(SortColumn::pixels)).data().toString(), QStringLiteral("64×20"));
    EXPECT_EQ(model.index(1, int(SortColumn::timing)).data().toString(), QStringLiteral("70 ms"));

    // Changed again while the rows move: the moved rows show the new facts too.
    changed.byteSize = 2000000;
    model.setItems({item("d.png"), item("c.png"), changed, item("e.png")});
    EXPECT_EQ(rowNames(model), (QStringList{"d.png", "c.png", "b.png", "e.png"}));
    EXPECT_EQ(c.row(), 1);
    EXPECT_EQ(model.index(2, int(SortColumn::size)).data().toString(), QStringLiteral("2 MB"));
    EXPECT_EQ(model.rowOf(item("e.png").url), 3);
    EXPECT_FALSE(model.rowOf(item("a.png").url));

    model.setItems({});
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(resets.count(), 0);
}
