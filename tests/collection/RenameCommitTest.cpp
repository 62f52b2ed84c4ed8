#include "KeyboardSupport.h"

#include <QImageReader>
#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;

namespace {

// Gives `name` a backup of a different size, with the record a save with backup on would have left.
void makeEdited(KeyboardRig& rig, const QString& name, int backupSide)
{
    ASSERT_TRUE(QDir().mkpath(FolderStore::backupsFolderPath(rig.folder.path({}))));
    rig.folder.addPng(QStringLiteral(".plenoria/originals/") + name, backupSide, backupSide);
    QFile image(rig.folder.path(name));
    ASSERT_TRUE(image.open(QIODevice::ReadOnly));
    FileOperations files;
    ASSERT_TRUE(BackupRecords(files, rig.folder.path({}))
                    .write(name, {BackupRecords::contentOf(image.readAll())})
                    .ok());
    rig.controller->refresh();
}

int widthOf(const QString& path)
{
    return QImageReader(path).size().width();
}

ImageItem listed(KeyboardRig& rig, const QString& name)
{
    for (const ImageItem& item : rig.folder.store().items()) {
        if (item.filename == name)
            return item;
    }
    ADD_FAILURE() << "not listed: " << name.toStdString();
    return {};
}

} // namespace

TEST(RenameCommit, ARefusedNameBeepsBeforeItsToastAndKeepsTheFieldOpenOnlyForReturn)
{
    KeyboardRig rig({"a.png", "b.png"});
    rig.controller->setRenamingItemID(rig.folder.url(QStringLiteral("a.png")));

    EXPECT_FALSE(rig.controller->commitRename(listed(rig, "a.png"), QStringLiteral("  "), true));
    EXPECT_EQ(rig.beeps, 1);
    EXPECT_FALSE(rig.toastAtBeep) << "the beep comes before the toast";
    EXPECT_EQ(rig.toast(), QStringLiteral("A file needs a name."));
    EXPECT_EQ(rig.controller->interactionMode(), InteractionMode::renaming);

    rig.controller->setListFocused(false);
    EXPECT_TRUE(rig.controller->commitRename(listed(rig, "a.png"), QStringLiteral("b.png"), false));
    EXPECT_EQ(rig.beeps, 2);
    EXPECT_EQ(rig.toast(), QStringLiteral("\u201Cb.png\u201D already exists."));
    EXPECT_FALSE(rig.controller->renamingItemID());
    EXPECT_TRUE(rig.controller->listFocused());
    EXPECT_TRUE(rig.onDisk(QStringLiteral("a.png")));
}

TEST(RenameCommit, ARenameSelectsTheNewNameAndTheSameNameChangesNothing)
{
    KeyboardRig rig({"a.png", "b.png", "c.png"});
    rig.controller->setRenamingItemID(rig.folder.url(QStringLiteral("a.png")));
    EXPECT_TRUE(rig.controller->commitRename(listed(rig, "a.png"), QStringLiteral(" zz.png "), true));
    EXPECT_TRUE(rig.onDisk(QStringLiteral("zz.png")));
    EXPECT_EQ(rig.selectedName(), QStringLiteral("zz.png"));
    EXPECT_EQ(rig.filteredNames(), (QStringList{"b.png", "c.png", "zz.png"}));
    EXPECT_EQ(rig.controller->interactionMode(), InteractionMode::browsing);
    EXPECT_FALSE(rig.toast());

    rig.controller->setRenamingItemID(rig.folder.url(QStringLiteral("b.png")));
    const qint64 tokens = rig.controller->toastToken();
    EXPECT_TRUE(rig.controller->commitRename(listed(rig, "b.png"), QStringLiteral("b.png"), true));
    EXPECT_EQ(rig.controller->toastToken(), tokens);
    EXPECT_FALSE(rig.controller->renamingItemID());

    // Another image's backup holds the new name and cannot be set aside: the rename stands and says so.
    makeEdited(rig, QStringLiteral("c.png"), 20);
    rig.folder.addPng(QStringLiteral(".plenoria/originals/z.png"));
    rig.folder.addPng(QStringLiteral(".plenoria/displaced"));
    EXPECT_TRUE(rig.controller->commitRename(listed(rig, "c.png"), QStringLiteral("z.png"), true));
    EXPECT_EQ(rig.selectedName(), QStringLiteral("z.png"));
    EXPECT_EQ(rig.toast(),
        QStringLiteral(
            "Renamed c.png to z.png, but its backup stays in .plenoria/originals as c.png: File exists."));
    EXPECT_EQ(rig.beeps, 0);
}

TEST(RenameCommit, ANameThatLeavesTheImagesHandsTheSelectionToANeighbour)
{
    KeyboardRig rig({"a.png", "b.png", "c.png"});
    EXPECT_TRUE(rig.controller->commitRename(listed(rig, "b.png"), QStringLiteral("b.txt"), true));
    EXPECT_TRUE(rig.onDisk(QStringLiteral("b.txt")));
    EXPECT_EQ(rig.selectedName(), QStringLiteral("c.png"));

    EXPECT_TRUE(rig.controller->commitRename(listed(rig, "c.png"), QStringLiteral("c.txt"), true));
    EXPECT_EQ(rig.selectedName(), QStringLiteral("a.png")) << "the last one gives way to the one before";
    EXPECT_TRUE(rig.controller->commitRename(listed(rig, "a.png"), QStringLiteral("a.txt"), true));
    EXPECT_FALSE(rig.controller->selection());

    // Undo brings the file back as an image and selects it.
    EXPECT_EQ(rig.key('.'), KeyPressResult::handled);
    EXPECT_EQ(rig.selectedName(), QStringLiteral("a.png"));
}

TEST(RenameCommit, ARenamedImageTheFilterHidesGivesWayToTheFirstShown)
{
    KeyboardRig rig({"cat-a.png", "cat-b.png", "dog.png"});
    rig.controller->setFilterQuery(QStringLiteral("cat"));
    rig.select(QStringLiteral("cat-b.png"));
    EXPECT_TRUE(rig.controller->commitRename(listed(rig, "cat-b.png"), QStringLiteral("bird.png"), true));
    EXPECT_TRUE(rig.onDisk(QStringLiteral("bird.png")));
    EXPECT_EQ(rig.selectedName(), QStringLiteral("cat-a.png"));
}

TEST(RenameCommit, CancelEndsTheRenameWithoutTouchingTheFile)
{
    KeyboardRig rig({"a.png"});
    rig.controller->setRenamingItemID(rig.folder.url(QStringLiteral("a.png")));
    rig.controller->setListFocused(false);
    rig.controller->cancelRename();
    EXPECT_FALSE(rig.controller->renamingItemID());
    EXPECT_TRUE(rig.controller->listFocused());
    EXPECT_TRUE(rig.onDisk(QStringLiteral("a.png")));
    EXPECT_TRUE(rig.folder.store().undoStack().isEmpty());
}

TEST(RenameCommit, FilingOrOpeningTheBenchFirstCommitsTheNameBeingTyped)
{
    KeyboardRig rig({"a.png", "b.png"}, {"Keep"});
    std::optional<QString> fieldText = QStringLiteral("apricot.png");
    rig.controller->setRenameTextSource([&] { return std::exchange(fieldText, std::nullopt); });

    rig.controller->setRenamingItemID(rig.folder.url(QStringLiteral("a.png")));
    EXPECT_EQ(rig.controller->fileSelection(0), KeyPressResult::handled);
    EXPECT_TRUE(rig.onDisk(QStringLiteral("Keep/apricot.png")));
    EXPECT_FALSE(rig.onDisk(QStringLiteral("a.png")));
    EXPECT_EQ(rig.controller->interactionMode(), InteractionMode::browsing);
    EXPECT_EQ(rig.selectedName(), QStringLiteral("b.png"));

    // Undo walks back through both: the filing, then the rename.
    rig.controller->undoLast();
    rig.controller->undoLast();
    EXPECT_TRUE(rig.onDisk(QStringLiteral("a.png")));

    // No field holds a text: the rename is given up and the name stays.
    rig.select(QStringLiteral("a.png"));
    rig.controller->setRenamingItemID(rig.folder.url(QStringLiteral("a.png")));
    EXPECT_EQ(rig.controller->openBench(false), KeyPressResult::handled);
    EXPECT_FALSE(rig.controller->renamingItemID());
    EXPECT_EQ(rig.controller->interactionMode(), InteractionMode::bench);
    EXPECT_TRUE(rig.onDisk(QStringLiteral("a.png")));
}

TEST(RenameCommit, PuttingBackRestoresTheOriginalAndSelectsIt)
{
    KeyboardRig rig({"a.png", "b.png"});
    makeEdited(rig, QStringLiteral("b.png"), 20);
    ASSERT_TRUE(rig.folder.store().editedFilenames().contains(QStringLiteral("b.png")));
    rig.select(QStringLiteral("a.png"));

    rig.controller->putBackOriginal(listed(rig, "b.png"));
    EXPECT_EQ(widthOf(rig.folder.path(QStringLiteral("b.png"))), 20);
    EXPECT_EQ(rig.selectedName(), QStringLiteral("b.png"));
    EXPECT_EQ(rig.toast(), QStringLiteral("Restored b.png to its original."));
    EXPECT_FALSE(rig.folder.store().editedFilenames().contains(QStringLiteral("b.png")));

    // The backup is used up: a second try says so, without a beep.
    rig.controller->putBackOriginal(listed(rig, "b.png"));
    EXPECT_EQ(rig.toast(), QStringLiteral("No backup found for b.png."));
    EXPECT_EQ(rig.beeps, 0);
}
