#include "StoreTestSupport.h"
#include "store/FolderStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;

namespace {

struct Filing : testing::Test {
    void SetUp() override
    {
        folder.write(QStringLiteral("a.png"), a);
        folder.write(QStringLiteral("b.png"), b);
        rig = std::make_unique<StoreRig>(folder.url());
    }
    Folder folder;
    const QByteArray a = pngBytes(Qt::red);
    const QByteArray b = pngBytes(Qt::green);
    std::unique_ptr<StoreRig> rig;
};

} // namespace

TEST_F(Filing, FilingIntoANewSubfolderCreatesItMovesTheFileAndCountsIt)
{
    const ImageItem item = rig->item(QStringLiteral("a.png"));
    QSignalSpy countsChanged(rig->store.get(), &FolderStore::filedCountsChanged);
    EXPECT_EQ(
        rig->store->fileItem(item, QStringLiteral(" Cats\t")), FilingOutcome::filed(item, std::nullopt));
    EXPECT_EQ(folder.read(QStringLiteral("Cats/a.png")), a);
    EXPECT_FALSE(folder.exists(QStringLiteral("a.png")));
    EXPECT_EQ(rig->filenames(), QStringList{QStringLiteral("b.png")});
    EXPECT_EQ(rig->store->filedCount(QStringLiteral("cats")), 1);
    EXPECT_EQ(countsChanged.count(), 1);
    EXPECT_EQ(rig->store->undoStack(),
        (QList<UndoableAction>{Move{item, folder.url(QStringLiteral("Cats/a.png")), std::nullopt}}));
}

TEST_F(Filing, ATakenNameGetsTheNextFreeNumberAndUndoBringsTheFileBackUnderItsOwnName)
{
    folder.write(QStringLiteral("Cats/a.png"), "first");
    folder.write(QStringLiteral("Cats/a-2.png"), "second");
    rig->store->reload();
    EXPECT_EQ(rig->store->filedCount(QStringLiteral("Cats")), 2);
    const ImageItem item = rig->item(QStringLiteral("a.png"));

    EXPECT_EQ(rig->store->fileItem(item, QStringLiteral("Cats")),
        FilingOutcome::filed(item, QStringLiteral("a-3.png")));
    EXPECT_EQ(folder.read(QStringLiteral("Cats/a-3.png")), a);
    EXPECT_EQ(folder.read(QStringLiteral("Cats/a.png")), "first");
    EXPECT_EQ(rig->store->filedCount(QStringLiteral("Cats")), 3);

    EXPECT_EQ(rig->store->undo(), FilingOutcome::undone(item));
    EXPECT_EQ(folder.read(QStringLiteral("a.png")), a);
    EXPECT_FALSE(folder.exists(QStringLiteral("Cats/a-3.png")));
    ASSERT_FALSE(rig->store->items().isEmpty());
    EXPECT_EQ(rig->store->items().last(), item);
    EXPECT_EQ(rig->store->filedCount(QStringLiteral("Cats")), 2);
    EXPECT_TRUE(rig->store->undoStack().isEmpty());
    EXPECT_EQ(rig->store->undo(), FilingOutcome::nothingToUndo());
}

TEST_F(Filing, ANameTakenByAnotherProgramDuringTheMoveGivesTheNextFreeNumber)
{
    auto racing = std::make_shared<RacingFileSystem>();
    racing->beforePlacing = [&](const QByteArray& to) {
        if (to.endsWith("/Cats/a.png") && !folder.exists(QStringLiteral("Cats/a.png")))
            folder.write(QStringLiteral("Cats/a.png"), "theirs");
    };
    const StoreRig raced(folder.url(), racing);
    const ImageItem item = raced.item(QStringLiteral("a.png"));
    EXPECT_EQ(raced.store->fileItem(item, QStringLiteral("Cats")),
        FilingOutcome::filed(item, QStringLiteral("a-2.png")));
    EXPECT_EQ(folder.read(QStringLiteral("Cats/a.png")), "theirs");
    EXPECT_EQ(folder.read(QStringLiteral("Cats/a-2.png")), a);
    EXPECT_EQ(raced.store->undo(), FilingOutcome::undone(item));
    EXPECT_EQ(folder.read(QStringLiteral("a.png")), a);
}

TEST_F(Filing, AWorkingFolderRemovedBehindTheStoresBackIsNotMadeAgain)
{
    const ImageItem item = rig->item(QStringLiteral("a.png"));
    ASSERT_TRUE(QDir(folder.path()).removeRecursively());
    EXPECT_EQ(rig->store->fileItem(item, QStringLiteral("Cats")),
        FilingOutcome::failed(QStringLiteral("Couldn’t move a.png: No such file or directory")));
    EXPECT_FALSE(QFileInfo::exists(folder.path()));
    EXPECT_TRUE(rig->store->undoStack().isEmpty());
}

TEST_F(Filing, ADestinationReachesASubfolderThatDiffersOnlyInLetterCase)
{
    folder.write(QStringLiteral("Cats/c.png"), "c");
    rig->store->reload();
    const ImageItem itemA = rig->item(QStringLiteral("a.png"));
    EXPECT_EQ(
        rig->store->fileItem(itemA, QStringLiteral(" cats ")), FilingOutcome::filed(itemA, std::nullopt));
    EXPECT_EQ(folder.read(QStringLiteral("Cats/a.png")), a);
    EXPECT_FALSE(folder.exists(QStringLiteral("cats")));
    EXPECT_EQ(rig->store->filedCount(QStringLiteral("cats")), 2);

    // Where both spellings exist the exact one is taken, and each keeps its own count.
    folder.makeFolder(QStringLiteral("cats"));
    rig->store->reload();
    const ImageItem itemB = rig->item(QStringLiteral("b.png"));
    EXPECT_EQ(rig->store->fileItem(itemB, QStringLiteral("cats")), FilingOutcome::filed(itemB, std::nullopt));
    EXPECT_EQ(folder.read(QStringLiteral("cats/b.png")), b);
    EXPECT_EQ(rig->store->filedCount(QStringLiteral("cats")), 1);
    EXPECT_EQ(rig->store->undo(), FilingOutcome::undone(itemB));
    EXPECT_EQ(rig->store->filedCount(QStringLiteral("cats")), 0);
    EXPECT_EQ(rig->store->filedCount(QStringLiteral("Cats")), 2);
    EXPECT_EQ(rig->store->filedCount(QStringLiteral("CATS")), 2) << "neither exact: the same one every time";
}

TEST_F(Filing, ALinkIntoTheStoresOwnFolderTakesNothing)
{
    folder.makeFolder(QStringLiteral(".plenoria/originals"));
    ASSERT_TRUE(
        QFile::link(folder.path(QStringLiteral(".plenoria/originals")), folder.path(QStringLiteral("Keep"))));
    ASSERT_TRUE(QFile::link(folder.path(QStringLiteral(".plenoria")), folder.path(QStringLiteral("keeps"))));
    rig->store->reload();
    const ImageItem item = rig->item(QStringLiteral("a.png"));
    const auto before = folder.snapshot();
    EXPECT_EQ(rig->store->fileItem(item, QStringLiteral("Keep")),
        FilingOutcome::failed(QStringLiteral("Couldn’t move a.png: “Keep” leads into .plenoria.")));
    EXPECT_EQ(rig->store->fileItem(item, QStringLiteral("KEEPS")),
        FilingOutcome::failed(QStringLiteral("Couldn’t move a.png: “keeps” leads into .plenoria.")));
    // Nor one back to the working folder, by whatever path.
    ASSERT_TRUE(QFile::link(QStringLiteral("."), folder.path(QStringLiteral("Self"))));
    ASSERT_TRUE(QFile::link(folder.path(QStringLiteral("Cats/..")), folder.path(QStringLiteral("Again"))));
    folder.makeFolder(QStringLiteral("Cats"));
    for (const QString name : {"Self", "Again"})
        EXPECT_EQ(rig->store->fileItem(item, name),
            FilingOutcome::failed("Couldn’t move a.png: “" + name + "” leads back into the working folder."));
    EXPECT_EQ(folder.snapshot().filter(QStringLiteral(".png")), before.filter(QStringLiteral(".png")));
    EXPECT_TRUE(rig->store->undoStack().isEmpty());
}

TEST_F(Filing, BadDestinationNamesChangeNothing)
{
    const ImageItem item = rig->item(QStringLiteral("a.png"));
    const auto before = folder.snapshot();
    EXPECT_EQ(rig->store->fileItem(item, QStringLiteral(" \t ")),
        FilingOutcome::skipped(QStringLiteral("No destination set for that key.")));
    EXPECT_EQ(rig->store->fileItem(item, QStringLiteral("Cats/Dogs")),
        FilingOutcome::failed(QStringLiteral("“Cats/Dogs” isn’t a valid folder name.")));
    EXPECT_EQ(rig->store->fileItem(item, QStringLiteral(" .. ")),
        FilingOutcome::failed(QStringLiteral("“..” isn’t a valid folder name.")));
    EXPECT_EQ(rig->store->fileItem(item, QStringLiteral("Cats\n")),
        FilingOutcome::failed(QStringLiteral("“Cats\n” isn’t a valid folder name.")));
    EXPECT_EQ(folder.snapshot(), before);
    EXPECT_TRUE(rig->store->undoStack().isEmpty());

    StoreRig none(std::nullopt);
    EXPECT_EQ(none.store->fileItem(item, QStringLiteral("Cats")),
        FilingOutcome::failed(QStringLiteral("No working folder.")));
}

TEST_F(Filing, UndoNeverOverwritesAFileThatTookTheOldPlace)
{
    const ImageItem item = rig->item(QStringLiteral("a.png"));
    ASSERT_EQ(rig->store->fileItem(item, QStringLiteral("Cats")).kind, FilingOutcome::Kind::filed);
    folder.write(QStringLiteral("a.png"), "newcomer");

    EXPECT_EQ(rig->store->undo(),
        FilingOutcome::failed(QStringLiteral("Can’t undo: something now occupies a.png.")));
    EXPECT_EQ(folder.read(QStringLiteral("a.png")), "newcomer");
    EXPECT_EQ(folder.read(QStringLiteral("Cats/a.png")), a);
    EXPECT_EQ(rig->store->undoStack().size(), 1);

    QFile::remove(folder.path(QStringLiteral("a.png")));
    EXPECT_EQ(rig->store->undo(), FilingOutcome::undone(item));
}

TEST_F(Filing, AnUndoWhoseFileWasRemovedElsewhereIsDroppedAndOlderStepsStayReachable)
{
    const ImageItem itemA = rig->item(QStringLiteral("a.png"));
    const ImageItem itemB = rig->item(QStringLiteral("b.png"));
    ASSERT_EQ(rig->store->fileItem(itemA, QStringLiteral("Cats")).kind, FilingOutcome::Kind::filed);
    ASSERT_EQ(rig->store->fileItem(itemB, QStringLiteral("Cats")).kind, FilingOutcome::Kind::filed);
    QFile::remove(folder.path(QStringLiteral("Cats/b.png")));

    EXPECT_EQ(rig->store->undo(),
        FilingOutcome::failed(
            QStringLiteral("Can’t undo: b.png is no longer in Cats, so that step was dropped.")));
    EXPECT_EQ(rig->store->undoStack().size(), 1);
    EXPECT_EQ(rig->store->undo(), FilingOutcome::undone(itemA));
    EXPECT_EQ(folder.read(QStringLiteral("a.png")), a);
}

TEST_F(Filing, AFiledImageTakesItsBackupAlongSoNoLaterImageInheritsIt)
{
    folder.writeBackup(QStringLiteral("a.png"), "original of a", a);
    rig->store->reload();
    const ImageItem item = rig->item(QStringLiteral("a.png"));
    ASSERT_EQ(rig->store->fileItem(item, QStringLiteral("Cats")).kind, FilingOutcome::Kind::filed);
    EXPECT_FALSE(folder.exists(QStringLiteral(".plenoria/originals/a.png")));
    EXPECT_EQ(folder.read(QStringLiteral(".plenoria/displaced/a.png")), "original of a");
    EXPECT_TRUE(rig->store->editedFilenames().isEmpty());

    // A newcomer of the same name is not edited; once it leaves, undo restores image and backup.
    folder.write(QStringLiteral("a.png"), "newcomer");
    rig->store->reload();
    EXPECT_FALSE(rig->store->editedFilenames().contains(QStringLiteral("a.png")));
    QFile::remove(folder.path(QStringLiteral("a.png")));
    rig->store->reload();
    EXPECT_EQ(rig->store->undo(), FilingOutcome::undone(item));
    EXPECT_EQ(folder.read(QStringLiteral(".plenoria/originals/a.png")), "original of a");
    EXPECT_FALSE(folder.exists(QStringLiteral(".plenoria/displaced/a.png")));
    EXPECT_EQ(rig->store->editedFilenames(), QSet<QString>{QStringLiteral("a.png")});
}

TEST_F(Filing, UndoLeavesABackupSetAsideWhenAnotherImageHasOneUnderThatName)
{
    folder.write(QStringLiteral(".plenoria/originals/a.png"), "original of a");
    rig->store->reload();
    const ImageItem item = rig->item(QStringLiteral("a.png"));
    ASSERT_EQ(rig->store->fileItem(item, QStringLiteral("Cats")).kind, FilingOutcome::Kind::filed);
    folder.write(QStringLiteral(".plenoria/originals/a.png"), "someone else's original");

    EXPECT_EQ(rig->store->undo(),
        FilingOutcome::undone(item,
            "Moved a.png back, but its backup stays in .plenoria/displaced as a.png: another backup has that "
            "name."));
    EXPECT_EQ(folder.read(QStringLiteral(".plenoria/originals/a.png")), "someone else's original");
    EXPECT_EQ(folder.read(QStringLiteral(".plenoria/displaced/a.png")), "original of a");
}

TEST_F(Filing, UndoAfterChangingFoldersActsInTheFolderWhereTheFilingHappened)
{
    const ImageItem item = rig->item(QStringLiteral("a.png"));
    ASSERT_EQ(rig->store->fileItem(item, QStringLiteral("Cats")).kind, FilingOutcome::Kind::filed);

    Folder other;
    other.write(QStringLiteral("z.png"), pngBytes(Qt::blue));
    other.write(QStringLiteral("Cats/y.png"), pngBytes(Qt::blue));
    rig->store->setWorkingFolder(other.url(), true);
    ASSERT_EQ(rig->store->filedCount(QStringLiteral("Cats")), 1);

    EXPECT_EQ(rig->store->undo(), FilingOutcome::undone(item));
    EXPECT_EQ(folder.read(QStringLiteral("a.png")), a);
    EXPECT_EQ(rig->filenames(), QStringList{QStringLiteral("z.png")}) << "the image lies in the other folder";
    EXPECT_EQ(rig->store->filedCount(QStringLiteral("Cats")), 1) << "another folder's count is not touched";
}

TEST(FreeName, NumbersGoBeforeTheLastExtension)
{
    Folder folder;
    FileOperations files;
    for (const char* name : {"a.png", "a.tar.gz", "notes", ".hidden", "a-2.png"})
        folder.write(QString::fromLatin1(name), "x");
    EXPECT_EQ(files.freeName(folder.path(), QStringLiteral("free.png")), QStringLiteral("free.png"));
    EXPECT_EQ(files.freeName(folder.path(), QStringLiteral("a.png")), QStringLiteral("a-3.png"));
    EXPECT_EQ(files.freeName(folder.path(), QStringLiteral("a.tar.gz")), QStringLiteral("a.tar-2.gz"));
    EXPECT_EQ(files.freeName(folder.path(), QStringLiteral("notes")), QStringLiteral("notes-2"));
    EXPECT_EQ(files.freeName(folder.path(), QStringLiteral(".hidden")), QStringLiteral(".hidden-2"));

    StoreRig rig(folder.url());
    EXPECT_EQ(rig.store->uniqueDestination(folder.url(QStringLiteral("elsewhere/a.png")), folder.url()),
        (FolderStore::UniqueDestination{folder.url(QStringLiteral("a-3.png")), true}));
}
