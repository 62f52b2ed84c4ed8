#include "FolderStore.h"
#include "StoreTestSupport.h"
#include "SyntheticImages.h"
#include "render/Renderer.h"
#include "write/ImageWriter.h"

#include <QCryptographicHash>
#include <QDir>
#include <QRegularExpression>
#include <cerrno>
#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;

namespace {

// A request runs once with `whole` checked before each file-system call, as a kill at that call
// would leave the files, then once for each of those calls failing, with `afterFailure` checked.
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
            folder.write(".plenoria/originals/a.png", earlier);
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
    everyCall([&] { return rig->store->putBackOriginal(item).kind == RestorationOutcome::Kind::saved; },
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
    everyCall([&] { return rig->store->save(session, true).kind == RestorationOutcome::Kind::saved; },
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
