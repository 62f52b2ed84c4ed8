#include "store/FileOperations.h"
#include "StoreTestSupport.h"

#include <QFile>
#include <cerrno>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace plenoria;
using namespace plenoria::test;
using Call = FaultyFileSystem::Call;

TEST(FileOperations, AnAtomicWriteLeavesTheOldOrTheNewContentAndKeepsPermissions)
{
    Folder folder;
    folder.write(QStringLiteral("a.png"), "old");
    QFile::setPermissions(folder.path(QStringLiteral("a.png")), QFile::ReadOwner | QFile::WriteOwner);
    auto fileSystem = std::make_shared<FaultyFileSystem>();
    FileOperations files(fileSystem);
    const QString path = folder.path(QStringLiteral("a.png"));

    for (const Call call : {Call::open, Call::write, Call::fsync, Call::renameReplacing}) {
        fileSystem->fail(call, ENOSPC);
        EXPECT_EQ(files.writeAtomically(path, "new").error(), ENOSPC);
        EXPECT_EQ(folder.snapshot(), QStringList{QStringLiteral("a.png 3 149603e6c03516362a8da23f624db945")});
    }
    EXPECT_TRUE(files.writeAtomically(path, "new").ok());
    EXPECT_EQ(folder.read(QStringLiteral("a.png")), "new");
    struct stat info { };
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST(FileOperations, NewFilesAndCopiesNeverReplaceAnything)
{
    Folder folder;
    folder.write(QStringLiteral("a.png"), "a");
    folder.write(QStringLiteral("b.png"), "b");
    FileOperations files;
    EXPECT_EQ(files.writeNew(folder.path(QStringLiteral("a.png")), "new").error(), EEXIST);
    EXPECT_EQ(files.copyNoReplace(folder.path(QStringLiteral("a.png")), folder.path(QStringLiteral("b.png")))
                  .error(),
        EEXIST);
    EXPECT_EQ(folder.snapshot().size(), 2) << "no temporary is left behind";
    EXPECT_EQ(folder.read(QStringLiteral("b.png")), "b");

    EXPECT_TRUE(files.writeNew(folder.path(QStringLiteral("c.png")), "c").ok());
    EXPECT_TRUE(
        files.copyNoReplace(folder.path(QStringLiteral("a.png")), folder.path(QStringLiteral("d/a.png")))
            .error()
        == ENOENT);
    ASSERT_TRUE(files.makeDirectories(folder.path(QStringLiteral("d/e"))).ok());
    EXPECT_TRUE(
        files.copyNoReplace(folder.path(QStringLiteral("a.png")), folder.path(QStringLiteral("d/e/a.png")))
            .ok());
    EXPECT_EQ(folder.read(QStringLiteral("c.png")), "c");
    EXPECT_EQ(folder.read(QStringLiteral("d/e/a.png")), "a");
    EXPECT_EQ(folder.read(QStringLiteral("a.png")), "a");
    EXPECT_EQ(files.makeDirectories(folder.path(QStringLiteral("a.png"))).error(), EEXIST);
    EXPECT_TRUE(files.makeDirectories(folder.path(QStringLiteral("d/e"))).ok());
}

TEST(FileOperations, ReplacingConsumesTheReplacement)
{
    Folder folder;
    folder.write(QStringLiteral("a.png"), "edited");
    folder.write(QStringLiteral("backup/a.png"), "original");
    FileOperations files;
    EXPECT_TRUE(
        files.replace(folder.path(QStringLiteral("a.png")), folder.path(QStringLiteral("backup/a.png")))
            .ok());
    EXPECT_EQ(folder.read(QStringLiteral("a.png")), "original");
    EXPECT_FALSE(folder.exists(QStringLiteral("backup/a.png")));
}

TEST(FileOperations, AReadStopsAtItsLimitWhenTheFileGrowsWhileRead)
{
    Folder folder;
    const QString path = folder.path(QStringLiteral("a.png"));
    // Over one chunk, and at the limit when looked at; another program appends one byte before the
    // open, so that no single chunk is over the limit but the whole is.
    const QByteArray looked(64 * 1024 + 10, 'a');
    const qint64 limit = looked.size();
    for (const bool digest : {false, true}) {
        SCOPED_TRACE(digest);
        folder.write(QStringLiteral("a.png"), looked);
        auto fileSystem = std::make_shared<FaultyFileSystem>();
        fileSystem->beforeEachCall = [&] {
            if (fileSystem->calls(Call::lstat) == 1 && fileSystem->calls(Call::open) == 0)
                folder.write(QStringLiteral("a.png"), looked + 'b');
        };
        const FileOperations files(fileSystem);
        if (digest) {
            EXPECT_EQ(files.digest(path, limit).error, EFBIG);
        } else {
            const FileOperations::Contents contents = files.readRegular(path, limit);
            EXPECT_EQ(contents.error, EFBIG);
            EXPECT_EQ(contents.bytes, QByteArray());
        }
    }
}
