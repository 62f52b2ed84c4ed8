#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <optional>

namespace plenoria {

class FolderStore;
class Preferences;

// One filing destination as the strip shows it.
struct DestinationRow {
    qint64 number = 0; // the digit key, 1 to 9
    QString name; // trimmed of spaces and tabs
    std::optional<qint64> count; // files already in its subfolder; none: no such subfolder yet
    // A link that filing refuses (leading nowhere, into .plenoria or back to the working folder).
    bool refused = false;
    bool operator==(const DestinationRow&) const = default;

    // "blocked" for a destination that takes nothing, "new", or the count followed by " filed".
    QString countText() const;
};

// The rows of the filing destinations strip, from the destination names and the store's counts:
// one per non-blank name, in key order (so the numbers can have gaps). Main thread only.
class ConfigStripModel : public QObject {
    Q_OBJECT
public:
    // Both outlive the model.
    ConfigStripModel(Preferences& prefs, FolderStore& store, QObject* parent = nullptr);

    QList<DestinationRow> rows() const;

signals:
    // The names or the counts changed.
    void changed();

private:
    Preferences& m_prefs;
    FolderStore& m_store;
};

} // namespace plenoria
