#include "StoreTestSupport.h"
#include "SyntheticImages.h"
#include "imaging/write/ImageWriter.h"
#include "store/TemporaryFiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <cerrno>
#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;
using Call = FaultyFileSystem::Call;

namespace {

const QString refusal = "Couldn’t put back a.png: its backup can’t be matched to the file now under that "
                        "name; it is kept in .plenoria/originals.";

RestorationSession toned(const Folder& folder, const QString& name)
{
    ToneSpec tone;
    tone.brightness = 0.3;
    return {QUuid::createUuid(), folder.url(name), folder.read(name), {TreatmentEntry(Treatment(tone))}};
}

// a.png and its backup, of another image: which of them counts for which is what these tests ask.
struct Ownership : testing::Test {
    void SetUp() override
    {
        folder.write("a.png", image);
        folder.write(".plenoria/originals/a.png", earlier);
        rig = std::make_unique<StoreRig>(folder.url(), fileSystem);
    }
    void record(const QByteArray& text) const { folder.write(".plenoria/records/a.png", text); }
    // The MD5 of every file below the folder, .plenoria's included, but for the records, which only
    // speak of the others.
    QSet<QString> census() const
    {
        QSet<QString> sums;
        for (const QString& entry : folder.snapshot()) {
            const QStringList fields = entry.split(' ');
            if (fields.size() == 3 && !fields[0].startsWith(".plenoria/records/"))
                sums.insert(fields[2]);
        }
        return sums;
    }
    void expectKept(const QSet<QString>& before) const
    {
        const QSet<QString> after = census();
        EXPECT_TRUE(after.contains(before)) << "a content went missing";
    }

    Folder folder;
    const QByteArray image = *ImageWriter::encode(gradientImage(24, 16, Qt::red, Qt::blue), ImageType::PNG);
    const QByteArray earlier = pngBytes(Qt::green, 6);
    std::shared_ptr<FaultyFileSystem> fileSystem = std::make_shared<FaultyFileSystem>();
    std::unique_ptr<StoreRig> rig;
};

} // namespace

TEST_F(Ownership, ABackupCountsOnlyWhereASensibleRecordListsTheFilesContent)
{
    const BackupRecords::Content content = BackupRecords::contentOf(image);
    const QByteArray line = QByteArray::number(content.size) + ' ' + content.sha256;
    // No record, then records that make no sense, each naming a.png's content in some way.
    const QList<std::function<void()>> senseless{[] {}, [&] { record(line + "\r\n"); },
        [&] { record(line.toUpper() + '\n'); }, [&] { record(line); }, [&] { record("+" + line + '\n'); },
        [&] { record(QByteArray(64 * 1024 + 1, '\n').prepend(line + '\n')); },
        [&] { folder.makeFolder(".plenoria/records/a.png"); }};
    for (qsizetype i = 0; i < senseless.size(); ++i) {
        SCOPED_TRACE(i);
        QDir(folder.path(".plenoria")).removeRecursively();
        folder.write(".plenoria/originals/a.png", earlier);
        senseless[i]();
        rig->store->reload();
        EXPECT_TRUE(rig->store->editedFilenames().isEmpty());
        const QStringList before = folder.snapshot();
        EXPECT_EQ(rig->store->putBackOriginal(rig->item("a.png")), RestorationOutcome::failed(refusal));
        EXPECT_EQ(folder.snapshot(), before);
        EXPECT_EQ(rig->store->contentRevision(), 0);
    }

    // Saved without backup over another file's backup, the file gains no claim on it.
    QDir(folder.path(".plenoria/records")).removeRecursively();
    folder.writeBackup("a.png", earlier, earlier);
    ASSERT_EQ(rig->store->save(toned(folder, "a.png"), false).kind, RestorationOutcome::Kind::saved);
    EXPECT_EQ(rig->store->putBackOriginal(rig->item("a.png")), RestorationOutcome::failed(refusal));
    folder.write("a.png", image);

    // Saved with backup, it sets the unmatched backup aside and says under which name; the new one is
    // this file's.
    QDir(folder.path(".plenoria/records")).removeRecursively();
    folder.write(".plenoria/displaced/a.png", "set aside before");
    const RestorationOutcome saved = rig->store->save(toned(folder, "a.png"), true);
    EXPECT_EQ(saved.message,
        "Saved a.png. Its earlier backup couldn’t be matched to it and is kept in .plenoria/displaced "
        "as a-2.png; the content before this save is backed up.");
    EXPECT_EQ(folder.read(".plenoria/displaced/a-2.png"), earlier);
    EXPECT_EQ(folder.read(".plenoria/originals/a.png"), image);
    EXPECT_EQ(rig->store->putBackOriginal(rig->item("a.png")).kind, RestorationOutcome::Kind::saved);
    EXPECT_EQ(folder.read("a.png"), image);

    // A backup of the file's very content is its own, record or none.
    QDir(folder.path(".plenoria")).removeRecursively();
    folder.write(".plenoria/originals/a.png", image);
    EXPECT_EQ(rig->store->save(toned(folder, "a.png"), true).message, QString());
    EXPECT_FALSE(folder.exists(".plenoria/displaced"));
}

TEST_F(Ownership, AfterOneSaveAFileOfAnotherSizeUnderTheNameIsNotEdited)
{
    QDir(folder.path(".plenoria")).removeRecursively();
    ASSERT_EQ(rig->store->save(toned(folder, "a.png"), true).kind, RestorationOutcome::Kind::saved);
    EXPECT_EQ(rig->store->editedFilenames(), QSet<QString>{"a.png"});
    folder.write("a.png", earlier);
    rig->store->reload();
    EXPECT_TRUE(rig->store->editedFilenames().isEmpty());
}

TEST_F(Ownership, AnErrorWhileTellingWhoseBackupItIsChangesNothingAndSaysWhy)
{
    folder.writeBackup("a.png", earlier, image);
    folder.makeFolder("Cats");
    rig->store->reload();
    const QString eio = ": Input/output error";
    struct Case {
        Call call;
        const char* pathPart;
        std::function<QString()> request;
        QString message;
    };
    const ImageItem item = rig->item("a.png");
    const std::vector<Case> cases{
        {Call::read, "records/a.png", [&] { return rig->store->save(toned(folder, "a.png"), true).message; },
            "Couldn’t save a.png" + eio},
        {Call::read, "records/a.png", [&] { return rig->store->save(toned(folder, "a.png"), false).message; },
            "Couldn’t save a.png" + eio},
        {Call::read, "/a.png", [&] { return rig->store->save(toned(folder, "a.png"), false).message; },
            "Couldn’t save a.png" + eio},
        {Call::read, "records/a.png", [&] { return rig->store->putBackOriginal(item).message; },
            "Couldn’t put back a.png" + eio},
        {Call::read, "records/a.png", [&] { return rig->store->rename(item, "b.png").message; },
            "Couldn’t rename a.png" + eio},
        {Call::lstat, "originals/b.png", [&] { return rig->store->rename(item, "b.png").message; },
            "Couldn’t rename a.png" + eio},
        {Call::lstat, "originals/a.png", [&] { return rig->store->fileItem(item, "Cats").message; },
            "Couldn’t move a.png" + eio},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        const QStringList before = folder.snapshot();
        fileSystem->fail(cases[i].call, EIO, 0, true, cases[i].pathPart);
        EXPECT_EQ(cases[i].request(), cases[i].message);
        *fileSystem = FaultyFileSystem();
        EXPECT_EQ(folder.snapshot(), before);
        EXPECT_TRUE(rig->store->undoStack().isEmpty());
    }

    // Undone, a rename whose backup can't be looked at stays done, and on the stack for a retry.
    ASSERT_EQ(rig->store->rename(item, "b.png").message, QString());
    fileSystem->fail(Call::read, EIO, 0, true, "records/b.png");
    EXPECT_EQ(rig->store->undo(), FilingOutcome::failed("Undo failed" + eio));
    EXPECT_EQ(folder.read("b.png"), image);
    EXPECT_EQ(rig->store->undoStack().size(), 1);
}

TEST_F(Ownership, ASaveThatFailsLeavesTheEarlierBackupWhereItWasWithItsRecord)
{
    Folder elsewhere;
    elsewhere.makeFolder("records");
    // The record's place taken by a folder, then the records folder a link: neither can be written.
    const std::vector<std::pair<std::function<void()>, QString>> cases{
        {[&] { folder.makeFolder(".plenoria/records/a.png"); }, "Couldn’t back up a.png: Is a directory"},
        {[&] { ASSERT_TRUE(QFile::link(elsewhere.path("records"), folder.path(".plenoria/records"))); },
            "Couldn’t back up a.png: .plenoria/records isn’t a folder."}};
    for (const auto& [arrange, message] : cases) {
        SCOPED_TRACE(message.toStdString());
        QDir(folder.path(".plenoria/records")).removeRecursively();
        QFile::remove(folder.path(".plenoria/records"));
        arrange();
        const QStringList before = folder.snapshot();
        EXPECT_EQ(rig->store->save(toned(folder, "a.png"), true), RestorationOutcome::failed(message));
        EXPECT_EQ(folder.snapshot(), before);
        EXPECT_EQ(elsewhere.snapshot(), QStringList{"records/"}) << "nothing written through the link";
    }

    // Failing at any call of a save that sets another file's backup aside, the save leaves the backup
    // and its record as they were; done, both contents are kept and the new backup is the file's.
    const auto reset = [&] {
        QFile::remove(folder.path(".plenoria/records"));
        QDir(folder.path(".plenoria")).removeRecursively();
        folder.write("a.png", image);
        folder.writeBackup("a.png", earlier, earlier);
    };
    reset();
    const QStringList before = folder.snapshot();
    const QSet<QString> contents = census();
    const qint64 first = fileSystem->totalCalls();
    ASSERT_EQ(rig->store->save(toned(folder, "a.png"), true).kind, RestorationOutcome::Kind::saved);
    const qint64 count = fileSystem->totalCalls() - first;
    for (qint64 call = 0; call < count; ++call) {
        SCOPED_TRACE(call);
        reset();
        fileSystem->failCall(call, EIO);
        const RestorationOutcome outcome = rig->store->save(toned(folder, "a.png"), true);
        const bool written = outcome.kind == RestorationOutcome::Kind::saved
            || outcome.message.contains("couldn’t be re-read.");
        EXPECT_EQ(outcome.message.contains("backed up"), written);
        // Wherever it stays, the earlier backup is where the toast says.
        EXPECT_EQ(outcome.message.contains("is kept in .plenoria/displaced as a.png"),
            folder.exists(".plenoria/displaced/a.png"))
            << outcome.message.toStdString();
        // The earlier backup where it was with its record, or the new one complete with its own.
        if (written || folder.read(".plenoria/originals/a.png") == image) {
            EXPECT_EQ(folder.read(".plenoria/originals/a.png"), image);
            EXPECT_TRUE(
                folder.read(".plenoria/records/a.png").contains(BackupRecords::contentOf(image).sha256));
            EXPECT_EQ(folder.read(".plenoria/displaced/a.png"), earlier);
        } else {
            EXPECT_EQ(folder.snapshot(), before);
        }
        expectKept(contents);
    }
}

TEST_F(Ownership, AnUnmatchedRecordNeverStopsABackupFromFollowingItsImage)
{
    record("nonsense\n");
    rig->store->reload();
    const RenameOutcome renamed = rig->store->rename(rig->item("a.png"), "b.png");
    EXPECT_EQ(renamed, RenameOutcome::renamed(rig->item("b.png")));
    EXPECT_EQ(folder.read(".plenoria/originals/b.png"), earlier);
    EXPECT_FALSE(folder.exists(".plenoria/records/b.png"));

    // A backup that can't come back with its image is named in the toast, with where it stays.
    folder.makeFolder("Cats");
    folder.writeBackup("b.png", earlier, image);
    rig->store->reload();
    ASSERT_EQ(rig->store->fileItem(rig->item("b.png"), "Cats").kind, FilingOutcome::Kind::filed);
    fileSystem->fail(Call::renameNoReplace, EACCES, 0, false, "originals/b.png");
    EXPECT_EQ(rig->store->undo().message,
        "Moved b.png back, but its backup stays in .plenoria/displaced as b.png: Permission denied.");
    ASSERT_EQ(rig->store->rename(rig->item("b.png"), "c.png").kind, RenameOutcome::Kind::renamed);
    folder.writeBackup("c.png", earlier, image);
    fileSystem->fail(Call::renameNoReplace, EACCES, 0, false, "originals/c.png");
    EXPECT_EQ(rig->store->undo().message,
        "Renamed back to b.png, but its backup stays in .plenoria/originals as c.png: Permission denied.");
}

TEST_F(Ownership, ABackupThatCannotFollowItsImageIsNamedInTheToastAndUndoNeverTakesItAway)
{
    folder.writeBackup("a.png", earlier, image);
    folder.writeBackup("z.png", pngBytes(Qt::yellow, 5), "a long gone image");
    folder.makeFolder("Cats");
    rig->store->reload();
    const ImageItem item = rig->item("a.png");
    const QString stays = ", but its backup stays in .plenoria/originals as a.png: Input/output error.";
    fileSystem->fail(Call::makeDirectory, EIO, 0, false, "displaced");
    EXPECT_EQ(rig->store->fileItem(item, "Cats"),
        FilingOutcome::filed(item, std::nullopt, "Filed a.png in Cats" + stays));
    ASSERT_EQ(rig->store->undo(), FilingOutcome::undone(item));

    // The stale backup under the new name can't be set aside, so a.png's stays; undone, the rename
    // leaves it in place and the stranger's where it was.
    fileSystem->fail(Call::renameNoReplace, EIO, 0, false, "originals/z.png");
    EXPECT_EQ(rig->store->rename(item, "z.png").message, "Renamed a.png to z.png" + stays);
    EXPECT_EQ(rig->store->undo(), FilingOutcome::renameUndone(item));
    EXPECT_EQ(folder.read(".plenoria/originals/z.png"), pngBytes(Qt::yellow, 5));
    EXPECT_EQ(rig->store->putBackOriginal(rig->item("a.png")).kind, RestorationOutcome::Kind::saved);
    EXPECT_EQ(folder.read("a.png"), earlier);

    // Undone, a rename brings no other file's backup along, and sets none of the image's aside.
    QDir(folder.path(".plenoria")).removeRecursively();
    ASSERT_EQ(rig->store->rename(rig->item("a.png"), "z.png").message, QString());
    folder.writeBackup("z.png", image, "a long gone image");
    EXPECT_EQ(rig->store->undo().message, QString());
    EXPECT_EQ(folder.read(".plenoria/originals/z.png"), image);
    folder.writeBackup("a.png", earlier, earlier);
    ASSERT_EQ(rig->store->rename(rig->item("a.png"), "z.png").message, QString());
    folder.writeBackup("a.png", image, earlier);
    EXPECT_EQ(rig->store->undo().message, QString());
    EXPECT_EQ(
        folder.read(".plenoria/originals/a.png") + folder.read(".plenoria/originals/z.png"), image + earlier);
}

namespace {

struct Killed { };

// A volume that folds letter case, stopped or failed at the second step of a case-only rename.
struct FoldingFileSystem : CaseInsensitiveFileSystem {
    std::function<int(const QByteArray& to)> onPlacing;
    SysResult renameNoReplace(const QByteArray& from, const QByteArray& to) override
    {
        if (const int error = onPlacing ? onPlacing(to) : 0)
            return {0, error};
        return CaseInsensitiveFileSystem::renameNoReplace(from, to);
    }
};

} // namespace

TEST_F(Ownership, ACaseOnlyRenameStoppedHalfwayGetsItsImageAndBackupBackAtTheNextScan)
{
    folder.writeBackup("a.png", earlier, image);
    const std::vector<std::function<int(const QByteArray&)>> stops{[](const QByteArray& to) -> int {
                                                                       if (to.endsWith("/A.png"))
                                                                           throw Killed();
                                                                       return 0;
                                                                   },
        // The step forward and the way back both fail.
        [](const QByteArray& to) { return to.endsWith("/A.png") || to.endsWith("/a.png") ? EIO : 0; },
        [](const QByteArray& to) -> int {
            if (to.endsWith("originals/A.png"))
                throw Killed();
            return 0;
        }};
    for (size_t i = 0; i < stops.size(); ++i) {
        SCOPED_TRACE(i);
        auto folding = std::make_shared<FoldingFileSystem>();
        StoreRig stopped(folder.url(), folding);
        folding->onPlacing = stops[i];
        try {
            (void)stopped.store->rename(stopped.item("a.png"), "A.png");
        } catch (const Killed&) { }
        folding->onPlacing = {};
        // Two hours later, the sweep and the scan of the next run.
        TemporaryFiles(*folding).removeStale(folder.path(), QDateTime::currentSecsSinceEpoch() + 2 * 3600);
        StoreRig next(folder.url(), folding);
        ASSERT_EQ(next.store->items().size(), 1);
        EXPECT_EQ(next.store->items().first().filename.toLower(), "a.png");
        EXPECT_EQ(folder.read(next.store->items().first().filename), image);
        EXPECT_EQ(QDir(folder.path(".plenoria/originals")).entryList(QDir::Files | QDir::Hidden).size(), 1);
        EXPECT_EQ(
            folder.read(".plenoria/originals/a.png") + folder.read(".plenoria/originals/A.png"), earlier);
    }
}

TEST_F(Ownership, ACaseOnlyRenameOnAFoldingVolumeFailedOrKilledAtAnyCallSaysWhatHappened)
{
    // As long a name as the volume allows: no spelling the rename goes through may be longer.
    const QString lower = QString(251, 'a') + ".png";
    const QString upper = 'A' + lower.mid(1);
    const LogCapture log;
    const auto onDisk = [&](const QString& relative) {
        return QDir(folder.path(relative)).entryList(QDir::Files, QDir::Name);
    };
    for (const bool undoing : {false, true}) {
        const QString from = undoing ? upper : lower;
        const QString to = undoing ? lower : upper;
        const QString failed
            = (undoing ? "Undo failed: " : "Couldn’t rename " + lower + ": ") + "Input/output error";
        // Failed (or with `killing`, stopped) at the call numbered `call` from the start of the request;
        // gives the number of calls the request made.
        const auto attempt = [&](qint64 call, bool killing) {
            QDir(folder.path()).removeRecursively();
            folder.write(lower, image);
            folder.writeBackup(lower, earlier, image);
            auto folding = std::make_shared<CaseInsensitiveFileSystem>();
            StoreRig r(folder.url(), folding);
            if (undoing) {
                EXPECT_EQ(r.store->rename(r.item(lower), upper).message, QString());
            }
            const QStringList before = folder.snapshot();
            const qint64 first = folding->totalCalls();
            if (killing)
                folding->beforeEachCall = [&] {
                    if (folding->totalCalls() == first + call)
                        throw Killed();
                };
            else if (call >= 0)
                folding->failCall(call, EIO);
            QString message;
            try {
                message = undoing ? r.store->undo().message : r.store->rename(r.item(lower), upper).message;
            } catch (const Killed&) { }
            folding->beforeEachCall = {};
            if (message == failed) {
                EXPECT_EQ(folder.snapshot(), before);
            } else if (!killing) {
                // Done, the image and its backup have the new spelling, or the toast says where the
                // backup stays.
                EXPECT_EQ(onDisk({}), QStringList{to});
                EXPECT_EQ(onDisk(".plenoria/originals"), QStringList{message.isEmpty() ? to : from});
                EXPECT_TRUE(message.isEmpty()
                    || message.endsWith(
                        ", but its backup stays in .plenoria/originals as " + from + ": Input/output error."))
                    << message.toStdString();
            }
            // Either way, and after a kill at the next scan, the backup still counts for the image.
            StoreRig next(folder.url(), std::make_shared<CaseInsensitiveFileSystem>());
            EXPECT_EQ(next.store->items().size(), 1);
            const QString shown = next.store->items().value(0).filename;
            EXPECT_EQ(next.store->putBackOriginal(next.item(shown)).kind, RestorationOutcome::Kind::saved);
            EXPECT_EQ(folder.read(shown), earlier);
            return folding->totalCalls() - first;
        };
        const qint64 count = attempt(-1, false);
        EXPECT_GT(count, 5);
        for (qint64 call = 0; call < count; ++call) {
            SCOPED_TRACE(QString("undoing %1, call %2").arg(undoing).arg(call).toStdString());
            attempt(call, false);
            attempt(call, true);
        }
    }
}
