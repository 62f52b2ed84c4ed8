#include "FolderStore.h"
#include "GifBuilder.h"
#include "ImageSource.h"
#include "ImageWriter.h"
#include "Renderer.h"
#include "SyntheticImages.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace plenoria;
using namespace plenoria::test;

namespace {

// Remembers nothing, so that tests never touch the user's settings.
class NoBookmarks : public BookmarkStore {
public:
    std::optional<QByteArray> storedBookmark() const override { return std::nullopt; }
    void storeBookmark(const QByteArray&) override { }
    void removeStoredBookmark() override { }
    BookmarkResolution resolve(const QByteArray&) const override { return {}; }
    BookmarkCreation create(const QUrl&) const override { return {}; }
    bool startAccess(const QUrl&) override { return true; }
    void stopAccess(const QUrl&) override { }
};

// The real file system, except that a chosen call fails with a chosen errno, optionally only for
// paths containing `pathPart` (descriptors are traced back to the path they were opened from).
class FaultyFileSystem : public FileSystem {
public:
    enum class Call { open, write, fsync, renameReplacing, renameNoReplace, makeDirectory };
    struct Fault {
        Call call;
        int error;
        QByteArray pathPart;
    };
    std::optional<Fault> fault;
    // Runs before every renameNoReplace, as another program acting at that moment would.
    std::function<void(const QByteArray& to)> beforePlacing;

    SysResult open(const QByteArray& path, int flags, mode_t mode) override
    {
        if (hits(Call::open, path))
            return {0, fault->error};
        const SysResult opened = FileSystem::open(path, flags, mode);
        if (opened.ok())
            m_paths.insert(int(opened.value), path);
        return opened;
    }
    SysResult write(int fd, const char* buffer, qint64 size) override
    {
        // Half the bytes land first, as on a disk that fills up mid-write.
        if (hits(Call::write, m_paths.value(fd))) {
            (void)FileSystem::write(fd, buffer, size / 2);
            return {0, fault->error};
        }
        return FileSystem::write(fd, buffer, size);
    }
    SysResult fsync(int fd) override
    {
        return hits(Call::fsync, m_paths.value(fd)) ? SysResult{0, fault->error} : FileSystem::fsync(fd);
    }
    SysResult close(int fd) override
    {
        m_paths.remove(fd);
        return FileSystem::close(fd);
    }
    SysResult renameReplacing(const QByteArray& from, const QByteArray& to) override
    {
        return hits(Call::renameReplacing, from) ? SysResult{0, fault->error}
                                                 : FileSystem::renameReplacing(from, to);
    }
    SysResult renameNoReplace(const QByteArray& from, const QByteArray& to) override
    {
        if (beforePlacing)
            beforePlacing(to);
        return hits(Call::renameNoReplace, from) ? SysResult{0, fault->error}
                                                 : FileSystem::renameNoReplace(from, to);
    }
    SysResult makeDirectory(const QByteArray& path) override
    {
        return hits(Call::makeDirectory, path) ? SysResult{0, fault->error} : FileSystem::makeDirectory(path);
    }

private:
    bool hits(Call call, const QByteArray& path) const
    {
        return fault && fault->call == call && path.contains(fault->pathPart);
    }
    QHash<int, QByteArray> m_paths;
};

TreatmentEntry tone(double brightness)
{
    ToneSpec spec;
    spec.brightness = brightness;
    return TreatmentEntry(Treatment(spec));
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString message(const char* prefix, int error)
{
    return QString::fromUtf8(prefix) + QString::fromLocal8Bit(std::strerror(error));
}

class FolderStoreSaving : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_original = *ImageWriter::encode(gradientImage(24, 16, Qt::red, Qt::blue), ImageType::PNG);
        ASSERT_TRUE(writeAll(path("sunny.png"), m_original));
        m_store = std::make_unique<FolderStore>(
            FolderStoreServices{std::make_shared<NoBookmarks>(), nullptr, nullptr, m_files});
        m_store->setWorkingFolder(QUrl::fromLocalFile(m_dir.path()), false);
    }

    QString path(const QString& name) const { return m_dir.filePath(name); }
    QString backupPath(const QString& name) const { return m_dir.filePath(".plenoria/originals/" + name); }

    RestorationSession session(const QString& name, TreatmentRecord record) const
    {
        return {QUuid::createUuid(), QUrl::fromLocalFile(path(name)), readAll(path(name)), std::move(record)};
    }
    ImageItem listed(const QString& name) const
    {
        for (const ImageItem& item : m_store->items()) {
            if (item.filename == name)
                return item;
        }
        ADD_FAILURE() << "not listed: " << name.toStdString();
        return {};
    }
    // Files of the working folder's top level, hidden ones (temporary files) included.
    QStringList topLevel() const
    {
        return QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    QTemporaryDir m_dir;
    QByteArray m_original;
    std::shared_ptr<FaultyFileSystem> m_files = std::make_shared<FaultyFileSystem>();
    std::unique_ptr<FolderStore> m_store;
};

} // namespace

TEST_F(FolderStoreSaving, BackupIsMadeOnceAndPutBackRestoresTheFirstOriginal)
{
    const RestorationOutcome first = m_store->save(session("sunny.png", {tone(0.3)}), true);
    ASSERT_EQ(first.kind, RestorationOutcome::Kind::saved) << first.message.toStdString();
    const QByteArray firstSave = readAll(path("sunny.png"));
    EXPECT_EQ(firstSave, *Renderer::renderForSave(m_original, std::vector{tone(0.3)}));
    EXPECT_EQ(readAll(backupPath("sunny.png")), m_original);
    EXPECT_TRUE(m_store->editedFilenames().contains("sunny.png"));
    EXPECT_EQ(first.item->byteSize, firstSave.size());
    EXPECT_EQ(listed("sunny.png"), *first.item);

    ASSERT_EQ(m_store->save(session("sunny.png", {tone(-0.4)}), true).kind, RestorationOutcome::Kind::saved);
    const QByteArray secondSave = readAll(path("sunny.png"));
    EXPECT_NE(secondSave, firstSave);
    EXPECT_EQ(readAll(backupPath("sunny.png")), m_original);

    const RestorationOutcome putBack = m_store->putBackOriginal(listed("sunny.png"));
    ASSERT_EQ(putBack.kind, RestorationOutcome::Kind::saved) << putBack.message.toStdString();
    EXPECT_EQ(readAll(path("sunny.png")), m_original);
    EXPECT_FALSE(QFile::exists(backupPath("sunny.png")));
    EXPECT_FALSE(m_store->editedFilenames().contains("sunny.png"));
    EXPECT_EQ(putBack.item->byteSize, m_original.size());
    // The content put back replaced is set aside, not lost.
    EXPECT_EQ(readAll(m_dir.filePath(".plenoria/displaced/sunny.png")), secondSave);

    EXPECT_EQ(m_store->putBackOriginal(listed("sunny.png")),
        RestorationOutcome::failed("No backup found for sunny.png."));
    // The next save backs up the restored content afresh, and a second put-back keeps both set-aside files.
    ASSERT_EQ(m_store->save(session("sunny.png", {tone(0.5)}), true).kind, RestorationOutcome::Kind::saved);
    EXPECT_EQ(readAll(backupPath("sunny.png")), m_original);
    const QByteArray thirdSave = readAll(path("sunny.png"));
    ASSERT_EQ(m_store->putBackOriginal(listed("sunny.png")).kind, RestorationOutcome::Kind::saved);
    EXPECT_EQ(readAll(m_dir.filePath(".plenoria/displaced/sunny.png")), secondSave);
    EXPECT_EQ(readAll(m_dir.filePath(".plenoria/displaced/sunny-2.png")), thirdSave);
}

TEST_F(FolderStoreSaving, SaveRefusesWhatItCannotDoAndBackupOffLeavesNoTrace)
{
    EXPECT_EQ(m_store->save(session("sunny.png", {}), true), RestorationOutcome::failed("Nothing to save."));
    RestorationSession unreadable = session("sunny.png", {tone(0.3)});
    unreadable.originalData = "not an image";
    EXPECT_EQ(m_store->save(unreadable, true), RestorationOutcome::failed("Nothing to save."));
    EXPECT_FALSE(QFile::exists(m_dir.filePath(".plenoria")));
    EXPECT_EQ(readAll(path("sunny.png")), m_original);

    ASSERT_EQ(m_store->save(session("sunny.png", {tone(0.3)}), false).kind, RestorationOutcome::Kind::saved);
    EXPECT_NE(readAll(path("sunny.png")), m_original);
    EXPECT_FALSE(QFile::exists(m_dir.filePath(".plenoria")));
    EXPECT_TRUE(m_store->editedFilenames().isEmpty());
    EXPECT_EQ(m_store->putBackOriginal(listed("sunny.png")),
        RestorationOutcome::failed("No backup found for sunny.png."));

    FolderStore noFolder(FolderStoreServices{std::make_shared<NoBookmarks>(), nullptr, nullptr, m_files});
    EXPECT_EQ(noFolder.save(session("sunny.png", {tone(0.3)}), true),
        RestorationOutcome::failed("No working folder."));
    EXPECT_EQ(
        noFolder.putBackOriginal(listed("sunny.png")), RestorationOutcome::failed("No working folder."));
}

TEST_F(FolderStoreSaving, SaveKeepsPermissionsAndReportsAFileItCannotReRead)
{
    ASSERT_EQ(::chmod(QFile::encodeName(path("sunny.png")).constData(), 0640), 0);
    ASSERT_EQ(m_store->save(session("sunny.png", {tone(0.3)}), true).kind, RestorationOutcome::Kind::saved);
    struct stat info { };
    ASSERT_EQ(::stat(QFile::encodeName(path("sunny.png")).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);

    // Image bytes under a name the folder does not list as an image: written, then not re-read.
    ASSERT_TRUE(writeAll(path("notes.txt"), m_original));
    EXPECT_EQ(m_store->save(session("notes.txt", {tone(0.3)}), false),
        RestorationOutcome::failed("Saved notes.txt, but it couldn’t be re-read."));
    EXPECT_NE(readAll(path("notes.txt")), m_original);
}

TEST_F(FolderStoreSaving, FailedWritesLeaveTheOriginalAsItWas)
{
    using Call = FaultyFileSystem::Call;
    struct Case {
        FaultyFileSystem::Fault fault;
        bool backup;
        const char* prefix;
    };
    const std::vector<Case> cases = {
        {{Call::open, EACCES, "/.plenoria-"}, false, "Couldn’t save sunny.png: "},
        {{Call::write, ENOSPC, "/.plenoria-"}, false, "Couldn’t save sunny.png: "},
        {{Call::fsync, EIO, "/.plenoria-"}, false, "Couldn’t save sunny.png: "},
        {{Call::renameReplacing, EIO, ""}, false, "Couldn’t save sunny.png: "},
        {{Call::renameReplacing, EIO, ""}, true, "Couldn’t save sunny.png: "},
        {{Call::write, ENOSPC, "originals"}, true, "Couldn’t back up sunny.png: "},
        {{Call::fsync, EIO, "originals"}, true, "Couldn’t back up sunny.png: "},
        {{Call::renameNoReplace, EIO, "originals"}, true, "Couldn’t back up sunny.png: "},
        {{Call::makeDirectory, EACCES, "originals"}, true, "Couldn’t create the backup folder: "},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        m_files->fault = cases[i].fault;
        EXPECT_EQ(m_store->save(session("sunny.png", {tone(0.3)}), cases[i].backup),
            RestorationOutcome::failed(message(cases[i].prefix, cases[i].fault.error)));
        m_files->fault.reset();
        EXPECT_EQ(readAll(path("sunny.png")), m_original);
        EXPECT_EQ(topLevel(), QStringList{"sunny.png"});
        // A backup made before a failed write stays, and is the original.
        EXPECT_FALSE(
            QFile::exists(backupPath("sunny.png")) && readAll(backupPath("sunny.png")) != m_original);
        EXPECT_FALSE(m_store->editedFilenames().contains("sunny.png"));
        ASSERT_TRUE(QDir(m_dir.filePath(".plenoria")).removeRecursively());
    }
}

TEST_F(FolderStoreSaving, FailedPutBackLeavesTheCurrentFileInPlace)
{
    ASSERT_EQ(m_store->save(session("sunny.png", {tone(0.3)}), true).kind, RestorationOutcome::Kind::saved);
    const QByteArray saved = readAll(path("sunny.png"));

    m_files->fault = {FaultyFileSystem::Call::renameNoReplace, EIO, "originals/sunny.png"};
    EXPECT_EQ(m_store->putBackOriginal(listed("sunny.png")),
        RestorationOutcome::failed(message("Couldn’t put back sunny.png: ", EIO)));
    EXPECT_EQ(readAll(path("sunny.png")), saved);
    EXPECT_EQ(readAll(backupPath("sunny.png")), m_original);
    EXPECT_TRUE(m_store->editedFilenames().contains("sunny.png"));

    m_files->fault = {FaultyFileSystem::Call::renameNoReplace, EACCES, QFile::encodeName(path("sunny.png"))};
    EXPECT_EQ(m_store->putBackOriginal(listed("sunny.png")),
        RestorationOutcome::failed(message("Couldn’t put back sunny.png: ", EACCES)));
    EXPECT_EQ(readAll(path("sunny.png")), saved);

    // A file deleted meanwhile is simply restored.
    m_files->fault.reset();
    ASSERT_TRUE(QFile::remove(path("sunny.png")));
    ASSERT_EQ(m_store->putBackOriginal(listed("sunny.png")).kind, RestorationOutcome::Kind::saved);
    EXPECT_EQ(readAll(path("sunny.png")), m_original);
}

TEST_F(FolderStoreSaving, ExportTakesTheFirstFreeNameAndNeverReplaces)
{
    ASSERT_TRUE(writeAll(path("party.gif"), "occupied"));
    ASSERT_TRUE(writeAll(path("party-2.gif"), "occupied too"));
    const RestorationSession source = session("sunny.png", {tone(0.3)});

    const RestorationOutcome third
        = m_store->exportImage(source, "party", ExportFormat::gif, 80, GIFPalette::system());
    EXPECT_EQ(third, RestorationOutcome::exported("party-3.gif"));
    EXPECT_EQ(detectImageType(readAll(path("party-3.gif"))), ImageType::GIF);
    EXPECT_EQ(readAll(path("party.gif")), "occupied");
    EXPECT_EQ(readAll(path("party-2.gif")), "occupied too");
    listed("party-3.gif");
    EXPECT_EQ(readAll(path("sunny.png")), m_original);

    EXPECT_EQ(m_store->exportImage(source, " sunny \n", ExportFormat::webp, 80, GIFPalette::system()),
        RestorationOutcome::exported("sunny.webp"));
    EXPECT_EQ(m_store->exportImage(source, "sunny", ExportFormat::png, 80, GIFPalette::system()),
        RestorationOutcome::exported("sunny-2.png"));
    EXPECT_EQ(readAll(path("sunny.png")), m_original);

    // Another program takes the free name between the check and the write: the next number is used.
    bool taken = false;
    m_files->beforePlacing = [&](const QByteArray& to) {
        if (!taken && to.endsWith("/race.png")) {
            taken = true;
            writeAll(QFile::decodeName(to), "theirs");
        }
    };
    EXPECT_EQ(m_store->exportImage(source, "race", ExportFormat::png, 80, GIFPalette::system()),
        RestorationOutcome::exported("race-2.png"));
    EXPECT_EQ(readAll(path("race.png")), "theirs");
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

    m_files->fault = {FaultyFileSystem::Call::write, ENOSPC, ""};
    EXPECT_EQ(m_store->exportImage(source, "out", ExportFormat::png, 80, GIFPalette::system()),
        RestorationOutcome::failed(message("Couldn’t export: ", ENOSPC)));
    m_files->fault = {FaultyFileSystem::Call::renameNoReplace, EIO, ""};
    EXPECT_EQ(m_store->exportImage(source, "out", ExportFormat::gif, 80, GIFPalette::system()),
        RestorationOutcome::failed(message("Couldn’t export: ", EIO)));
    EXPECT_EQ(topLevel(), before);
}

TEST_F(FolderStoreSaving, AnimatedGifSavedThroughTheStoreKeepsItsFrames)
{
    const QByteArray gif = makeAnimatedGif(4, QSize(12, 12), 5, 0);
    ASSERT_TRUE(writeAll(path("wave.gif"), gif));
    m_store->reload();
    ASSERT_EQ(m_store->save(session("wave.gif", {tone(0.2)}), true).kind, RestorationOutcome::Kind::saved);
    const std::optional<ImageSource> saved = ImageSource::fromData(readAll(path("wave.gif")));
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->type(), ImageType::GIF);
    EXPECT_EQ(saved->frameCount(), 4);
    EXPECT_EQ(readAll(backupPath("wave.gif")), gif);
}
