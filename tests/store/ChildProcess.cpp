// Persistence is checked in a fresh process, because a settings object in this process answers
// from its cache. runChild starts this executable again with PLENORIA_STORE_CHILD set; the child
// does its one job here once the application object exists, before any test runs, writes the
// result to PLENORIA_STORE_CHILD_OUTPUT and exits.

#include "FolderStore.h"
#include "PathBookmarkStore.h"
#include "Preferences.h"

#include <QFile>
#include <QSettings>
#include <QTextStream>
#include <cstdlib>
#include <gtest/gtest.h>

namespace plenoria::test {

namespace {

QString flag(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

void printPreferences(QSettings& settings, QTextStream& out)
{
    const Preferences prefs(&settings);
    out << "subfolderNames=" << prefs.subfolderNames().join(QLatin1Char('|')) << '\n'
        << "zoom=" << rawValue(prefs.zoom()) << '\n'
        << "listSide=" << rawValue(prefs.listSide()) << '\n'
        << "animateGIFs=" << flag(prefs.animateGIFs()) << '\n'
        << "splitFraction=" << prefs.splitFraction() << '\n'
        << "defaultZoom=" << rawValue(prefs.defaultZoom()) << '\n'
        << "previewDarkHex=" << prefs.previewDarkHex() << '\n'
        << "previewLightHex=" << prefs.previewLightHex() << '\n'
        << "theme=" << rawValue(prefs.theme()) << '\n'
        << "previewDarkFirst=" << flag(prefs.previewDarkFirst()) << '\n'
        << "backupOnSave=" << flag(prefs.backupOnSave()) << '\n'
        << "showEditedBadge=" << flag(prefs.showEditedBadge()) << '\n';
}

void printFolder(QSettings& settings, QTextStream& out)
{
    const FolderStore store(FolderStoreServices{std::make_shared<PathBookmarkStore>(&settings), {}, {}, {}});
    QStringList names;
    for (const ImageItem& item : store.items())
        names.append(item.filename);
    names.sort();
    out << "workingFolder="
        << (store.workingFolder() ? store.workingFolder()->toLocalFile() : QStringLiteral("none")) << '\n'
        << "items=" << names.join(QLatin1Char('|')) << '\n';
}

class ChildJob final : public testing::Environment {
public:
    void SetUp() override
    {
        const QString mode = qEnvironmentVariable("PLENORIA_STORE_CHILD");
        if (mode.isEmpty())
            return;
        QSettings settings(qEnvironmentVariable("PLENORIA_STORE_SETTINGS"), QSettings::IniFormat);
        QFile output(qEnvironmentVariable("PLENORIA_STORE_CHILD_OUTPUT"));
        if (!output.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::_Exit(2);
        QTextStream out(&output);
        if (mode == QLatin1String("preferences"))
            printPreferences(settings, out);
        else if (mode == QLatin1String("folder"))
            printFolder(settings, out);
        out.flush();
        output.close();
        std::_Exit(0);
    }
};

[[maybe_unused]] testing::Environment* const childJob = testing::AddGlobalTestEnvironment(new ChildJob);

} // namespace

} // namespace plenoria::test
