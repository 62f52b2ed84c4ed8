#include "CollectionFixture.h"
#include "collection/chrome/ConfigStripView.h"
#include "collection/chrome/PlainButton.h"
#include "collection/preview/PreviewColumn.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;

namespace {

QStringList names(std::initializer_list<std::pair<int, QString>> entries)
{
    QStringList list(9);
    for (const auto& [index, name] : entries)
        list[index] = name;
    return list;
}

TEST(ConfigStrip, RowsFollowTheNamedDestinationsAndTheirSubfolders)
{
    CollectionFolder folder;
    ASSERT_TRUE(QDir().mkpath(folder.path("CATS")));
    folder.addPng("CATS/a.png");
    folder.addPng("CATS/b.png");
    folder.addPng("loose.png");
    folder.store().reload();
    folder.prefs().setSubfolderNames(names({{0, " Cats\t"}, {2, "  "}, {4, "Dogs"}}));
    ConfigStripModel model(folder.prefs(), folder.store());

    // Blank names leave gaps in the numbers; a name reaches its subfolder in any letter case.
    QList<DestinationRow> rows = model.rows();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0], (DestinationRow{1, "Cats", 2}));
    EXPECT_EQ(rows[0].countText(), "2 filed");
    EXPECT_EQ(rows[1], (DestinationRow{5, "Dogs", std::nullopt}));
    EXPECT_EQ(rows[1].countText(), "new");

    ASSERT_TRUE(QDir().mkpath(folder.path("Dogs")));
    folder.store().reload();
    ASSERT_EQ(model.rows().size(), 2);
    EXPECT_EQ(model.rows()[1].countText(), "0 filed");

    // Filing counts at once, without a rescan.
    QSignalSpy changes(&model, &ConfigStripModel::changed);
    const std::optional<ImageItem> loose = folder.store().items().isEmpty()
        ? std::nullopt
        : std::optional<ImageItem>(folder.store().items().first());
    ASSERT_TRUE(loose.has_value());
    (void)folder.store().fileItem(*loose, "Dogs");
    EXPECT_FALSE(changes.isEmpty());
    EXPECT_EQ(model.rows()[1].countText(), "1 filed");
}

TEST(ConfigStrip, DestinationsThatDifferInLetterCaseCountTheFolderTheyReach)
{
    CollectionFolder folder;
    ASSERT_TRUE(QDir().mkpath(folder.path("Cats")) && QDir().mkpath(folder.path("cats")));
    folder.addPng("Cats/c.png");
    folder.addPng("loose.png");
    folder.store().reload();
    folder.prefs().setSubfolderNames(names({{0, "Cats"}, {1, " cats "}}));
    ConfigStripModel model(folder.prefs(), folder.store());
    ASSERT_EQ(model.rows().size(), 2);
    ASSERT_EQ(folder.store().items().size(), 1);
    ASSERT_EQ(
        folder.store().fileItem(folder.store().items().first(), " cats ").kind, FilingOutcome::Kind::filed);
    EXPECT_EQ(model.rows()[0].countText(), "1 filed");
    EXPECT_EQ(model.rows()[1].countText(), "1 filed");
    ASSERT_EQ(folder.store().undo().kind, FilingOutcome::Kind::undone);
    EXPECT_EQ(model.rows()[0].countText(), "1 filed");
    EXPECT_EQ(model.rows()[1].countText(), "0 filed");
}

TEST(ConfigStrip, ADestinationThatFilingRefusesIsShownAsTakingNothing)
{
    CollectionFolder folder;
    folder.addPng("loose.png");
    ASSERT_TRUE(QDir().mkpath(folder.path(".plenoria/originals")) && QDir().mkpath(folder.path("Real")));
    ASSERT_TRUE(QFile::link(folder.path(".plenoria"), folder.path("Keep")));
    ASSERT_TRUE(QFile::link(".", folder.path("Self")));
    ASSERT_TRUE(QFile::link(folder.path("Real"), folder.path("Alias")));
    ASSERT_TRUE(QFile::link(folder.path("Nowhere"), folder.path("Gone")));
    // A plain file where the subfolder would be made.
    QFile notes(folder.path("Notes"));
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.close();
    folder.store().reload();
    folder.prefs().setSubfolderNames(
        names({{0, "Keep"}, {1, "Self"}, {2, "Alias"}, {3, "Gone"}, {4, "Later"}, {5, "Notes"}}));
    ConfigStripModel model(folder.prefs(), folder.store());
    const auto texts = [&] {
        QStringList list;
        for (const DestinationRow& row : model.rows())
            list.append(row.countText());
        return list;
    };
    EXPECT_EQ(texts(), QStringList({"blocked", "blocked", "0 filed", "blocked", "new", "blocked"}));
    EXPECT_EQ(folder.store().fileItem(folder.store().items().first(), "Notes"),
        FilingOutcome::failed("Couldn’t create “Notes”: File exists"));

    // A link that comes to lead nowhere changes no count; the strip follows the rescan all the same.
    QSignalSpy changes(&model, &ConfigStripModel::changed);
    ASSERT_TRUE(QFile::link(folder.path("Nowhere"), folder.path("Later")));
    folder.store().reload();
    EXPECT_FALSE(changes.isEmpty());
    EXPECT_EQ(texts()[4], "blocked");
}

TEST(ConfigStrip, TheViewShowsRowsOrTheLinkToName)
{
    ControllerRig rig;
    rig.folder.prefs().setSubfolderNames(names({}));
    PreviewColumn column(*rig.controller);
    ConfigStripView& strip = *column.strip();
    QSignalSpy settings(rig.controller.get(), &ContentController::settingsRequested);

    EXPECT_TRUE(strip.rowWidgets().isEmpty());
    EXPECT_FALSE(strip.nameLink()->isHidden());
    EXPECT_TRUE(strip.editLink()->isHidden());
    strip.nameLink()->click();
    EXPECT_EQ(settings.size(), 1);

    rig.folder.prefs().setSubfolderName(0, "Keep");
    rig.folder.prefs().setSubfolderName(8, "Later");
    ASSERT_EQ(strip.rowWidgets().size(), 2);
    EXPECT_TRUE(strip.nameLink()->isHidden());
    EXPECT_FALSE(strip.editLink()->isHidden());
    const QLabel* count = strip.rowWidgets()[1]->findChild<QLabel*>("count");
    ASSERT_NE(count, nullptr);
    EXPECT_EQ(count->text(), "new");
    strip.editLink()->click();
    EXPECT_EQ(settings.size(), 2);
}

} // namespace
