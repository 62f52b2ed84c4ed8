#include "HostileEntries.h"
#include "StoreTestSupport.h"
#include "store/FolderStore.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace plenoria;
using namespace plenoria::test;
using Call = FaultyFileSystem::Call;

namespace {

// A file larger than one copy chunk, so that a failure can strike in the middle of a copy.
QByteArray largeBytes()
{
    QByteArray bytes = pngBytes(Qt::red, 200);
    while (bytes.size() < 200 * 1024)
        bytes += bytes;
    return bytes;
}

struct Faults : testing::Test {
    void SetUp() override
    {
        folder.write(QStringLiteral("a.png"), a);
        folder.writeBackup(QStringLiteral("a.png"), "original of a", a);
        folder.makeFolder(QStringLiteral("Cats"));
        rig = std::make_unique<StoreRig>(folder.url(), fileSystem);
        item = rig->item(QStringLiteral("a.png"));
        before = folder.snapshot();
    }
    Folder folder;
    const QByteArray a = largeBytes();
    std::shared_ptr<FaultyFileSystem> fileSystem = std::make_shared<FaultyFileSystem>();
    std::unique_ptr<StoreRig> rig;
    ImageItem item;
    QStringList before;
};

} // namespace

TEST_F(Faults, AFilingThatFailsLeavesEveryFileWhereItWas)
{
    const std::vector<std::pair<int, const char*>> cases{
        {EACCES, "Permission denied"}, {ENOSPC, "No space left on device"}};
    for (const auto& [error, description] : cases) {
        fileSystem->fail(Call::renameNoReplace, error);
        EXPECT_EQ(rig->store->fileItem(item, QStringLiteral("Cats")),
            FilingOutcome::failed(QStringLiteral("Couldn’t move a.png: ") + QString::fromUtf8(description)));
        EXPECT_EQ(folder.snapshot(), before);
        EXPECT_TRUE(rig->store->undoStack().isEmpty());
        EXPECT_EQ(rig->filenames(), QStringList{QStringLiteral("a.png")});
        EXPECT_EQ(rig->store->filedCount(QStringLiteral("Cats")), 0);
    }

    fileSystem->fail(Call::makeDirectory, EACCES);
    EXPECT_EQ(rig->store->fileItem(item, QStringLiteral("Dogs")),
        FilingOutcome::failed(QStringLiteral("Couldn’t create “Dogs”: Permission denied")));
    EXPECT_EQ(folder.snapshot(), before);
}

TEST_F(Faults, AMoveAcrossDevicesCopiesSyncsAndOnlyThenRemovesTheSource)
{
    // Last read long before it was last changed, so that neither time passes for the other.
    const timespec times[2]{{1'400'000'000, 0}, {1'500'000'000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(folder.path(QStringLiteral("a.png"))), times, 0), 0);
    fileSystem->fail(Call::renameNoReplace, EXDEV);
    EXPECT_EQ(rig->store->fileItem(item, QStringLiteral("Cats")), FilingOutcome::filed(item, std::nullopt));
    EXPECT_EQ(folder.read(QStringLiteral("Cats/a.png")), a);
    EXPECT_EQ(QFileInfo(folder.path(QStringLiteral("Cats/a.png"))).lastModified().toSecsSinceEpoch(),
        1'500'000'000);
    EXPECT_FALSE(folder.exists(QStringLiteral("a.png")));
    EXPECT_GE(fileSystem->calls(Call::fsync), 1);
    EXPECT_EQ(rig->store->undo(), FilingOutcome::undone(item));
    EXPECT_EQ(folder.snapshot(), before);
}

TEST_F(Faults, AMoveAcrossDevicesThatFailsAnywhereKeepsTheSourceAndLeavesNoPartialCopy)
{
    struct Case {
        Call call;
        int error;
        int skip;
        const char* description;
        QString pathPart;
    };
    const std::vector<Case> cases{
        {Call::write, ENOSPC, 1, "No space left on device", {}}, // mid-copy
        {Call::read, EIO, 1, "Input/output error", {}}, {Call::fsync, EIO, 0, "Input/output error", {}},
        {Call::close, EIO, 1, "Input/output error", {}},
        {Call::open, EACCES, 0, "Permission denied", QStringLiteral(".plenoria-")},
        {Call::renameNoReplace, EIO, 0, "Input/output error",
            QStringLiteral(".plenoria-")}, // placing the copy
        {Call::unlink, EACCES, 0, "Permission denied", QStringLiteral("/a.png")}, // removing the source
    };
    for (const Case& c : cases) {
        fileSystem->fail(Call::renameNoReplace, EXDEV, 0, false, QStringLiteral("/a.png\n"));
        fileSystem->fail(c.call, c.error, c.skip, false, c.pathPart);
        EXPECT_EQ(rig->store->fileItem(item, QStringLiteral("Cats")),
            FilingOutcome::failed(QStringLiteral("Couldn’t move a.png: ") + QString::fromUtf8(c.description)))
            << "errno " << c.error;
        EXPECT_EQ(folder.snapshot(), before) << "errno " << c.error;
        EXPECT_TRUE(rig->store->undoStack().isEmpty());
        // Every rule left over would distort the next case.
        *fileSystem = FaultyFileSystem();
    }
}

TEST_F(Faults, AFileRemovedByAnotherProgramGivesTheSystemsSentence)
{
    QFile::remove(folder.path(QStringLiteral("a.png")));
    EXPECT_EQ(rig->store->fileItem(item, QStringLiteral("Cats")),
        FilingOutcome::failed(QStringLiteral("Couldn’t move a.png: No such file or directory")));
    EXPECT_EQ(rig->store->rename(item, QStringLiteral("c.png")),
        RenameOutcome::failed(QStringLiteral("Couldn’t rename a.png: No such file or directory")));
    EXPECT_TRUE(rig->store->undoStack().isEmpty());
}

TEST_F(Faults, ARenameThatFailsChangesNothing)
{
    fileSystem->fail(Call::renameNoReplace, EACCES);
    EXPECT_EQ(rig->store->rename(item, QStringLiteral("c.png")),
        RenameOutcome::failed(QStringLiteral("Couldn’t rename a.png: Permission denied")));
    EXPECT_EQ(folder.snapshot(), before);
    EXPECT_TRUE(rig->store->undoStack().isEmpty());
    EXPECT_EQ(rig->store->editedFilenames(), QSet<QString>{QStringLiteral("a.png")});
}

TEST_F(Faults, ABackupThatCannotBeCarriedIsLoggedAndTheRenameStandsAndSaysSo)
{
    LogCapture log;
    fileSystem->fail(Call::renameNoReplace, EACCES, 0, false, QStringLiteral("originals"));
    const RenameOutcome outcome = rig->store->rename(item, QStringLiteral("c.png"));
    EXPECT_EQ(outcome.kind, RenameOutcome::Kind::renamed);
    EXPECT_EQ(outcome.message,
        "Renamed a.png to c.png, but its backup stays in .plenoria/originals as a.png: Permission denied.");
    EXPECT_EQ(folder.read(QStringLiteral("c.png")), a);
    EXPECT_EQ(folder.read(QStringLiteral(".plenoria/originals/a.png")), "original of a");
    EXPECT_EQ(rig->store->editedFilenames(), QSet<QString>{QStringLiteral("a.png")});
    EXPECT_EQ(log.lines(),
        QStringList{QStringLiteral("Plenoria: couldn’t carry backup a.png → c.png: Permission denied")});
}

TEST_F(Faults, AFailedUndoKeepsItsStepForARetry)
{
    ASSERT_EQ(rig->store->fileItem(item, QStringLiteral("Cats")).kind, FilingOutcome::Kind::filed);
    const auto filed = folder.snapshot();
    fileSystem->fail(Call::renameNoReplace, EACCES);
    EXPECT_EQ(rig->store->undo(), FilingOutcome::failed(QStringLiteral("Undo failed: Permission denied")));
    EXPECT_EQ(folder.snapshot(), filed);
    EXPECT_EQ(rig->store->undoStack().size(), 1);
    EXPECT_EQ(rig->store->undo(), FilingOutcome::undone(item));
    EXPECT_EQ(folder.snapshot(), before);
}

TEST_F(Faults, VolumesWithoutNoReplaceRenamesOrHardLinksStillNeverReplace)
{
    fileSystem->fail(Call::renameNoReplace, EINVAL, 0, true);
    folder.write(QStringLiteral("b.png"), "b");
    rig->store->reload();
    EXPECT_EQ(rig->store->rename(item, QStringLiteral("c.png")).kind, RenameOutcome::Kind::renamed);
    EXPECT_EQ(folder.read(QStringLiteral("c.png")), a);
    EXPECT_FALSE(folder.exists(QStringLiteral("a.png")));

    fileSystem->fail(Call::link, EPERM, 0, true);
    FileOperations files(fileSystem);
    EXPECT_EQ(files.moveNoReplace(folder.path(QStringLiteral("c.png")), folder.path(QStringLiteral("b.png")))
                  .error(),
        EEXIST);
    EXPECT_EQ(folder.read(QStringLiteral("b.png")), "b");
    EXPECT_TRUE(
        files.moveNoReplace(folder.path(QStringLiteral("c.png")), folder.path(QStringLiteral("d.png"))).ok());
    EXPECT_EQ(folder.read(QStringLiteral("d.png")), a);
}

TEST_F(Faults, AcrossDevicesAFileThatBecameAPipeOrALinkIsNoImageFile)
{
    fileSystem->fail(Call::renameNoReplace, EXDEV, 0, true);
    ASSERT_TRUE(QFile::remove(folder.path(QStringLiteral("a.png"))));
    ASSERT_TRUE(makeHostileEntry(folder.path(QStringLiteral("a.png")), HostileEntry::fifo));
    const FilingOutcome notAFile
        = FilingOutcome::failed(QStringLiteral("Couldn’t move a.png: it isn’t an image file."));
    EXPECT_EQ(rig->store->fileItem(item, QStringLiteral("Cats")), notAFile);
    ASSERT_TRUE(QFile::remove(folder.path(QStringLiteral("a.png"))));
    ASSERT_TRUE(QFile::link(folder.path(QStringLiteral("Cats")), folder.path(QStringLiteral("a.png"))));
    EXPECT_EQ(rig->store->fileItem(item, QStringLiteral("Cats")), notAFile);
    EXPECT_TRUE(QFileInfo(folder.path(QStringLiteral("a.png"))).isSymLink());
}
