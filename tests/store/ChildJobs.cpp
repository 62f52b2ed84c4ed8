// The jobs the store tests' child processes do: print the settings as a fresh process reads them.

#include "ChildProcess.h"
#include "store/FolderStore.h"
#include "store/PathBookmarkStore.h"
#include "store/Preferences.h"

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

[[maybe_unused]] const bool registered = ChildProcess::addJobs({
    {QStringLiteral("preferences"), printPreferences},
    {QStringLiteral("folder"), printFolder},
});

} // namespace

} // namespace plenoria::test
