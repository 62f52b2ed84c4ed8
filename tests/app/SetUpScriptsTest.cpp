#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <utility>

namespace {

// Runs one of the README's set-up scripts with no display and a PATH of stubs beside bash, dirname
// and grep; make and sudo note their arguments after what the script printed.
struct ScriptRig {
    void stub(const char* name, const QByteArray& exit)
    {
        QFile file(bin.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        const bool noted = qstrcmp(name, "make") == 0 || qstrcmp(name, "sudo") == 0;
        file.write(QByteArray("#!/bin/sh\n") + (noted ? "echo \"$@\" >> \"$(dirname \"$0\")/called\"\n" : "")
            + exit + "\n");
        file.setPermissions(file.permissions() | QFile::ExeOwner);
    }
    QString run(const char* script, const char* display = nullptr, const QStringList& arguments = {})
    {
        for (const char* tool : {"bash", "dirname", "grep"})
            QFile::link(
                QStringLiteral("/bin/") + QString::fromLatin1(tool), bin.filePath(QString::fromLatin1(tool)));
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("PATH"), bin.path());
        if (display)
            environment.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(display));
        QFile::remove(bin.filePath(QStringLiteral("called")));
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QStringLiteral(PLENORIA_SOURCE_DIR "/") + QString::fromLatin1(script), arguments);
        EXPECT_TRUE(process.waitForFinished(30000));
        exitCode = process.exitCode();
        QFile called(bin.filePath(QStringLiteral("called")));
        return QString::fromUtf8(process.readAll())
            + (called.open(QIODevice::ReadOnly) ? called.readAll() : "");
    }

    QTemporaryDir dir;
    QDir bin{dir.path()};
    int exitCode = -1;
};

} // namespace

TEST(SetUpScripts, RunWithoutADisplayStopsBeforeInstallingOrBuilding)
{
    ScriptRig rig;
    rig.stub("make", "");
    const QString headless = rig.run("run.sh");
    EXPECT_TRUE(headless.startsWith(QStringLiteral("Plenoria needs a desktop session")) && rig.exitCode == 1
        && !headless.contains(QStringLiteral("run\n")))
        << headless.toStdString();
    EXPECT_EQ(rig.run("run.sh", ":5"), QStringLiteral("run\n"));
}

TEST(SetUpScripts, WithoutSudoTheInstallScriptPrintsTheOneCommandToRunAsRootAndWhatToRunAfter)
{
    ScriptRig rig;
    // Two packages of the set are missing; the advice names exactly those.
    rig.stub("dpkg-query", "case \"$3\" in cmake|xdg-utils) exit 1 ;; esac; echo 'install ok installed'");
    rig.stub("id", "[ \"$1\" = -u ] && echo 1000 || echo alice");
    const QString command = QStringLiteral(
        "\n  su -c 'apt-get update -q && apt-get install -y -q --no-install-recommends cmake xdg-utils'\n"
        "then run ./run.sh again as yourself.");
    // No sudo at all, then a sudo that refuses this account, then one that accepts it.
    const QString noSudo = rig.run("scripts/install-deps.sh");
    EXPECT_TRUE(noSudo.contains(command) && noSudo.contains(QStringLiteral("adduser alice sudo"))
        && rig.exitCode == 1)
        << noSudo.toStdString();
    EXPECT_FALSE(noSudo.contains(QStringLiteral("su -,"))) << "a login shell loses the display";
    const std::pair<const char*, const char*> sets[]
        = {{"test", "./test.sh"}, {"bench", "make bench"}, {"fuzz", "make fuzz"}};
    for (const auto& [set, again] : sets) {
        const QString advice = rig.run("scripts/install-deps.sh", nullptr, {QString::fromLatin1(set)});
        EXPECT_TRUE(advice.contains(
            QStringLiteral("cmake xdg-utils'\nthen run %1 again as yourself.").arg(QLatin1String(again))))
            << advice.toStdString();
    }
    rig.stub("sudo", "[ \"$1\" != -v ]");
    const QString refused = rig.run("scripts/install-deps.sh");
    EXPECT_TRUE(refused.contains(command)
        && refused.endsWith(QStringLiteral("sudo), then log in again and run it as you.\n-v\n")))
        << refused.toStdString();
    rig.stub("sudo", "");
    const QString accepted = rig.run("scripts/install-deps.sh");
    EXPECT_TRUE(accepted.endsWith(QStringLiteral(
                    "-v\napt-get update -q\napt-get install -y -q --no-install-recommends cmake "
                    "xdg-utils\n"))
        && rig.exitCode == 0)
        << accepted.toStdString();
}
