#include "GifBuilder.h"
#include "StoreTestSupport.h"
#include "SyntheticImages.h"
#include "imaging/read/ImageSource.h"
#include "imaging/render/Renderer.h"
#include "imaging/write/ImageWriter.h"

#include <QDir>
#include <QRegularExpression>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace plenoria;
using namespace plenoria::test;

namespace {

using Call = FaultyFileSystem::Call;

// Writes down in order what makes a save durable: syncs and placements, with paths relative to
// `root` and temporary names as "<tmp>".
struct RecordingFileSystem : FileSystem {
    QString root;
    QStringList steps;
    QHash<int, QString> opened;

    QString relative(const QByteArray& path) const
    {
        return QDir(root)
            .relativeFilePath(QFile::decodeName(path))
            .replace(QRegularExpression("\\.plenoria-[0-9a-f]+\\.tmp$"), "<tmp>");
    }
    SysResult open(const QByteArray& path, int flags, mode_t mode) override
    {
        const SysResult result = FileSystem::open(path, flags, mode);
        opened[int(result.value)] = relative(path);
        return result;
    }
    SysResult fsync(int fd) override
    {
        steps.append("sync " + opened.value(fd));
        return FileSystem::fsync(fd);
    }
    SysResult renameNoReplace(const QByteArray& from, const QByteArray& to) override
    {
        steps.append("place " + relative(to));
        return FileSystem::renameNoReplace(from, to);
    }
    SysResult renameReplacing(const QByteArray& from, const QByteArray& to) override
    {
        steps.append("replace " + relative(to));
        return FileSystem::renameReplacing(from, to);
    }
    SysResult link(const QByteArray& from, const QByteArray& to) override
    {
        steps.append("keep " + relative(to));
        return FileSystem::link(from, to);
    }
};

TreatmentEntry tone(double brightness)
{
    ToneSpec spec;
    spec.brightness = brightness;
    return TreatmentEntry(Treatment(spec));
}

QString message(const char* prefix, int error)
{
    return QString::fromUtf8(prefix) + QString::fromLocal8Bit(std::strerror(error));
}

class FolderStoreSaving : public testing::Test {
protected:
    void SetUp() override
    {
        m_original = *ImageWriter::encode(gradientImage(24, 16, Qt::red, Qt::blue), ImageType::PNG);
        m_folder.write("sunny.png", m_original);
        m_rig = std::make_unique<StoreRig>(m_folder.url(), m_files);
        m_store = m_rig->store.get();
    }

    QString path(const QString& name) const { return m_folder.path(name); }
    QByteArray read(const QString& name) const { return m_folder.read(name); }
    QByteArray backup(const QString& name) const { return m_folder.read(".plenoria/originals/" + name); }
    ImageItem listed(const QString& name) const { return m_rig->item(name); }

    RestorationSession session(const QString& name, TreatmentRecord record) const
    {
        return {QUuid::createUuid(), m_folder.url(name), read(name), std::move(record)};
    }
    // Files of the working folder's top level, hidden ones (temporary files) included.
    void clearFaults() { static_cast<FaultyFileSystem&>(*m_files) = FaultyFileSystem(); }
    QStringList topLevel() const
    {
        return QDir(m_folder.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    Folder m_folder;
    QByteArray m_original;
    std::shared_ptr<RacingFileSystem> m_files = std::make_shared<RacingFileSystem>();
    std::unique_ptr<StoreRig> m_rig;
    FolderStore* m_store = nullptr;
};

} // namespace

TEST_F(FolderStoreSaving, BackupIsMadeOnceAndPutBackRestoresTheFirstOriginal)
{
    const RestorationOutcome first = m_store->save(session("sunny.png", {tone(0.3)}), true);
    ASSERT_EQ(first.kind, RestorationOutcome::Kind::saved) << first.message.toStdString();
    const QByteArray firstSave = read("sunny.png");
    EXPECT_EQ(firstSave, *Renderer::renderForSave(m_original, std::vector{tone(0.3)}));
    EXPECT_EQ(backup("sunny.png"), m_original);
    EXPECT_TRUE(m_store->editedFilenames().contains("sunny.png"));
    EXPECT_EQ(first.item->byteSize, firstSave.size());
    EXPECT_EQ(listed("sunny.png"), *first.item);

    ASSERT_EQ(m_store->save(session("sunny.png", {tone(-0.4)}), true).kind, RestorationOutcome::Kind::saved);
    const QByteArray secondSave = read("sunny.png");
    EXPECT_NE(secondSave, firstSave);
    EXPECT_EQ(backup("sunny.png"), m_original);

    const RestorationOutcome putBack = m_store->putBackOriginal(listed("sunny.png"));
    ASSERT_EQ(putBack.kind, RestorationOutcome::Kind::saved) << putBack.message.toStdString();
    EXPECT_EQ(read("sunny.png"), m_original);
    EXPECT_FALSE(m_folder.exists(".plenoria/originals/sunny.png"));
    EXPECT_FALSE(m_store->editedFilenames().contains("sunny.png"));
    EXPECT_EQ(putBack.item->byteSize, m_original.size());
    // The content put back replaced is set aside, not lost.
    EXPECT_EQ(read(".plenoria/displaced/sunny.png"), secondSave);

    EXPECT_EQ(m_store->putBackOriginal(listed("sunny.png")),
        RestorationOutcome::failed("No backup found for sunny.png."));
    // The next save backs up the restored content afresh, and a second put-back keeps both set-aside files.
    ASSERT_EQ(m_store->save(session("sunny.png", {tone(0.5)}), true).kind, RestorationOutcome::Kind::saved);
    EXPECT_EQ(backup("sunny.png"), m_original);
    const QByteArray thirdSave = read("sunny.png");
    ASSERT_EQ(m_store->putBackOriginal(listed("sunny.png")).kind, RestorationOutcome::Kind::saved);
    EXPECT_EQ(read(".plenoria/displaced/sunny.png"), secondSave);
    EXPECT_EQ(read(".plenoria/displaced/sunny-2.png"), thirdSave);
}

TEST_F(FolderStoreSaving, SaveWritesNothingOverAFileChangedSinceTheBenchOpenedIt)
{
    const RestorationSession opened = session("sunny.png", {tone(0.3)});
    const RestorationOutcome changed
        = RestorationOutcome::failed("Couldn’t save sunny.png: it changed on disk after it was opened.");
    QByteArray theirs = m_original;
    theirs[20] = char(theirs[20] ^ 0x01);
    m_folder.write("sunny.png", theirs);
    EXPECT_EQ(m_store->save(opened, true), changed);
    EXPECT_EQ(read("sunny.png"), theirs);
    EXPECT_FALSE(m_folder.exists(".plenoria")) << "not even a backup of their edit";
    m_folder.write("sunny.png", m_original + "x");
    EXPECT_EQ(m_store->save(opened, false), changed);
    // The whole content counts, not a prefix or the size: cut short, or changed in its last byte.
    for (const QByteArray& edit :
        {m_original.chopped(1), QByteArray(), m_original.chopped(1) + char(m_original.back() ^ 0x01)}) {
        m_folder.write("sunny.png", edit);
        EXPECT_EQ(m_store->save(opened, false), changed) << edit.size();
        EXPECT_EQ(read("sunny.png"), edit);
    }
    // Also past the first chunk the store reads.
    const QByteArray large = *ImageWriter::encode(gradientImage(256, 128, Qt::red, Qt::blue), ImageType::BMP);
    ASSERT_GT(large.size(), 64 * 1024);
    m_folder.write("large.bmp", large);
    const RestorationSession largeOpened = session("large.bmp", {tone(0.3)});
    m_folder.write("large.bmp", large.chopped(1) + char(large.back() ^ 0x01));
    EXPECT_EQ(m_store->save(largeOpened, false).message,
        "Couldn’t save large.bmp: it changed on disk after it was opened.");
    ASSERT_TRUE(QFile::remove(path("large.bmp")));

    // A file that cannot be read is said to be so, not to have changed; one that is gone, to be gone.
    m_folder.write("sunny.png", m_original);
    m_files->fail(Call::read, EIO);
    EXPECT_EQ(
        m_store->save(opened, false), RestorationOutcome::failed(message("Couldn’t save sunny.png: ", EIO)));
    ASSERT_TRUE(QFile::remove(path("sunny.png")));
    EXPECT_EQ(m_store->save(opened, true),
        RestorationOutcome::failed("Couldn’t save sunny.png: it is no longer in the folder."));
    EXPECT_EQ(topLevel(), QStringList());
    EXPECT_FALSE(m_folder.exists(".plenoria"));
}

TEST_F(FolderStoreSaving, SaveAndPutBackMakeTheCopyTheyKeepDurableBeforeReplacingTheFile)
{
    auto recording = std::make_shared<RecordingFileSystem>();
    recording->root = m_folder.path();
    const StoreRig rig(m_folder.url(), recording);
    ASSERT_EQ(rig.store->save(session("sunny.png", {tone(0.3)}), true).kind, RestorationOutcome::Kind::saved);
    EXPECT_EQ(recording->steps,
        QStringList({"sync .", "sync .plenoria", "sync .plenoria/originals/<tmp>",
            "place .plenoria/originals/sunny.png", "sync .plenoria/originals", "sync .plenoria",
            "sync .plenoria/records/<tmp>", "replace .plenoria/records/sunny.png", "sync .plenoria/records",
            "sync <tmp>", "replace sunny.png", "sync ."}));
    recording->steps.clear();
    ASSERT_EQ(rig.store->putBackOriginal(rig.item("sunny.png")).kind, RestorationOutcome::Kind::saved);
    EXPECT_EQ(recording->steps,
        QStringList({"sync .plenoria", "keep .plenoria/displaced/sunny.png", "sync .plenoria/displaced",
            "replace sunny.png", "sync .", "sync .plenoria/originals"}));
}

TEST_F(FolderStoreSaving, SaveRefusesWhatItCannotDoAndBackupOffLeavesNoTrace)
{
    EXPECT_EQ(m_store->save(session("sunny.png", {}), true), RestorationOutcome::failed("Nothing to save."));
    RestorationSession unreadable = session("sunny.png", {tone(0.3)});
    unreadable.originalData = "not an image";
    EXPECT_EQ(m_store->save(unreadable, true), RestorationOutcome::failed("Nothing to save."));
    // A relative file name would be written wherever the process happens to run.
    RestorationSession relative = session("sunny.png", {tone(0.3)});
    relative.fileURL = QUrl::fromLocalFile("sunny.png");
    EXPECT_EQ(m_store->save(relative, true),
        RestorationOutcome::failed(message("Couldn’t save sunny.png: ", ENOENT)));
    EXPECT_FALSE(m_folder.exists(".plenoria"));
    EXPECT_EQ(read("sunny.png"), m_original);

    ASSERT_EQ(m_store->save(session("sunny.png", {tone(0.3)}), false).kind, RestorationOutcome::Kind::saved);
    EXPECT_NE(read("sunny.png"), m_original);
    EXPECT_FALSE(m_folder.exists(".plenoria"));
    EXPECT_TRUE(m_store->editedFilenames().isEmpty());
    EXPECT_EQ(m_store->putBackOriginal(listed("sunny.png")),
        RestorationOutcome::failed("No backup found for sunny.png."));

    const StoreRig noFolder(std::nullopt, m_files);
    EXPECT_EQ(noFolder.store->save(session("sunny.png", {tone(0.3)}), true),
        RestorationOutcome::failed("No working folder."));
    EXPECT_EQ(noFolder.store->putBackOriginal(listed("sunny.png")),
        RestorationOutcome::failed("No working folder."));
}

TEST_F(FolderStoreSaving, SaveKeepsPermissionsAndReportsAFileItCannotReRead)
{
    ASSERT_EQ(::chmod(QFile::encodeName(path("sunny.png")).constData(), 0640), 0);
    ASSERT_EQ(m_store->save(session("sunny.png", {tone(0.3)}), true).kind, RestorationOutcome::Kind::saved);
    struct stat info { };
    ASSERT_EQ(::stat(QFile::encodeName(path("sunny.png")).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);

    // Image bytes under a name the folder does not list as an image: written, then not re-read.
    m_folder.write("notes.txt", m_original);
    EXPECT_EQ(m_store->save(session("notes.txt", {tone(0.3)}), false),
        RestorationOutcome::failed("Saved notes.txt, but it couldn’t be re-read."));
    EXPECT_NE(read("notes.txt"), m_original);
}

TEST_F(FolderStoreSaving, FailedWritesLeaveTheOriginalAsItWas)
{
    struct Case {
        Call call;
        int error;
        QString pathPart;
        bool backup;
        const char* prefix;
    };
    const std::vector<Case> cases = {
        {Call::open, EACCES, "/.plenoria-", false, "Couldn’t save sunny.png: "},
        {Call::write, ENOSPC, {}, false, "Couldn’t save sunny.png: "},
        {Call::fsync, EIO, {}, false, "Couldn’t save sunny.png: "},
        {Call::renameReplacing, EIO, {}, false, "Couldn’t save sunny.png: "},
        {Call::renameReplacing, EIO, "\n" + path("sunny.png"), true, "Couldn’t save sunny.png: "},
        {Call::renameReplacing, EIO, "records", true, "Couldn’t back up sunny.png: "},
        {Call::write, ENOSPC, {}, true, "Couldn’t back up sunny.png: "},
        {Call::fsync, EIO, {}, true, "Couldn’t back up sunny.png: "},
        {Call::renameNoReplace, EIO, "originals", true, "Couldn’t back up sunny.png: "},
        {Call::makeDirectory, EACCES, "originals", true, "Couldn’t create the backup folder: "},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        m_files->fail(cases[i].call, cases[i].error, 0, true, cases[i].pathPart);
        EXPECT_EQ(m_store->save(session("sunny.png", {tone(0.3)}), cases[i].backup),
            RestorationOutcome::failed(message(cases[i].prefix, cases[i].error)));
        clearFaults();
        EXPECT_EQ(read("sunny.png"), m_original);
        EXPECT_EQ(topLevel(), QStringList{"sunny.png"});
        // A backup made before a failed write stays, and is the original.
        EXPECT_FALSE(m_folder.exists(".plenoria/originals/sunny.png") && backup("sunny.png") != m_original);
        EXPECT_FALSE(m_store->editedFilenames().contains("sunny.png"));
        ASSERT_TRUE(QDir(path(".plenoria")).removeRecursively());
    }
}

TEST_F(FolderStoreSaving, FailedPutBackLeavesTheCurrentFileInPlace)
{
    ASSERT_EQ(m_store->save(session("sunny.png", {tone(0.3)}), true).kind, RestorationOutcome::Kind::saved);
    const QByteArray saved = read("sunny.png");

    m_files->fail(Call::renameReplacing, EIO, 0, true, "originals/sunny.png");
    EXPECT_EQ(m_store->putBackOriginal(listed("sunny.png")),
        RestorationOutcome::failed(message("Couldn’t put back sunny.png: ", EIO)));
    EXPECT_EQ(read("sunny.png"), saved);
    EXPECT_EQ(backup("sunny.png"), m_original);
    EXPECT_FALSE(m_folder.exists(".plenoria/displaced/sunny.png"));
    EXPECT_TRUE(m_store->editedFilenames().contains("sunny.png"));

    // Where the volume cannot link, the image is copied aside instead.
    clearFaults();
    m_files->fail(Call::link, EPERM, 0, true);
    ASSERT_EQ(m_store->putBackOriginal(listed("sunny.png")).kind, RestorationOutcome::Kind::saved);
    EXPECT_EQ(read(".plenoria/displaced/sunny.png"), saved);
    ASSERT_EQ(m_store->save(session("sunny.png", {tone(0.3)}), true).kind, RestorationOutcome::Kind::saved);

    // A file deleted meanwhile is simply restored.
    clearFaults();
    ASSERT_TRUE(QFile::remove(path("sunny.png")));
    ASSERT_EQ(m_store->putBackOriginal(listed("sunny.png")).kind, RestorationOutcome::Kind::saved);
    EXPECT_EQ(read("sunny.png"), m_original);
}

TEST_F(FolderStoreSaving, OnlyAFileIsABackupToKeepOrToPutBack)
{
    m_folder.write(".plenoria/originals/sunny.png/inside.png", "theirs");
    m_folder.write("linked.png", m_original);
    ASSERT_TRUE(QFile::link(path("linked.png"), path(".plenoria/originals/linked.png")));
    m_folder.write("pipe.png", m_original);
    ASSERT_EQ(::mkfifo(QFile::encodeName(path(".plenoria/originals/pipe.png")).constData(), 0600), 0);
    m_store->reload();
    const QStringList before = m_folder.snapshot();
    for (const QString name : {"sunny.png", "linked.png", "pipe.png"}) {
        EXPECT_EQ(m_store->save(session(name, {tone(0.3)}), true),
            RestorationOutcome::failed(
                "Couldn’t back up " + name + ": something that isn’t a file is in the way."));
        EXPECT_EQ(m_store->putBackOriginal(listed(name)),
            RestorationOutcome::failed("Couldn’t put back " + name + ": its backup isn’t a file."));
    }
    EXPECT_EQ(m_folder.snapshot(), before);
    EXPECT_EQ(m_store->contentRevision(), 0);
}

TEST_F(FolderStoreSaving, ExportTakesTheFirstFreeNameAndNeverReplaces)
{
    m_folder.write("party.gif", "occupied");
    m_folder.write("party-2.gif", "occupied too");
    const RestorationSession source = session("sunny.png", {tone(0.3)});

    const RestorationOutcome third
        = m_store->exportImage(source, "party", ExportFormat::gif, 80, GIFPalette::system());
    EXPECT_EQ(third, RestorationOutcome::exported("party-3.gif"));
    EXPECT_EQ(detectImageType(read("party-3.gif")), ImageType::GIF);
    EXPECT_EQ(read("party.gif"), "occupied");
    EXPECT_EQ(read("party-2.gif"), "occupied too");
    listed("party-3.gif");
    EXPECT_EQ(read("sunny.png"), m_original);

    EXPECT_EQ(m_store->exportImage(source, " sunny \n", ExportFormat::webp, 80, GIFPalette::system()),
        RestorationOutcome::exported("sunny.webp"));
    EXPECT_EQ(m_store->exportImage(source, "sunny", ExportFormat::png, 80, GIFPalette::system()),
        RestorationOutcome::exported("sunny-2.png"));
    EXPECT_EQ(read("sunny.png"), m_original);

    // Another program takes the free name between the check and the write: the next number is used.
    bool taken = false;
    m_files->beforePlacing = [&](const QByteArray& to) {
        if (!taken && to.endsWith("/race.png")) {
            taken = true;
            m_folder.write("race.png", "theirs");
        }
    };
    EXPECT_EQ(m_store->exportImage(source, "race", ExportFormat::png, 80, GIFPalette::system()),
        RestorationOutcome::exported("race-2.png"));
    EXPECT_EQ(read("race.png"), "theirs");
}

TEST_F(FolderStoreSaving, ExportRefusesBadNamesAndReportsFailures)
{
    const RestorationSession source = session("sunny.png", {tone(0.3)});
    const QStringList before = topLevel();
    EXPECT_EQ(m_store->exportImage(source, " \t\n", ExportFormat::png, 80, GIFPalette::system()),
        RestorationOutcome::failed("A file needs a name."));
    EXPECT_EQ(m_store->exportImage(source, "a:b", ExportFormat::png, 80, GIFPalette::system()),
        RestorationOutcome::failed("A name can’t contain “/” or “:”."));
    EXPECT_EQ(m_store->exportImage(source, "../b", ExportFormat::png, 80, GIFPalette::system()),
        RestorationOutcome::failed("A name can’t contain “/” or “:”."));
    EXPECT_EQ(m_store->exportImage(
                  source, QString("a") + QChar(0) + "b", ExportFormat::png, 80, GIFPalette::system()),
        RestorationOutcome::failed("That name isn’t allowed here."));

    RestorationSession unreadable = source;
    unreadable.originalData = "not an image";
    EXPECT_EQ(m_store->exportImage(unreadable, "out", ExportFormat::webp, 80, GIFPalette::system()),
        RestorationOutcome::failed("Couldn’t render sunny.png to WebP."));

    m_files->fail(Call::write, ENOSPC, 0, true);
    EXPECT_EQ(m_store->exportImage(source, "out", ExportFormat::png, 80, GIFPalette::system()),
        RestorationOutcome::failed(message("Couldn’t export: ", ENOSPC)));
    clearFaults();
    m_files->fail(Call::renameNoReplace, EIO, 0, true);
    EXPECT_EQ(m_store->exportImage(source, "out", ExportFormat::gif, 80, GIFPalette::system()),
        RestorationOutcome::failed(message("Couldn’t export: ", EIO)));
    EXPECT_EQ(topLevel(), before);
}

TEST_F(FolderStoreSaving, AnimatedGifSavedThroughTheStoreKeepsItsFrames)
{
    const QByteArray gif = makeAnimatedGif(4, QSize(12, 12), 5, 0);
    m_folder.write("wave.gif", gif);
    m_store->reload();
    ASSERT_EQ(m_store->save(session("wave.gif", {tone(0.2)}), true).kind, RestorationOutcome::Kind::saved);
    const std::optional<ImageSource> saved = ImageSource::fromData(read("wave.gif"));
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->type(), ImageType::GIF);
    EXPECT_EQ(saved->frameCount(), 4);
    EXPECT_EQ(backup("wave.gif"), gif);
}

TEST_F(FolderStoreSaving, ABackupServesOnlyTheFileItWasTakenFrom)
{
    ASSERT_EQ(m_store->save(session("sunny.png", {tone(0.3)}), true).kind, RestorationOutcome::Kind::saved);
    // Saved again without backup, the image is still the one its backup was taken from.
    ASSERT_EQ(m_store->save(session("sunny.png", {tone(0.5)}), false).kind, RestorationOutcome::Kind::saved);
    ASSERT_EQ(m_store->save(session("sunny.png", {tone(-0.2)}), true).kind, RestorationOutcome::Kind::saved);
    EXPECT_FALSE(m_folder.exists(".plenoria/displaced"));
    const QByteArray saved = read("sunny.png");

    // A file manager renames it and another image takes the name.
    ASSERT_TRUE(QFile::rename(path("sunny.png"), path("kept.png")));
    const QByteArray newcomer
        = *ImageWriter::encode(gradientImage(9, 31, Qt::cyan, Qt::black), ImageType::PNG);
    m_folder.write("sunny.png", newcomer);
    m_store->reload();
    EXPECT_FALSE(m_store->editedFilenames().contains("sunny.png")) << "told by size alone";
    EXPECT_EQ(m_store->putBackOriginal(listed("sunny.png")),
        RestorationOutcome::failed("Couldn’t put back sunny.png: its backup can’t be matched to the file now "
                                   "under that name; it is kept in .plenoria/originals."));
    EXPECT_EQ(read("sunny.png"), newcomer);
    EXPECT_EQ(backup("sunny.png"), m_original);

    ASSERT_EQ(m_store->save(session("sunny.png", {tone(0.3)}), true).kind, RestorationOutcome::Kind::saved);
    EXPECT_EQ(backup("sunny.png"), newcomer);
    EXPECT_EQ(read(".plenoria/displaced/sunny.png"), m_original);
    EXPECT_TRUE(m_store->editedFilenames().contains("sunny.png"));
    ASSERT_EQ(m_store->putBackOriginal(listed("sunny.png")).kind, RestorationOutcome::Kind::saved);
    EXPECT_EQ(read("sunny.png"), newcomer);
    EXPECT_EQ(read("kept.png"), saved);
}

TEST_F(FolderStoreSaving, AFileThatCannotBeLookedAtIsReportedAsSuch)
{
    const QString eio = message(": ", EIO);
    m_files->fail(Call::lstat, EIO, 0, false, ".plenoria/originals/sunny.png");
    EXPECT_EQ(m_store->save(session("sunny.png", {tone(0.3)}), true),
        RestorationOutcome::failed("Couldn’t save sunny.png" + eio));
    m_files->fail(Call::lstat, EIO, 0, false, ".plenoria/originals/sunny.png");
    EXPECT_EQ(m_store->putBackOriginal(listed("sunny.png")),
        RestorationOutcome::failed("Couldn’t put back sunny.png" + eio));
    EXPECT_EQ(read("sunny.png"), m_original);

    // Unseen before the write: nothing written, and the error said as it is.
    m_files->fail(Call::lstat, EIO, 0, false, path("sunny.png"));
    EXPECT_EQ(m_store->save(session("sunny.png", {tone(0.3)}), false),
        RestorationOutcome::failed("Couldn’t save sunny.png" + eio));
    EXPECT_EQ(read("sunny.png"), m_original);

    // Written, but its size can't be asked for: never reported saved with a size made up.
    m_files->fail(Call::lstat, EIO, 1, true, path("sunny.png"));
    EXPECT_EQ(m_store->save(session("sunny.png", {tone(0.3)}), false),
        RestorationOutcome::failed("Saved sunny.png, but it couldn’t be re-read."));
    clearFaults();
    m_folder.writeBackup("sunny.png", m_original, read("sunny.png"));
    m_files->fail(Call::lstat, EIO, 1, true, path("sunny.png"));
    EXPECT_EQ(m_store->putBackOriginal(listed("sunny.png")),
        RestorationOutcome::failed("Put back sunny.png, but it couldn’t be re-read."));
    EXPECT_EQ(read("sunny.png"), m_original);
}
