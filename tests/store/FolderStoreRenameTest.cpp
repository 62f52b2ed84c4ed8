#include "StoreTestSupport.h"
#include "store/FolderStore.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;

namespace {

struct Renaming : testing::Test {
    void start(std::shared_ptr<FileSystem> fileSystem = {})
    {
        folder.write(QStringLiteral("a.png"), a);
        folder.write(QStringLiteral("b.png"), b);
        rig = std::make_unique<StoreRig>(folder.url(), std::move(fileSystem));
    }
    void SetUp() override { start(); }
    QStringList namesOnDisk(const QString& relative = {}) const
    {
        return QDir(folder.path(relative)).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    Folder folder;
    const QByteArray a = pngBytes(Qt::red);
    const QByteArray b = pngBytes(Qt::green);
    std::unique_ptr<StoreRig> rig;
};

struct CaseInsensitiveRenaming : Renaming {
    void SetUp() override { start(std::make_shared<CaseInsensitiveFileSystem>()); }
};

} // namespace

TEST_F(Renaming, EveryRefusalHasItsSentenceAndChangesNothing)
{
    const ImageItem item = rig->item(QStringLiteral("a.png"));
    const auto before = folder.snapshot();
    const auto failed = [](const char* text) { return RenameOutcome::failed(QString::fromUtf8(text)); };
    EXPECT_EQ(rig->store->rename(item, QStringLiteral(" \n\t")), failed("A file needs a name."));
    EXPECT_EQ(
        rig->store->rename(item, QStringLiteral("x/y.png")), failed("A name can’t contain “/” or “:”."));
    EXPECT_EQ(
        rig->store->rename(item, QStringLiteral("x:y.png")), failed("A name can’t contain “/” or “:”."));
    EXPECT_EQ(rig->store->rename(item, QStringLiteral(" a.png\n")), RenameOutcome::unchanged());
    EXPECT_EQ(rig->store->rename(item, QStringLiteral(".")), failed("That name isn’t allowed here."));
    EXPECT_EQ(rig->store->rename(item, QStringLiteral("..")), failed("That name isn’t allowed here."));
    EXPECT_EQ(rig->store->rename(item, QStringLiteral("b.png") + QChar(0) + QStringLiteral("x")),
        failed("That name isn’t allowed here."));
    // The store's own folder name, which would block every later backup.
    EXPECT_EQ(
        rig->store->rename(item, QStringLiteral(" .plenoria ")), failed("That name isn’t allowed here."));
    EXPECT_EQ(rig->store->rename(item, QStringLiteral(".Plenoria")), failed("That name isn’t allowed here."));
    // A temporary file's name, which the next sweep would take for a leftover and delete.
    EXPECT_EQ(rig->store->rename(item, QStringLiteral(".plenoria-1f.tmp")),
        failed("That name isn’t allowed here."));
    EXPECT_EQ(rig->store->rename(item, QStringLiteral("b.png")), failed("“b.png” already exists."));
    EXPECT_EQ(folder.snapshot(), before);
    EXPECT_TRUE(rig->store->undoStack().isEmpty());
    // Not a name the sweep takes ("g" is no hexadecimal digit): hidden, as any name with a full stop first.
    EXPECT_EQ(
        rig->store->rename(item, QStringLiteral(".plenoria-1g.tmp")).kind, RenameOutcome::Kind::renamed);

    StoreRig none(std::nullopt);
    EXPECT_EQ(none.store->rename(item, QStringLiteral("c.png")), failed("No working folder."));
}

TEST_F(Renaming, ARenamedImageIsReadAfreshAndUndoGivesBackItsName)
{
    const ImageItem item = rig->item(QStringLiteral("a.png"));
    const RenameOutcome outcome = rig->store->rename(item, QStringLiteral("  party.png "));
    ASSERT_EQ(outcome.kind, RenameOutcome::Kind::renamed);
    ASSERT_TRUE(outcome.newItem);
    EXPECT_EQ(outcome.newItem->url, folder.url(QStringLiteral("party.png")));
    EXPECT_EQ(outcome.newItem->filename, QStringLiteral("party.png"));
    EXPECT_EQ(rig->filenames(), (QStringList{QStringLiteral("b.png"), QStringLiteral("party.png")}));
    EXPECT_EQ(folder.read(QStringLiteral("party.png")), a);
    EXPECT_EQ(rig->store->undoStack(),
        (QList<UndoableAction>{Rename{item, folder.url(QStringLiteral("party.png"))}}));

    EXPECT_EQ(rig->store->undo(), FilingOutcome::renameUndone(item));
    EXPECT_EQ(folder.read(QStringLiteral("a.png")), a);
    EXPECT_EQ(namesOnDisk(), (QStringList{QStringLiteral("a.png"), QStringLiteral("b.png")}));
    ASSERT_EQ(rig->store->items().size(), 2);
    EXPECT_EQ(rig->store->items().last(), item);
}

TEST_F(Renaming, ANameThatIsNoImageTakesTheFileOutOfTheListUntilUndone)
{
    const ImageItem item = rig->item(QStringLiteral("a.png"));
    EXPECT_EQ(rig->store->rename(item, QStringLiteral("a.txt")), RenameOutcome::renamed(std::nullopt));
    EXPECT_EQ(rig->filenames(), QStringList{QStringLiteral("b.png")});
    EXPECT_EQ(folder.read(QStringLiteral("a.txt")), a);
    EXPECT_EQ(rig->store->undo(), FilingOutcome::renameUndone(item));
    EXPECT_EQ(rig->filenames(), (QStringList{QStringLiteral("a.png"), QStringLiteral("b.png")}));
}

TEST_F(Renaming, UndoRefusesWhenAnotherFileTookTheOldName)
{
    const ImageItem item = rig->item(QStringLiteral("a.png"));
    ASSERT_EQ(rig->store->rename(item, QStringLiteral("c.png")).kind, RenameOutcome::Kind::renamed);
    folder.write(QStringLiteral("a.png"), "newcomer");
    EXPECT_EQ(rig->store->undo(),
        FilingOutcome::failed(QStringLiteral("Can’t undo: something now occupies a.png.")));
    EXPECT_EQ(folder.read(QStringLiteral("a.png")), "newcomer");
    EXPECT_EQ(folder.read(QStringLiteral("c.png")), a);
    EXPECT_EQ(rig->store->undoStack().size(), 1);
}

TEST_F(Renaming, TheBackupTravelsWithTheImageAndAStaleOneIsSetAsideNotDeleted)
{
    folder.writeBackup(QStringLiteral("a.png"), "original of a", a);
    folder.write(QStringLiteral(".plenoria/originals/c.png"), "original of a long-gone c");
    rig->store->reload();
    const ImageItem item = rig->item(QStringLiteral("a.png"));

    ASSERT_EQ(rig->store->rename(item, QStringLiteral("c.png")).kind, RenameOutcome::Kind::renamed);
    EXPECT_FALSE(folder.exists(QStringLiteral(".plenoria/originals/a.png")));
    EXPECT_EQ(folder.read(QStringLiteral(".plenoria/originals/c.png")), "original of a");
    EXPECT_EQ(folder.read(QStringLiteral(".plenoria/displaced/c.png")), "original of a long-gone c");
    EXPECT_EQ(rig->store->editedFilenames(), QSet<QString>{QStringLiteral("c.png")});

    EXPECT_EQ(rig->store->undo(), FilingOutcome::renameUndone(item));
    EXPECT_EQ(folder.read(QStringLiteral(".plenoria/originals/a.png")), "original of a");
    EXPECT_FALSE(folder.exists(QStringLiteral(".plenoria/originals/c.png")));
    EXPECT_EQ(rig->store->editedFilenames(), QSet<QString>{QStringLiteral("a.png")});

    // A second stale one under the same name, a folder this time, is set aside as a file would be,
    // under its own free name.
    folder.write(QStringLiteral(".plenoria/originals/c.png/inside.png"), "another stale c");
    const RenameOutcome again
        = rig->store->rename(rig->item(QStringLiteral("a.png")), QStringLiteral("c.png"));
    EXPECT_EQ(again.kind, RenameOutcome::Kind::renamed);
    EXPECT_EQ(again.message, QString());
    EXPECT_EQ(folder.read(QStringLiteral(".plenoria/displaced/c-2.png/inside.png")), "another stale c");
    EXPECT_EQ(folder.read(QStringLiteral(".plenoria/originals/c.png")), "original of a");
}

TEST_F(Renaming, ACaseOnlyRenameNeverTakesTheNameOfADifferentFile)
{
    folder.write(QStringLiteral("Cat.png"), "Cat");
    folder.writeBackup(QStringLiteral("Cat.png"), "original of Cat", "Cat");
    rig->store->reload();
    const ImageItem item = rig->item(QStringLiteral("Cat.png"));
    ASSERT_EQ(rig->store->rename(item, QStringLiteral("CAT.png")).kind, RenameOutcome::Kind::renamed);
    EXPECT_EQ(folder.read(QStringLiteral("CAT.png")), "Cat");
    EXPECT_EQ(folder.read(QStringLiteral(".plenoria/originals/CAT.png")), "original of Cat");
    EXPECT_EQ(rig->store->editedFilenames(), QSet<QString>{QStringLiteral("cat.png")});

    folder.write(QStringLiteral("cat.png"), "another cat");
    rig->store->reload();
    EXPECT_EQ(rig->store->rename(rig->item(QStringLiteral("CAT.png")), QStringLiteral("cat.png")),
        RenameOutcome::failed(QStringLiteral("“cat.png” already exists.")));
    EXPECT_EQ(folder.read(QStringLiteral("cat.png")), "another cat");
    EXPECT_EQ(folder.read(QStringLiteral("CAT.png")), "Cat");

    // Undo does not take the old spelling from a file that now holds it either.
    folder.write(QStringLiteral("Cat.png"), "third cat");
    EXPECT_EQ(rig->store->undo(),
        FilingOutcome::failed(QStringLiteral("Can’t undo: something now occupies Cat.png.")));
    EXPECT_EQ(folder.read(QStringLiteral("Cat.png")), "third cat");
    // Its record came along with the backup, which still serves it.
    ASSERT_EQ(rig->store->putBackOriginal(rig->item(QStringLiteral("CAT.png"))).kind,
        RestorationOutcome::Kind::saved);
    EXPECT_EQ(folder.read(QStringLiteral("CAT.png")), "original of Cat");
}

TEST_F(CaseInsensitiveRenaming, ACaseOnlyRenameOfTheSameFileGoesThroughAndBack)
{
    folder.write(QStringLiteral("Cat.png"), "Cat");
    folder.writeBackup(QStringLiteral("Cat.png"), "original of Cat", "Cat");
    rig->store->reload();
    const ImageItem item = rig->item(QStringLiteral("Cat.png"));

    // On this volume "cat.png" exists already: it is the same file.
    EXPECT_EQ(rig->store->rename(item, QStringLiteral("b.PNG")),
        RenameOutcome::failed(QStringLiteral("“b.PNG” already exists.")));
    const RenameOutcome outcome = rig->store->rename(item, QStringLiteral("cat.png"));
    ASSERT_EQ(outcome.kind, RenameOutcome::Kind::renamed) << outcome.message.toStdString();
    EXPECT_EQ(namesOnDisk(),
        (QStringList{QStringLiteral("a.png"), QStringLiteral("b.png"), QStringLiteral("cat.png")}));
    EXPECT_EQ(namesOnDisk(QStringLiteral(".plenoria/originals")), QStringList{QStringLiteral("cat.png")});
    EXPECT_EQ(folder.read(QStringLiteral("cat.png")), "Cat");

    EXPECT_EQ(rig->store->undo(), FilingOutcome::renameUndone(item));
    EXPECT_EQ(namesOnDisk(),
        (QStringList{QStringLiteral("Cat.png"), QStringLiteral("a.png"), QStringLiteral("b.png")}));
    EXPECT_EQ(namesOnDisk(QStringLiteral(".plenoria/originals")), QStringList{QStringLiteral("Cat.png")});
    EXPECT_EQ(rig->store->editedFilenames(), QSet<QString>{QStringLiteral("cat.png")});
}
