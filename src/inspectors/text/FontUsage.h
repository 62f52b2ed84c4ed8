#pragma once

#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

class QSettings;

namespace plenoria {

// How often each font family was chosen for a text, kept in the settings under "fontUsageCounts"
// (family → count), and the short list of families the font picker offers first. Until the first
// choice the counts are a fixed seed of display families; "Impact", when installed, always heads the
// list and is never counted. Reading never writes. Main thread only.
class FontUsage {
public:
    static constexpr qint64 recentCount = 8;
    static const QString countsKey; // "fontUsageCounts"
    static const QString impact; // "Impact"

    // Over `settings`, kept alive by the caller (none: the application's own settings), with the
    // families that count as installed.
    explicit FontUsage(QSettings* settings = nullptr, const QStringList& installed = installedDefault());

    // The installed families, sorted by code point.
    const QStringList& installed() const { return m_installedList; }

    // The counts that stand in while nothing readable is stored, in the order they rank.
    static const std::vector<std::pair<QString, qint64>>& seedCounts();
    // The stored counts when every value is a whole number, else the seed.
    [[nodiscard]] QMap<QString, qint64> countsOrDefault() const;
    // The counted families that are installed, most used first. A counted family that is not
    // installed adds its count to its installed stand-in ("Georgia" to "DejaVu Serif", say).
    [[nodiscard]] QStringList familiesByUsage() const;
    // "Impact" when installed, then the most used families, eight in all at most.
    [[nodiscard]] QStringList recentFamilies() const;
    // One more use of `family` (nothing for "Impact"); the whole map is stored, seed included.
    void recordUse(const QString& family);

    // The installed family that takes `family`'s place in the list, or an empty string.
    static QString standIn(const QString& family);

private:
    static QStringList installedDefault();

    QSettings* m_settings;
    QStringList m_installedList;
    QSet<QString> m_installed;
};

} // namespace plenoria
