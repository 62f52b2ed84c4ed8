#include "StoreTestSupport.h"
#include "SyntheticImages.h"
#include "imaging/render/Renderer.h"
#include "imaging/write/ImageWriter.h"
#include "store/FolderStore.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <cerrno>
#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;

namespace {

// A request runs once with `whole` checked before each file-system call, as a kill at that call
// would leave the files, then once for each of those calls failing, with `afterFailure` checked.
// Saved, or written but not read back afterwards.
bool done(const RestorationOutcome& outcome)
{
    return outcome.kind == RestorationOutcome::Kind::saved
        || outcome.message.contains("couldn’t be re-read.");
}

struct Kills : testing::Test {
    void SetUp() override
    {
        reset();
        rig = std::make_unique<StoreRig>(folder.url(), fileSystem);
    }
    void reset() const
    {
        QDir(folder.path(".plenoria")).removeRecursively();
        QDir(folder.path("Cats")).removeRecursively();
        folder.write("a.png", original);
        if (withBackup)
            folder.writeBackup("a.png", earlier, original);
    }
    qsizetype copiesOf(const QByteArray& bytes) const
    {
        const QString md5 = QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex();
        return folder.snapshot().filter(QRegularExpression(" " + md5 + "$")).size();
    }
    void everyCall(const std::function<bool()>& request, const std::function<void()>& whole,
        const std::function<void(bool done)>& afterFailure)
    {
        fileSystem->beforeEachCall = whole;
        const qint64 first = fileSystem->totalCalls();
        ASSERT_TRUE(request());
        fileSystem->beforeEachCall = {};
        const qint64 count = fileSystem->totalCalls() - first;
        for (qint64 call = 0; call < count; ++call) {
            SCOPED_TRACE(call);
            reset();
            fileSystem->failCall(call, EIO);
            afterFailure(request());
            EXPECT_EQ(folder.snapshot().filter(".plenoria-"), QStringList()) << "no temporary is left";
        }
    }

    Folder folder;
    const QByteArray original
        = *ImageWriter::encode(gradientImage(24, 16, Qt::red, Qt::blue), ImageType::PNG);
    const QByteArray earlier = pngBytes(Qt::green, 6);
    bool withBackup = true;
    std::shared_ptr<FaultyFileSystem> fileSystem = std::make_shared<FaultyFileSystem>();
    std::unique_ptr<StoreRig> rig;
};

} // namespace

TEST_F(Kills, PutBackLeavesTheNameHoldingTheImageOrItsBackup)
{
    const ImageItem item = rig->item("a.png");
    everyCall([&] { return done(rig->store->putBackOriginal(item)); },
        [&] {
            EXPECT_TRUE(folder.read("a.png") == original || folder.read("a.png") == earlier);
            EXPECT_TRUE(copiesOf(original) >= 1 && copiesOf(earlier) >= 1);
        },
        [&](bool done) {
            EXPECT_EQ(folder.read("a.png"), done ? earlier : original);
            EXPECT_TRUE(copiesOf(original) == 1 && copiesOf(earlier) == 1);
        });
    EXPECT_EQ(folder.read(".plenoria/displaced/a.png"), original);
}

TEST_F(Kills, SaveWithBackupLeavesTheNameHoldingTheOldOrTheNewContent)
{
    withBackup = false;
    reset();
    ToneSpec tone;
    tone.brightness = 0.3;
    const TreatmentRecord record{TreatmentEntry(Treatment(tone))};
    const QByteArray saved = *Renderer::renderForSave(original, record);
    const RestorationSession session{QUuid::createUuid(), folder.url("a.png"), original, record};
    everyCall([&] { return done(rig->store->save(session, true)); },
        [&] {
            EXPECT_TRUE(folder.read("a.png") == original || folder.read("a.png") == saved);
            const QByteArray backup = folder.read(".plenoria/originals/a.png");
            EXPECT_TRUE(backup.isEmpty() || backup == original);
        },
        [&](bool done) {
            EXPECT_EQ(folder.read("a.png"), done ? saved : original);
            EXPECT_TRUE(!done || folder.read(".plenoria/originals/a.png") == original);
        });
}

TEST_F(Kills, FilingAcrossVolumesLeavesTheImageInOnePlaceOrTheOther)
{
    fileSystem->fail(FaultyFileSystem::Call::renameNoReplace, EXDEV, 0, true, "/a.png\n");
    const ImageItem item = rig->item("a.png");
    const LogCapture log;
    everyCall([&] { return rig->store->fileItem(item, "Cats").kind == FilingOutcome::Kind::filed; },
        [&] {
            EXPECT_TRUE(folder.read("a.png") == original || folder.read("Cats/a.png") == original);
            EXPECT_GE(copiesOf(earlier), 1);
        },
        [&](bool done) {
            EXPECT_EQ(folder.read(done ? "Cats/a.png" : "a.png"), original);
            EXPECT_TRUE(copiesOf(original) == 1 && copiesOf(earlier) == 1);
        });
}

namespace {

struct Killed { };

// A request killed at each of its file-system calls in turn, after `before`; then, as a new run of the
// app, what is still called a.png is moved away outside, c.png is renamed a.png and saved with backup.
struct KillsThenAnotherImage : Kills {
    using Request = std::function<void(StoreRig&)>;
    RestorationSession opened(const QString& name) const
    {
        ToneSpec tone;
        tone.brightness = 0.3;
        return {QUuid::createUuid(), folder.url(name), folder.read(name), {TreatmentEntry(Treatment(tone))}};
    }
    qint64 killedAt(qint64 call, const Request& before, const Request& request) const
    {
        QDir(folder.path()).removeRecursively();
        folder.write("a.png", original);
        folder.write("c.png", other);
        const auto faulty = std::make_shared<FaultyFileSystem>();
        StoreRig killed(folder.url(), faulty);
        if (before)
            before(killed);
        const qint64 first = faulty->totalCalls();
        faulty->beforeEachCall = [&] {
            if (faulty->totalCalls() == first + call)
                throw Killed();
        };
        try {
            request(killed);
        } catch (const Killed&) { }
        faulty->beforeEachCall = {};
        return faulty->totalCalls() - first;
    }
    // After each kill, what is still called a.png is moved away and `then` runs; by default c.png is
    // renamed a.png and saved with backup.
    void everyKill(const Request& before, const Request& request, const std::function<void()>& then = {})
    {
        const qint64 count = killedAt(-1, before, request);
        for (qint64 call = 0; call <= count; ++call) {
            SCOPED_TRACE(call);
            killedAt(call, before, request);
            if (folder.exists("a.png")) {
                EXPECT_TRUE(QFile::rename(folder.path("a.png"), folder.path("moved-away.png")));
            }
            if (then) {
                then();
                continue;
            }
            StoreRig next(folder.url());
            EXPECT_EQ(next.store->rename(next.item("c.png"), "a.png").kind, RenameOutcome::Kind::renamed);
            // "Backed up" holds: put back gives the newcomer's own bytes, and the first image's are kept.
            EXPECT_EQ(next.store->save(opened("a.png"), true).kind, RestorationOutcome::Kind::saved);
            EXPECT_EQ(next.store->putBackOriginal(next.item("a.png")).kind, RestorationOutcome::Kind::saved);
            EXPECT_EQ(folder.read("a.png"), other);
            EXPECT_GE(copiesOf(original), 1);
            EXPECT_GE(copiesOf(stranger), withStranger ? 1 : 0);
        }
    }
    const QByteArray other
        = *ImageWriter::encode(gradientImage(10, 30, Qt::green, Qt::white), ImageType::PNG);
    // A backup of an image long gone, with no record to say so.
    const QByteArray stranger = pngBytes(Qt::yellow, 5);
    bool withStranger = false;
};

} // namespace

TEST_F(KillsThenAnotherImage, NoKillLeavesABackupThatPassesForTheNextImageOfItsName)
{
    const Request saved = [&](StoreRig& r) { (void)r.store->save(opened("a.png"), true); };
    everyKill({}, saved);
    withStranger = true;
    everyKill([&](StoreRig&) { folder.write(".plenoria/originals/a.png", stranger); }, saved);
    withStranger = false;
    everyKill(saved, saved);
    everyKill(saved, [&](StoreRig& r) { (void)r.store->save(opened("a.png"), false); });
    everyKill(saved, [&](StoreRig& r) { (void)r.store->putBackOriginal(r.item("a.png")); });
    everyKill(saved, [&](StoreRig& r) { (void)r.store->fileItem(r.item("a.png"), "Cats"); });
    everyKill(saved, [&](StoreRig& r) { (void)r.store->rename(r.item("a.png"), "b.png"); });
    const Request undone = [&](StoreRig& r) { (void)r.store->undo(); };
    everyKill(
        [&](StoreRig& r) {
            saved(r);
            (void)r.store->fileItem(r.item("a.png"), "Cats");
        },
        undone);
    everyKill(
        [&](StoreRig& r) {
            saved(r);
            (void)r.store->rename(r.item("a.png"), "b.png");
        },
        undone);
}

TEST_F(KillsThenAnotherImage, NoKillOfASaveOverAnotherFilesBackupLetsItsRecordVouchForTheNewOne)
{
    // a.png's backup, and its record, are those of the image now called c.png.
    const auto arrange = [&](StoreRig& r) {
        folder.writeBackup("a.png", earlier, other);
        r.store->reload();
    };
    // The other image comes back under the name: put back gives it its own backup, or refuses.
    everyKill(
        arrange, [&](StoreRig& r) { (void)r.store->save(opened("a.png"), true); },
        [&] {
            EXPECT_TRUE(QFile::rename(folder.path("c.png"), folder.path("a.png")));
            StoreRig next(folder.url());
            const bool putBack
                = next.store->putBackOriginal(next.item("a.png")).kind == RestorationOutcome::Kind::saved;
            EXPECT_EQ(folder.read("a.png"), putBack ? earlier : other);
            EXPECT_GE(copiesOf(original), 1);
            EXPECT_GE(copiesOf(earlier), 1);
        });
}
