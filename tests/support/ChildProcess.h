#pragma once

#include <QSettings>
#include <QString>
#include <QTextStream>
#include <functional>
#include <map>

namespace plenoria::test {

// Persistence is checked in a fresh process, because a settings object in this process answers from
// its cache. run() starts this test executable again for one named job over a settings file; the
// child does the job once the application object exists, before any test runs, and exits.
class ChildProcess {
public:
    // Writes to `out` what the parent gets back, from the settings the parent named.
    using Job = std::function<void(QSettings& settings, QTextStream& out)>;

    // The jobs this executable's children can do; named once per executable, at static initialisation.
    static bool addJobs(std::map<QString, Job> jobs);

    // What job `mode` wrote in a child over `settingsFile`; "<no output>" when it did not run.
    static QString run(const QString& mode, const QString& settingsFile);
};

inline QString runChild(const QString& mode, const QString& settingsFile)
{
    return ChildProcess::run(mode, settingsFile);
}

} // namespace plenoria::test
