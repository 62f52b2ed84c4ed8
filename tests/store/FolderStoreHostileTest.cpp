#include "HostileEntries.h"
#include "StoreTestSupport.h"
#include "store/BackupRecords.h"
#include "store/FolderStore.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;

namespace {

RestorationSession toneSession(const QUrl& url, const QByteArray& bytes)
{
    ToneSpec tone;
    tone.brightness = 0.3;
    return {QUuid::createUuid(), url, bytes, {TreatmentEntry(Treatment(tone))}};
}

// A pipe, a link to an endless device, a link to itself and a sparse 6 GB file.
void plantHostileFiles(const Folder& folder, const QString& prefix)
{
    QDir().mkpath(folder.path(prefix));
    const std::pair<HostileEntry, const char*> planted[]{{HostileEntry::fifo, "pipe.png"},
        {HostileEntry::deviceLink, "zero.png"}, {HostileEntry::linkLoop, "loop.png"},
        {HostileEntry::sparseHuge, "huge.png"}};
    for (const auto& [entry, name] : planted)
        ASSERT_TRUE(makeHostileEntry(folder.path(prefix + name), entry));
}

} // namespace

TEST(HostileFolder, ScanSaveFilingAndPutBackNeitherStallNorReadThemNorLoseAByte)
{
    Folder folder;
    const QByteArray a = pngBytes(Qt::red);
    folder.write("a.png", a);
    plantHostileFiles(folder, {});
    plantHostileFiles(folder, ".plenoria/originals/");
    for (const char* name : {"Pipe", "Zero", "Loop"})
        ASSERT_TRUE(QFile::link(folder.path(QString(name).toLower() + ".png"), folder.path(name)));
    // As a scan listed them before they were swapped for what they are now.
    const auto listed = [&](const QString& name) {
        ImageItem item;
        item.url = folder.url(name);
        item.filename = name;
        return item;
    };

    StoreRig rig(folder.url());
    EXPECT_EQ(rig.filenames(), QStringList({"a.png", "huge.png"}));
    EXPECT_TRUE(rig.store->filedCounts().isEmpty());
    const QStringList before = folder.snapshot();
    for (const QString name : {"pipe.png", "zero.png", "loop.png", "huge.png"})
        EXPECT_EQ(rig.store->save(toneSession(folder.url(name), a), true),
            RestorationOutcome::failed(
                "Couldn’t save " + name + ": it changed on disk after it was opened."));
    for (const QString name : {"pipe.png", "zero.png", "loop.png"})
        EXPECT_EQ(rig.store->putBackOriginal(listed(name)),
            RestorationOutcome::failed("Couldn’t put back " + name + ": its backup isn’t a file."));
    for (const QString name : {"Pipe", "Zero", "Loop"})
        EXPECT_EQ(rig.store->fileItem(rig.item("a.png"), name),
            FilingOutcome::failed("Couldn’t move a.png: “" + name + "” is a link that leads to no folder."));
    EXPECT_EQ(folder.snapshot(), before);

    // A backup is matched to no file too large to be an image, nor to a link: neither is read or replaced.
    ASSERT_TRUE(QFile::remove(folder.path(".plenoria/originals/zero.png")));
    folder.write(".plenoria/originals/zero.png", a);
    for (const QString name : {"huge.png", "zero.png"})
        EXPECT_EQ(rig.store->putBackOriginal(listed(name)),
            RestorationOutcome::failed("Couldn’t put back " + name
                + ": its backup can’t be matched to the file now under that name; it is kept in "
                  ".plenoria/originals."));
    EXPECT_EQ(QFileInfo(folder.path("huge.png")).size(), 6'000'000'000LL);
    EXPECT_EQ(QFileInfo(folder.path("zero.png")).symLinkTarget(), "/dev/zero");
    // Filed, they move as they are.
    for (const QString name : {"pipe.png", "loop.png"})
        EXPECT_EQ(rig.store->fileItem(listed(name), "Cats").kind, FilingOutcome::Kind::filed);
    EXPECT_TRUE(QFileInfo(folder.path("Cats/loop.png")).isSymLink());
}

TEST(HostileFolder, TheStoresOwnFoldersAreNeverFollowedThroughALink)
{
    Folder folder;
    Folder elsewhere;
    folder.write("a.png", pngBytes(Qt::red));
    folder.write("b.png", pngBytes(Qt::green));
    elsewhere.write("originals/a.png", "theirs");
    elsewhere.write("originals/b.png", "theirs too");
    elsewhere.makeFolder("displaced");
    const QStringList theirs = elsewhere.snapshot();
    ASSERT_TRUE(QFile::link(elsewhere.path(), folder.path(".plenoria")));

    StoreRig rig(folder.url());
    EXPECT_TRUE(rig.store->editedFilenames().isEmpty());
    EXPECT_FALSE(rig.store->hasOriginalsFolder());
    const RestorationSession session = toneSession(folder.url("a.png"), folder.read("a.png"));
    EXPECT_EQ(rig.store->save(session, true),
        RestorationOutcome::failed("Couldn’t back up a.png: .plenoria isn’t a folder."));
    EXPECT_EQ(rig.store->putBackOriginal(rig.item("a.png")),
        RestorationOutcome::failed("Couldn’t put back a.png: .plenoria isn’t a folder."));
    EXPECT_EQ(rig.store->rename(rig.item("b.png"), "c.png").kind, RenameOutcome::Kind::renamed);
    EXPECT_EQ(rig.store->fileItem(rig.item("a.png"), "Cats").kind, FilingOutcome::Kind::filed);
    EXPECT_EQ(elsewhere.snapshot(), theirs);

    // A .plenoria of its own whose inner folders are links.
    ASSERT_TRUE(QFile::remove(folder.path(".plenoria")));
    folder.write("a.png", pngBytes(Qt::red));
    folder.makeFolder(".plenoria");
    ASSERT_TRUE(QFile::link(elsewhere.path("originals"), folder.path(".plenoria/originals")));
    rig.store->reload();
    EXPECT_EQ(rig.store->save(session, true),
        RestorationOutcome::failed("Couldn’t back up a.png: .plenoria/originals isn’t a folder."));
    ASSERT_TRUE(QFile::remove(folder.path(".plenoria/originals")));
    folder.write(".plenoria/originals/a.png", "ours");
    ASSERT_TRUE(QFile::link(elsewhere.path("displaced"), folder.path(".plenoria/displaced")));
    EXPECT_EQ(rig.store->putBackOriginal(rig.item("a.png")),
        RestorationOutcome::failed("Couldn’t put back a.png: .plenoria/displaced isn’t a folder."));
    EXPECT_EQ(folder.read(".plenoria/originals/a.png"), "ours");
    EXPECT_EQ(elsewhere.snapshot(), theirs);

    // The records folder a link, to records that vouch for the backup: neither the undo of a rename
    // nor a rename takes them at their word or carries them.
    ASSERT_TRUE(QFile::remove(folder.path(".plenoria/displaced")));
    ASSERT_EQ(rig.store->rename(rig.item("a.png"), "d.png").kind, RenameOutcome::Kind::renamed);
    elsewhere.write("records/a.png", BackupRecords::text({BackupRecords::contentOf(folder.read("d.png"))}));
    const QStringList records = elsewhere.snapshot();
    ASSERT_TRUE(QFile::link(elsewhere.path("records"), folder.path(".plenoria/records")));
    EXPECT_EQ(rig.store->undo().kind, FilingOutcome::Kind::renameUndone);
    EXPECT_EQ(elsewhere.snapshot(), records);
    EXPECT_EQ(rig.store->rename(rig.item("a.png"), "d.png").kind, RenameOutcome::Kind::renamed);
    EXPECT_EQ(folder.read(".plenoria/originals/d.png"), "ours");
    EXPECT_EQ(elsewhere.snapshot(), records);
}

TEST(HostileFolder, FilingAndUndoNeverMoveABackupThroughALinkedFolderOfTheStore)
{
    Folder folder;
    Folder elsewhere;
    folder.write("a.png", pngBytes(Qt::red));
    folder.write(".plenoria/originals/a.png", "original of a");
    elsewhere.makeFolder("displaced");
    elsewhere.makeFolder("originals");
    const QStringList theirs = elsewhere.snapshot();
    ASSERT_TRUE(QFile::link(elsewhere.path("displaced"), folder.path(".plenoria/displaced")));
    StoreRig rig(folder.url());
    const LogCapture log;
    ASSERT_EQ(rig.store->fileItem(rig.item("a.png"), "Cats").kind, FilingOutcome::Kind::filed);
    EXPECT_EQ(folder.read(".plenoria/originals/a.png"), "original of a");
    EXPECT_EQ(elsewhere.snapshot(), theirs);
    ASSERT_EQ(rig.store->undo().kind, FilingOutcome::Kind::undone);

    // Set aside while the image is away, then the originals folder becomes a link: the backup waits.
    ASSERT_TRUE(QFile::remove(folder.path(".plenoria/displaced")));
    ASSERT_EQ(rig.store->fileItem(rig.item("a.png"), "Cats").kind, FilingOutcome::Kind::filed);
    ASSERT_TRUE(QDir(folder.path(".plenoria/originals")).removeRecursively());
    ASSERT_TRUE(QFile::link(elsewhere.path("originals"), folder.path(".plenoria/originals")));
    ASSERT_EQ(rig.store->undo().kind, FilingOutcome::Kind::undone);
    EXPECT_EQ(folder.read(".plenoria/displaced/a.png"), "original of a");
    EXPECT_EQ(elsewhere.snapshot(), theirs);
}

TEST(HostileFolder, ALinkToAnImageBesideItIsNeitherListedNorFollowedNorReplacedByAFile)
{
    Folder folder;
    const QByteArray a = pngBytes(Qt::red);
    folder.write("a.png", a);
    ASSERT_TRUE(QFile::link(folder.path("a.png"), folder.path("b.png")));
    const QStringList linked = folder.snapshot();
    StoreRig rig(folder.url());
    EXPECT_EQ(rig.filenames(), QStringList{"a.png"});

    // As a scan listed it before it was swapped for the link.
    const auto listed = [&](const QString& name) {
        ImageItem item = rig.item("a.png");
        item.url = folder.url(name);
        item.filename = name;
        return item;
    };
    EXPECT_EQ(rig.store->save(toneSession(folder.url("b.png"), a), true),
        RestorationOutcome::failed("Couldn’t save b.png: it changed on disk after it was opened."));
    EXPECT_EQ(folder.snapshot(), linked);

    EXPECT_EQ(rig.store->rename(listed("b.png"), "c.png").kind, RenameOutcome::Kind::renamed);
    EXPECT_EQ(rig.store->fileItem(listed("c.png"), "Cats").kind, FilingOutcome::Kind::filed);
    EXPECT_EQ(QFileInfo(folder.path("Cats/c.png")).symLinkTarget(), folder.path("a.png"));
    EXPECT_EQ(rig.store->undo().kind, FilingOutcome::Kind::undone);
    EXPECT_EQ(rig.store->undo().kind, FilingOutcome::Kind::renameUndone);
    QStringList undone = linked + QStringList{"Cats/"};
    undone.sort();
    EXPECT_EQ(folder.snapshot(), undone);
}
