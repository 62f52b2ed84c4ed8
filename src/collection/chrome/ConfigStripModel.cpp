#include "collection/chrome/ConfigStripModel.h"

#include "store/FolderStore.h"
#include "store/Preferences.h"
#include "store/SpacesAndTabs.h"

namespace plenoria {

QString DestinationRow::countText() const
{
    if (refused)
        return QStringLiteral("blocked");
    if (!count)
        return QStringLiteral("new");
    return QString::number(*count) + QStringLiteral(" filed");
}

ConfigStripModel::ConfigStripModel(Preferences& prefs, FolderStore& store, QObject* parent)
    : QObject(parent)
    , m_prefs(prefs)
    , m_store(store)
{
    connect(&prefs, &Preferences::subfolderNamesChanged, this, &ConfigStripModel::changed);
    connect(&store, &FolderStore::filedCountsChanged, this, &ConfigStripModel::changed);
    // A link that comes to lead nowhere changes no count.
    connect(&store, &FolderStore::rescanned, this, &ConfigStripModel::changed);
}

QList<DestinationRow> ConfigStripModel::rows() const
{
    QList<DestinationRow> rows;
    const QStringList names = m_prefs.subfolderNames();
    for (qsizetype i = 0; i < names.size() && i < Preferences::destinationCount; ++i) {
        const QString name = trimmedOfSpacesAndTabs(names[i]);
        if (name.isEmpty())
            continue;
        rows.append(DestinationRow{
            qint64(i) + 1, name, m_store.filedCount(name), !m_store.destinationRefusal(name).isEmpty()});
    }
    return rows;
}

} // namespace plenoria
