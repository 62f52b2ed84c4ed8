#include "FakeFileManager.h"
#include "collection/controller/FileManagerRevealService.h"

#include <QDBusConnection>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;

namespace {

// A private session bus of its own, so that no desktop is needed and none is disturbed.
class PrivateBus {
public:
    PrivateBus()
    {
        const QString config = m_dir.filePath(QStringLiteral("bus.conf"));
        QFile file(config);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(
            QStringLiteral("<busconfig><type>session</type><listen>unix:dir=%1</listen>"
                           "<auth>EXTERNAL</auth><policy context=\"default\">"
                           "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
                           "<allow own=\"*\"/></policy></busconfig>")
                .arg(m_dir.path())
                .toUtf8());
        file.close();
        m_daemon.start(QStringLiteral("dbus-daemon"),
            {QStringLiteral("--config-file=") + config, QStringLiteral("--nofork"),
                QStringLiteral("--print-address=1")});
        EXPECT_TRUE(m_daemon.waitForStarted()) << "dbus-daemon is needed (scripts/install-deps.sh)";
        while (m_address.isEmpty() && m_daemon.waitForReadyRead(10000))
            m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
        EXPECT_FALSE(m_address.isEmpty());
    }
    ~PrivateBus()
    {
        for (const QString& name : std::as_const(m_names))
            QDBusConnection::disconnectFromBus(name);
        m_daemon.terminate();
        m_daemon.waitForFinished();
    }

    QDBusConnection connect(const QString& name)
    {
        m_names.append(name);
        return QDBusConnection::connectToBus(m_address, name);
    }

private:
    QTemporaryDir m_dir;
    QProcess m_daemon;
    QString m_address;
    QStringList m_names;
};

struct OpenedFolders {
    QList<QUrl> folders;
    // What the desktop's URL handler answers.
    bool opens = true;
    int failures = 0;
    FileManagerRevealService::FolderOpener opener()
    {
        return [this](const QUrl& folder) {
            folders.append(folder);
            return opens;
        };
    }
    RevealService::FailureHandler onFailure()
    {
        return [this] { ++failures; };
    }
};

} // namespace

TEST(FileManagerReveal, AsksTheFileManagerToShowTheItemByItsFileUri)
{
    PrivateBus bus;
    QDBusConnection fileManagerSide = bus.connect(QStringLiteral("file-manager"));
    FakeFileManager fileManager;
    ASSERT_TRUE(fileManagerSide.registerService(QLatin1String(FileManagerRevealService::service)));
    ASSERT_TRUE(fileManagerSide.registerObject(
        QLatin1String(FileManagerRevealService::path), &fileManager, QDBusConnection::ExportAllSlots));

    OpenedFolders opened;
    FileManagerRevealService service(bus.connect(QStringLiteral("plenoria")), opened.opener());
    service.reveal(QUrl::fromLocalFile(QStringLiteral("/home/me/emoji/.plenoria/originals/party parrot.gif")),
        opened.onFailure());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !fileManager.calls.isEmpty(); }, 10000));
    EXPECT_EQ(fileManager.calls.first().uris,
        QStringList{QStringLiteral("file:///home/me/emoji/.plenoria/originals/party%20parrot.gif")});
    EXPECT_TRUE(fileManager.calls.first().startupId.isEmpty());
    QTest::qWait(50);
    EXPECT_TRUE(opened.folders.isEmpty()) << "the file manager answered: nothing else opens";
    EXPECT_EQ(opened.failures, 0);
}

TEST(FileManagerReveal, OpensTheContainingFolderWhenNoFileManagerAnswers)
{
    PrivateBus bus;
    OpenedFolders opened;
    FileManagerRevealService service(bus.connect(QStringLiteral("plenoria")), opened.opener());
    service.reveal(
        QUrl::fromLocalFile(QStringLiteral("/home/me/emoji/.plenoria/originals")), opened.onFailure());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !opened.folders.isEmpty(); }, 10000));
    EXPECT_EQ(opened.folders, QList<QUrl>{QUrl::fromLocalFile(QStringLiteral("/home/me/emoji/.plenoria"))});
    EXPECT_EQ(opened.failures, 0);

    // Without any session bus the folder opens at once.
    OpenedFolders direct;
    FileManagerRevealService busless(QDBusConnection(QStringLiteral("no such bus")), direct.opener());
    busless.reveal(QUrl::fromLocalFile(QStringLiteral("/srv/a.png")), direct.onFailure());
    EXPECT_EQ(direct.folders, QList<QUrl>{QUrl::fromLocalFile(QStringLiteral("/srv"))});
    busless.reveal(QUrl(QStringLiteral("https://example.com/a.png")), direct.onFailure());
    EXPECT_EQ(direct.folders.size(), 1) << "only local files are revealed";
    EXPECT_EQ(direct.failures, 1);
}

TEST(FileManagerReveal, FailsOnlyWhenTheFolderCannotBeOpenedEither)
{
    PrivateBus bus;
    OpenedFolders refused;
    refused.opens = false;
    FileManagerRevealService service(bus.connect(QStringLiteral("plenoria")), refused.opener());
    service.reveal(QUrl::fromLocalFile(QStringLiteral("/home/me/emoji/a.png")), refused.onFailure());
    ASSERT_TRUE(QTest::qWaitFor([&] { return refused.failures == 1; }, 10000));
    EXPECT_EQ(refused.folders.size(), 1);

    FileManagerRevealService busless(QDBusConnection(QStringLiteral("no such bus")), refused.opener());
    busless.reveal(QUrl::fromLocalFile(QStringLiteral("/srv/a.png")), refused.onFailure());
    EXPECT_EQ(refused.failures, 2);
}
