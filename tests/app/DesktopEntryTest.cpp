#include "QtPrinting.h"

#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct ProcessRun {
    int exitCode = -1;
    QString output;
};

ProcessRun run(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(120000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
        QString::fromUtf8(process.readAll())};
}

} // namespace

TEST(DesktopEntry, InstallsTheProgramItsLauncherEntryAndIconWhereADesktopFindsThem)
{
    QTemporaryDir root;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DESTDIR"), root.path());
    const ProcessRun install = run(QStringLiteral("cmake"),
        {QStringLiteral("--install"), QStringLiteral(PLENORIA_BUILD_DIR), QStringLiteral("--prefix"),
            QStringLiteral("/usr")},
        environment);
    ASSERT_EQ(install.exitCode, 0) << install.output.toStdString();

    const QString prefix = root.path() + QStringLiteral("/usr");
    EXPECT_TRUE(QFile::exists(prefix + QStringLiteral("/bin/plenoria")));
    EXPECT_TRUE(QFile::exists(prefix + QStringLiteral("/share/icons/hicolor/scalable/apps/plenoria.svg")));
    const QString entry = prefix + QStringLiteral("/share/applications/plenoria.desktop");
    ASSERT_TRUE(QFile::exists(entry));

    const ProcessRun validate = run(QStringLiteral("desktop-file-validate"), {entry}, environment);
    EXPECT_EQ(validate.exitCode, 0) << validate.output.toStdString();
    EXPECT_TRUE(validate.output.trimmed().isEmpty()) << validate.output.toStdString();

    // The entry starts the installed program by name and shows the installed icon.
    QSettings desktop(entry, QSettings::IniFormat);
    desktop.beginGroup(QStringLiteral("Desktop Entry"));
    EXPECT_EQ(desktop.value(QStringLiteral("Exec")).toString(), "plenoria");
    EXPECT_EQ(desktop.value(QStringLiteral("Icon")).toString(), "plenoria");
}
