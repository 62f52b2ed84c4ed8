#include "StoreTestSupport.h"
#include "store/FolderStore.h"
#include "store/PathBookmarkStore.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;

TEST(FolderStoreScan, AChosenFolderIsRememberedForTheNextRun)
{
    Folder folder;
    folder.write(QStringLiteral("a.png"), pngBytes(Qt::red));
    folder.write(QStringLiteral("b.gif"), pngBytes(Qt::blue));
    TemporarySettings settings;
    auto chooser = std::make_shared<FakeChooser>();
    FolderStore store(
        FolderStoreServices{std::make_shared<PathBookmarkStore>(settings.settings.get()), chooser, {}, {}});
    EXPECT_FALSE(store.workingFolder());
    EXPECT_EQ(runChild(QStringLiteral("folder"), settings.filePath()),
        QStringLiteral("workingFolder=none\nitems=\n"));

    QSignalSpy folderChanged(&store, &FolderStore::workingFolderChanged);
    chooser->answer = folder.url();
    store.chooseFolder();
    ASSERT_EQ(chooser->requests.size(), 1u);
    EXPECT_EQ(chooser->requests[0].prompt, QStringLiteral("Choose"));
    EXPECT_EQ(chooser->requests[0].message, QStringLiteral("Choose a folder of images to review and file."));
    EXPECT_FALSE(chooser->requests[0].initialDirectory);
    EXPECT_EQ(store.workingFolder(), folder.url());
    EXPECT_EQ(folderChanged.count(), 1);
    EXPECT_EQ(store.items().size(), 2);
    EXPECT_EQ(runChild(QStringLiteral("folder"), settings.filePath()),
        QStringLiteral("workingFolder=%1\nitems=a.png|b.gif\n").arg(folder.path()));

    // Cancelling the chooser changes nothing; it opened on the current folder. Nor does a folder
    // that is not a local, absolute path.
    chooser->answer.reset();
    store.chooseFolder();
    EXPECT_EQ(chooser->requests[1].initialDirectory, folder.url());
    for (const QUrl& bad : {QUrl(), QUrl(QStringLiteral("https://example.org/emoji")),
             QUrl::fromLocalFile(QStringLiteral("relative"))}) {
        chooser->answer = bad;
        store.chooseFolder();
    }
    EXPECT_EQ(store.workingFolder(), folder.url());
    EXPECT_EQ(store.items().size(), 2);
}

TEST(FolderStoreScan, OnlyTopLevelImagesAreListedAndEverySubfolderIsCounted)
{
    Folder folder;
    folder.write(QStringLiteral("a.png"), pngBytes(Qt::red));
    folder.write(QStringLiteral("Logo.PNG"), pngBytes(Qt::green));
    folder.write(QStringLiteral("notes.txt"), "text");
    folder.write(QStringLiteral(".hidden.png"), pngBytes(Qt::blue));
    folder.write(QStringLiteral("Cats/c.png"), pngBytes(Qt::blue));
    folder.write(QStringLiteral("Cats/d.txt"), "text");
    folder.write(QStringLiteral("Cats/.e.png"), pngBytes(Qt::blue));
    folder.makeFolder(QStringLiteral("Cats/inner"));
    folder.makeFolder(QStringLiteral("set.gif"));
    folder.makeFolder(QStringLiteral("Empty"));
    folder.write(QStringLiteral(".plenoria/originals/a.png"), pngBytes(Qt::black));

    StoreRig rig(folder.url());
    EXPECT_EQ(rig.filenames(), QStringList({QStringLiteral("Logo.PNG"), QStringLiteral("a.png")}));
    EXPECT_EQ(rig.item(QStringLiteral("Logo.PNG")).type, QStringLiteral("PNG"));
    const QHash<QString, qint64> expected{
        {QStringLiteral("Cats"), 2}, {QStringLiteral("set.gif"), 0}, {QStringLiteral("Empty"), 0}};
    EXPECT_EQ(rig.store->filedCounts(), expected);
    EXPECT_EQ(rig.store->filedCount(QStringLiteral(" \tCATS ")), 2);
    EXPECT_EQ(rig.store->filedCount(QStringLiteral("Empty")), 0);
    EXPECT_EQ(rig.store->filedCount(QStringLiteral("Dogs")), std::nullopt);
    EXPECT_EQ(rig.store->filedCount(QStringLiteral("cats\n")), std::nullopt) << "line breaks are not trimmed";
    EXPECT_EQ(rig.store->editedFilenames(), QSet<QString>{QStringLiteral("a.png")});
}

TEST(FolderStoreScan, ALinkToAFolderCountsAndTakesFilesAsThatFolderDoes)
{
    Folder folder;
    Folder elsewhere;
    const QByteArray a = pngBytes(Qt::red);
    folder.write(QStringLiteral("a.png"), a);
    folder.write(QStringLiteral("Cats/c.png"), pngBytes(Qt::blue));
    folder.write(QStringLiteral("Cats/d.png"), pngBytes(Qt::green));
    elsewhere.write(QStringLiteral("e.png"), pngBytes(Qt::black));
    ASSERT_TRUE(QFile::link(folder.path(QStringLiteral("Cats")), folder.path(QStringLiteral("Kitties"))));
    ASSERT_TRUE(QFile::link(elsewhere.path(), folder.path(QStringLiteral("Elsewhere"))));
    ASSERT_TRUE(
        QFile::link(folder.path(QStringLiteral("Cats/c.png")), folder.path(QStringLiteral("Cats/c2.png"))));

    // A link to a file is not a file of its own.
    StoreRig rig(folder.url());
    EXPECT_EQ(rig.store->filedCount(QStringLiteral("Cats")), 2);
    EXPECT_EQ(rig.store->filedCount(QStringLiteral("kitties")), 2);
    EXPECT_EQ(rig.store->filedCount(QStringLiteral("Elsewhere")), 1);

    const ImageItem item = rig.item(QStringLiteral("a.png"));
    ASSERT_EQ(rig.store->fileItem(item, QStringLiteral("Kitties")), FilingOutcome::filed(item, std::nullopt));
    EXPECT_EQ(folder.read(QStringLiteral("Cats/a.png")), a);
    EXPECT_EQ(rig.store->filedCount(QStringLiteral("Kitties")), 3);
    rig.store->reload();
    EXPECT_EQ(rig.store->filedCount(QStringLiteral("Cats")), 3);
    EXPECT_EQ(rig.store->filedCount(QStringLiteral("Kitties")), 3);
}

TEST(FolderStoreScan, ReloadKeepsListedItemsAsTheyWereAndReadsNewNames)
{
    Folder folder;
    folder.write(QStringLiteral("a.png"), pngBytes(Qt::red, 4));
    StoreRig rig(folder.url());
    const ImageItem before = rig.item(QStringLiteral("a.png"));
    QSignalSpy itemsChanged(rig.store.get(), &FolderStore::itemsChanged);

    folder.write(QStringLiteral("a.png"), pngBytes(Qt::red, 9));
    rig.store->reload();
    EXPECT_EQ(rig.item(QStringLiteral("a.png")), before);
    EXPECT_EQ(itemsChanged.count(), 0) << "an unchanged list is not announced";

    folder.write(QStringLiteral("b.png"), pngBytes(Qt::red, 9));
    folder.write(QStringLiteral(".plenoria/originals/B.png"), pngBytes(Qt::red, 9));
    rig.store->reload();
    EXPECT_EQ(itemsChanged.count(), 1);
    EXPECT_EQ(rig.item(QStringLiteral("b.png")).pixelSize, QSizeF(9, 9));
    EXPECT_EQ(rig.store->editedFilenames(), QSet<QString>{QStringLiteral("b.png")});

    QFile::remove(folder.path(QStringLiteral("a.png")));
    rig.store->reload();
    EXPECT_EQ(rig.filenames(), QStringList{QStringLiteral("b.png")});
}

TEST(FolderStoreScan, ItemsFollowTheListingWhereverTheirHeadersWereRead)
{
    // Files kept from the last scan and new ones read on the pool, damaged ones among them, end
    // up in listing order exactly as a scan reading one file after another would list them.
    Folder folder;
    for (int i = 0; i < 120; i += 2)
        folder.write(QStringLiteral("kept-%1.png").arg(i), pngBytes(Qt::red, 1 + i % 9));
    StoreRig rig(folder.url());
    for (int i = 0; i < 120; ++i) {
        const QString name = QStringLiteral("new-%1.%2").arg(i).arg(i % 3 ? "png" : "gif");
        folder.write(name, i % 4 == 1 ? QByteArray("GIF89a damaged") : pngBytes(Qt::blue, 2 + i % 5));
    }
    rig.store->reload();

    QList<ImageItem> oneByOne;
    for (const QFileInfo& entry :
        QDir(folder.path()).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Unsorted)) {
        if (auto item = ImageItem::fromUrl(QUrl::fromLocalFile(entry.absoluteFilePath())))
            oneByOne.append(*item);
    }
    EXPECT_EQ(rig.store->items().size(), 180);
    EXPECT_EQ(rig.store->items(), oneByOne);
}

namespace {

// Reports every file but `young` as last written and changed two hours ago.
class AgingFileSystem final : public FileSystem {
public:
    QByteArray young;
    StatResult lstat(const QByteArray& path) override
    {
        StatResult result = FileSystem::lstat(path);
        if (path != young) {
            result.info.st_mtim.tv_sec -= 2 * 60 * 60;
            result.info.st_ctim.tv_sec -= 2 * 60 * 60;
        }
        return result;
    }
};

} // namespace

TEST(FolderStoreScan, AScanRemovesOnlyTheTemporaryFilesACrashLeftBehind)
{
    Folder folder;
    auto fileSystem = std::make_shared<AgingFileSystem>();
    fileSystem->young = QFile::encodeName(folder.path(QStringLiteral(".plenoria-5e1f.tmp")));
    for (const char* name : {".plenoria-5e1f.tmp", ".plenoria-7c.tmp.bak", ".plenoria-AB.tmp", ".hidden",
             ".plenoria/originals/a.png", "Cats/.plenoria-77.tmp.part", "Cats/inner/.plenoria-78.tmp",
             ".plenoria-9a.tmp/inside"})
        folder.write(QString::fromLatin1(name), "kept");
    folder.makeFolder(QStringLiteral(".plenoria/displaced/deep"));
    const QStringList kept = folder.snapshot();
    // A move across volumes killed midway leaves its copy in the destination.
    for (const char* name : {".plenoria-1f2e3d4c5b6a7980.tmp", ".plenoria/originals/.plenoria-ab.tmp",
             ".plenoria/displaced/deep/.plenoria-0.tmp", "Cats/.plenoria-77.tmp"})
        folder.write(QString::fromLatin1(name), "left by a crash");

    StoreRig rig(folder.url(), fileSystem);
    EXPECT_EQ(folder.snapshot(), kept);

    // A .plenoria that is a link leads the sweep nowhere.
    Folder linked;
    Folder elsewhere;
    for (const char* name : {".plenoria-ab.tmp", "originals/.plenoria-ac.tmp"})
        elsewhere.write(QString::fromLatin1(name), "theirs");
    const QStringList theirs = elsewhere.snapshot();
    ASSERT_TRUE(QFile::link(elsewhere.path(), linked.path(QStringLiteral(".plenoria"))));
    StoreRig other(linked.url(), fileSystem);
    EXPECT_EQ(elsewhere.snapshot(), theirs);
}

TEST(FolderStoreScan, AScanGivesBackOnlyWhatACaseOnlyRenameStoppedHalfwayLeaves)
{
    Folder folder;
    Folder elsewhere;
    const QByteArray image = pngBytes(Qt::red);
    elsewhere.write("g.png", image);
    // Named like what such a rename leaves, but no image under a name a rename would give.
    for (const char* name : {".plenoria-case-1123abcd-notes.txt", ".plenoria-case-1123abcd-..",
             ".plenoria-case-1123abcd-.plenoria-case-01234567-x.png", ".plenoria-case-1123abce/e.png",
             ".plenoria-case-1123abce/f.png", ".plenoria-case-1123abcf/notes.txt"})
        folder.write(name, QByteArray(name).endsWith(".txt") ? "notes" : image);
    folder.makeFolder(".plenoria-case-1123abd1-Cats");
    ASSERT_TRUE(QFile::link(elsewhere.path("g.png"), folder.path(".plenoria-case-1123abd2-g.png")));
    const QStringList lookalikes = folder.snapshot();
    folder.write(".plenoria-case-0123abcd/c.png", image);
    folder.write(".plenoria-case-0123abce-d.png", image); // as earlier versions left it
    folder.write(".plenoria/originals/.plenoria-case-0123abcf/c.png", image);

    StoreRig rig(folder.url());
    EXPECT_EQ(rig.filenames(), (QStringList{"c.png", "d.png"}));
    EXPECT_EQ(folder.read(".plenoria/originals/c.png"), image);
    QDir(folder.path(".plenoria")).removeRecursively();
    QFile::remove(folder.path("c.png"));
    QFile::remove(folder.path("d.png"));
    EXPECT_EQ(folder.snapshot(), lookalikes);
}

TEST(FolderStoreScan, BookmarkIsWrittenBackOnlyWhenStale)
{
    Folder folder;
    for (const bool stale : {false, true}) {
        auto bookmarks = std::make_shared<FakeBookmarks>();
        bookmarks->stored = folder.path().toUtf8();
        bookmarks->resolvesStale = stale;
        FolderStore store(FolderStoreServices{bookmarks, {}, {}, {}});
        EXPECT_EQ(store.workingFolder(), folder.url());
        const std::vector<QString> expected = stale
            ? std::vector<QString>{QStringLiteral("store"), QStringLiteral("start ") + folder.path()}
            : std::vector<QString>{QStringLiteral("start ") + folder.path()};
        EXPECT_EQ(bookmarks->events, expected) << "stale " << stale;
    }
}

TEST(FolderStoreScan, ChoosingTheSameFolderAgainRestartsAccessAndRescans)
{
    Folder folder;
    StoreRig rig(folder.url());
    folder.write(QStringLiteral("new.png"), pngBytes(Qt::red));
    rig.bookmarks->events.clear();
    QSignalSpy folderChanged(rig.store.get(), &FolderStore::workingFolderChanged);
    rig.chooser->answer = folder.url();
    rig.store->chooseFolder();
    EXPECT_EQ(rig.bookmarks->events,
        (std::vector<QString>{QStringLiteral("stop ") + folder.path(), QStringLiteral("store"),
            QStringLiteral("start ") + folder.path()}));
    EXPECT_EQ(folderChanged.count(), 0);
    EXPECT_EQ(rig.filenames(), QStringList{QStringLiteral("new.png")});
}

TEST(FolderStoreScan, BookmarkFailuresAreLoggedAndNeverStopTheStore)
{
    Folder folder;
    folder.write(QStringLiteral("a.png"), pngBytes(Qt::red));
    {
        LogCapture log;
        auto bookmarks = std::make_shared<FakeBookmarks>();
        bookmarks->stored = QByteArray("junk");
        bookmarks->resolveError = QStringLiteral("gone");
        FolderStore store(FolderStoreServices{bookmarks, {}, {}, {}});
        EXPECT_FALSE(store.workingFolder());
        EXPECT_FALSE(bookmarks->stored);
        EXPECT_EQ(
            log.lines(), QStringList{QStringLiteral("Plenoria: could not resolve folder bookmark: gone")});
    }
    {
        LogCapture log;
        auto bookmarks = std::make_shared<FakeBookmarks>();
        bookmarks->createError = QStringLiteral("no room");
        bookmarks->grantAccess = false;
        auto chooser = std::make_shared<FakeChooser>();
        chooser->answer = folder.url();
        FolderStore store(FolderStoreServices{bookmarks, chooser, {}, {}});
        store.chooseFolder();
        EXPECT_EQ(store.workingFolder(), folder.url());
        EXPECT_EQ(store.items().size(), 1);
        EXPECT_FALSE(bookmarks->stored);
        EXPECT_EQ(
            log.lines(), QStringList{QStringLiteral("Plenoria: could not create folder bookmark: no room")});
        // Access that was never granted is never stopped.
        folder.makeFolder(QStringLiteral("Other"));
        store.setWorkingFolder(folder.url(QStringLiteral("Other")), false);
        EXPECT_EQ(std::count_if(bookmarks->events.begin(), bookmarks->events.end(),
                      [](const QString& e) { return e.startsWith(QStringLiteral("stop")); }),
            0);
    }
}

TEST(PathBookmarkStore, ResolvesOnlyItsOwnFormatForAFolderThatStillExists)
{
    Folder folder;
    folder.makeFolder(QStringLiteral("Émoji ünd Co"));
    TemporarySettings settings;
    PathBookmarkStore bookmarks(settings.settings.get());
    const BookmarkCreation created
        = bookmarks.create(QUrl::fromLocalFile(folder.path(QStringLiteral("Émoji ünd Co/"))));
    ASSERT_TRUE(created.data);
    const BookmarkResolution resolved = bookmarks.resolve(*created.data);
    ASSERT_TRUE(resolved.resolved);
    EXPECT_EQ(resolved.resolved->url, folder.url(QStringLiteral("Émoji ünd Co")));
    EXPECT_FALSE(resolved.resolved->isStale);

    EXPECT_FALSE(bookmarks.resolve(folder.path().toUtf8()).resolved) << "a bare path is not the format";
    EXPECT_FALSE(bookmarks.resolve(QByteArray()).resolved);
    folder.write(QStringLiteral("file"), "x");
    EXPECT_FALSE(bookmarks.resolve(*bookmarks.create(folder.url(QStringLiteral("file"))).data).resolved);
    const BookmarkResolution gone
        = bookmarks.resolve(*bookmarks.create(folder.url(QStringLiteral("gone"))).data);
    EXPECT_FALSE(gone.resolved);
    EXPECT_TRUE(gone.errorDescription.contains(QStringLiteral("no longer exists")));
    EXPECT_FALSE(bookmarks.create(QUrl(QStringLiteral("https://example.org/x"))).data);
}

TEST(FolderStoreScan, BackupsFolderQueriesAndReveals)
{
    StoreRig none(std::nullopt);
    EXPECT_FALSE(none.store->hasOriginalsFolder());
    none.store->revealOriginalsFolder();
    none.store->revealOriginal(ImageItem{});
    EXPECT_TRUE(none.reveal->revealed.empty());
    EXPECT_TRUE(none.store->items().isEmpty());

    Folder folder;
    folder.write(QStringLiteral("a.png"), pngBytes(Qt::red));
    folder.write(QStringLiteral("b.png"), pngBytes(Qt::red));
    StoreRig rig(folder.url());
    EXPECT_FALSE(rig.store->hasOriginalsFolder());
    rig.store->revealOriginalsFolder();
    EXPECT_TRUE(rig.reveal->revealed.empty());

    folder.write(QStringLiteral(".plenoria/originals/a.png"), pngBytes(Qt::black));
    EXPECT_TRUE(rig.store->hasOriginalsFolder());
    rig.store->revealOriginalsFolder();
    rig.store->revealOriginal(rig.item(QStringLiteral("a.png")));
    rig.store->revealOriginal(rig.item(QStringLiteral("b.png")));
    EXPECT_EQ(rig.reveal->revealed,
        (std::vector<QUrl>{folder.url(QStringLiteral(".plenoria/originals")),
            folder.url(QStringLiteral(".plenoria/originals/a.png"))}));
}

TEST(FolderStoreScan, ACopyInProgressIsNotTakenForStaleByTheTimeItCarriesFromItsSource)
{
    Folder folder;
    // A backup or a move across volumes under way in another window: its copy has its source's times.
    const QStringList copies{".plenoria-c0e.tmp", ".plenoria/originals/.plenoria-c0f.tmp"};
    for (const QString& copy : copies) {
        folder.write(copy, "half a copy");
        QFile file(folder.path(copy));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(
            file.setFileTime(QDateTime::currentDateTime().addDays(-3), QFileDevice::FileModificationTime));
    }
    StoreRig rig(folder.url());
    for (const QString& copy : copies)
        EXPECT_EQ(folder.read(copy), "half a copy");
}
