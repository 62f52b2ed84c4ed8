#include "inspectors/text/FontUsage.h"

#include "imaging/model/FontFamilies.h"

#include <QSettings>
#include <QVariant>
#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <optional>

namespace plenoria {

const QString FontUsage::countsKey = QStringLiteral("fontUsageCounts");
const QString FontUsage::impact = QStringLiteral("Impact");

namespace {

constexpr qint64 largestCount = std::numeric_limits<qint64>::max();

// Counts only grow; one that would pass the largest value stays there. `more` is never negative.
qint64 plus(qint64 count, qint64 more)
{
    if (count > largestCount - more)
        return largestCount;
    return count + more;
}

std::optional<qint64> wholeNumber(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::SChar:
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::UShort:
    case QMetaType::UChar:
        return value.toLongLong();
    case QMetaType::ULongLong:
        if (value.toULongLong() > quint64(largestCount))
            return std::nullopt;
        return value.toLongLong();
    case QMetaType::Double:
    case QMetaType::Float: {
        const double number = value.toDouble();
        // 2^63 itself is not a qint64.
        if (!std::isfinite(number) || number != std::trunc(number) || number < -0x1p63 || number >= 0x1p63)
            return std::nullopt;
        return qint64(number);
    }
    default:
        return std::nullopt;
    }
}

std::optional<QMap<QString, qint64>> storedCounts(const QVariant& stored)
{
    if (stored.typeId() != QMetaType::QVariantMap)
        return std::nullopt;
    QMap<QString, qint64> counts;
    const QVariantMap map = stored.toMap();
    for (auto entry = map.cbegin(); entry != map.cend(); ++entry) {
        const std::optional<qint64> count = wholeNumber(entry.value());
        if (!count)
            return std::nullopt;
        counts.insert(entry.key(), *count);
    }
    return counts;
}

// Settings the caller kept, or the application's own for the length of one call.
class SettingsAccess {
public:
    explicit SettingsAccess(QSettings* settings)
        : m_owned(settings ? nullptr : std::make_unique<QSettings>())
        , m_settings(settings ? settings : m_owned.get())
    { }
    QSettings* operator->() const { return m_settings; }

private:
    std::unique_ptr<QSettings> m_owned;
    QSettings* m_settings;
};

} // namespace

FontUsage::FontUsage(QSettings* settings, const QStringList& installed)
    : m_settings(settings)
    , m_installedList(installed)
    , m_installed(installed.begin(), installed.end())
{ }

QStringList FontUsage::installedDefault()
{
    return FontFamilies::installed();
}

const std::vector<std::pair<QString, qint64>>& FontUsage::seedCounts()
{
    static const std::vector<std::pair<QString, qint64>> seed{
        {QStringLiteral("Georgia"), 7},
        {QStringLiteral("Baskerville"), 6},
        {QStringLiteral("Helvetica Neue"), 5},
        {QStringLiteral("Avenir Next"), 4},
        {QStringLiteral("Herculanum"), 3},
        {QStringLiteral("Chalkboard SE"), 2},
        {QStringLiteral("Menlo"), 1},
    };
    return seed;
}

QString FontUsage::standIn(const QString& family)
{
    // Free families close in look to the seed's, as Debian ships them.
    static const QMap<QString, QString> standIns{
        {QStringLiteral("Georgia"), QStringLiteral("DejaVu Serif")},
        {QStringLiteral("Helvetica Neue"), QStringLiteral("TeX Gyre Heros")},
        {QStringLiteral("Avenir Next"), QStringLiteral("TeX Gyre Adventor")},
        {QStringLiteral("Menlo"), QStringLiteral("DejaVu Sans Mono")},
    };
    return standIns.value(family);
}

QMap<QString, qint64> FontUsage::countsOrDefault() const
{
    if (std::optional<QMap<QString, qint64>> stored
        = storedCounts(SettingsAccess(m_settings)->value(countsKey)))
        return *stored;
    QMap<QString, qint64> seed;
    for (const auto& [family, count] : seedCounts())
        seed.insert(family, count);
    return seed;
}

QStringList FontUsage::familiesByUsage() const
{
    const QMap<QString, qint64> counts = countsOrDefault();
    QMap<QString, qint64> ranked;
    for (auto entry = counts.cbegin(); entry != counts.cend(); ++entry) {
        QString family = entry.key();
        if (!m_installed.contains(family))
            family = standIn(family);
        // Counts are edited by hand too: one below zero ranks as unused, and two extreme ones summed
        // for a stand-in and its family must not wrap round.
        if (!family.isEmpty() && m_installed.contains(family))
            ranked[family] = plus(ranked.value(family), std::max<qint64>(0, entry.value()));
    }
    std::vector<std::pair<QString, qint64>> order(ranked.keyValueBegin(), ranked.keyValueEnd());
    std::stable_sort(
        order.begin(), order.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    QStringList families;
    for (const auto& entry : order)
        families.append(entry.first);
    return families;
}

QStringList FontUsage::recentFamilies() const
{
    QStringList recent;
    if (m_installed.contains(impact))
        recent.append(impact);
    for (const QString& family : familiesByUsage()) {
        if (recent.size() >= recentCount)
            break;
        // A hand-edited count for "Impact" must not list it twice.
        if (family != impact)
            recent.append(family);
    }
    return recent;
}

void FontUsage::recordUse(const QString& family)
{
    if (family == impact)
        return;
    QMap<QString, qint64> counts = countsOrDefault();
    counts[family] = plus(counts.value(family), 1);
    QVariantMap stored;
    for (auto entry = counts.cbegin(); entry != counts.cend(); ++entry)
        stored.insert(entry.key(), QVariant::fromValue(entry.value()));
    SettingsAccess settings(m_settings);
    settings->setValue(countsKey, stored);
    settings->sync();
}

} // namespace plenoria
