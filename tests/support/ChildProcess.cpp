#include "ChildProcess.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdlib>
#include <gtest/gtest.h>

namespace plenoria::test {

namespace {

const QString modeVariable = QStringLiteral("PLENORIA_TEST_CHILD");
const QString settingsVariable = QStringLiteral("PLENORIA_TEST_CHILD_SETTINGS");
const QString outputVariable = QStringLiteral("PLENORIA_TEST_CHILD_OUTPUT");

// Runs before any test, so a child does its job and leaves without running the tests itself.
class ChildJobs final : public testing::Environment {
public:
    explicit ChildJobs(std::map<QString, ChildProcess::Job> jobs)
        : m_jobs(std::move(jobs))
    { }

    void SetUp() override
    {
        const QString mode = qEnvironmentVariable(qPrintable(modeVariable));
        if (mode.isEmpty())
            return;
        QSettings settings(qEnvironmentVariable(qPrintable(settingsVariable)), QSettings::IniFormat);
        QFile output(qEnvironmentVariable(qPrintable(outputVariable)));
        const auto job = m_jobs.find(mode);
        if (job == m_jobs.end() || !output.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::_Exit(2);
        QTextStream out(&output);
        job->second(settings, out);
        out.flush();
        output.close();
        std::_Exit(0);
    }

private:
    std::map<QString, ChildProcess::Job> m_jobs;
};

} // namespace

bool ChildProcess::addJobs(std::map<QString, Job> jobs)
{
    testing::AddGlobalTestEnvironment(new ChildJobs(std::move(jobs)));
    return true;
}

QString ChildProcess::run(const QString& mode, const QString& settingsFile)
{
    QTemporaryDir outputDir;
    const QString outputFile = outputDir.filePath(QStringLiteral("output.txt"));
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(modeVariable, mode);
    environment.insert(settingsVariable, settingsFile);
    environment.insert(outputVariable, outputFile);
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {});
    EXPECT_TRUE(child.waitForFinished(30000));
    EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardError().toStdString();
    QFile output(outputFile);
    if (!output.open(QIODevice::ReadOnly))
        return QStringLiteral("<no output>");
    return QString::fromUtf8(output.readAll());
}

} // namespace plenoria::test
