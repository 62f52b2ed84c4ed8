#include "imaging/model/ToneSpec.h"

#include "imaging/model/Rounding.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

namespace plenoria {

bool ToneSpec::isActive(double value)
{
    return std::abs(value) >= activeThreshold;
}

std::vector<ToneAdjustment> ToneSpec::activeAdjustments() const
{
    const std::vector<ToneAdjustment> all = {{QStringLiteral("bright"), brightness},
        {QStringLiteral("contrast"), contrast}, {QStringLiteral("sat"), saturation},
        {QStringLiteral("warm"), warmth}, {QStringLiteral("hue"), hue}, {QStringLiteral("shadow"), shadows},
        {QStringLiteral("high"), highlights}};
    std::vector<ToneAdjustment> active;
    std::copy_if(all.begin(), all.end(), std::back_inserter(active),
        [](const ToneAdjustment& a) { return isActive(a.value); });
    std::stable_sort(active.begin(), active.end(), [](const ToneAdjustment& a, const ToneAdjustment& b) {
        return std::abs(a.value) > std::abs(b.value);
    });
    return active;
}

QString ToneSpec::summary() const
{
    const std::vector<ToneAdjustment> active = activeAdjustments();
    if (active.empty())
        return QStringLiteral("neutral");
    QStringList parts;
    for (size_t i = 0; i < std::min<size_t>(active.size(), 2); ++i) {
        const qint64 percent = roundHalfAway(active[i].value * 100);
        const QString sign
            = percent > 0 ? QStringLiteral("+") : (percent < 0 ? QStringLiteral("\u2212") : QString());
        parts << active[i].label + QLatin1Char(' ') + sign + QString::number(std::abs(percent));
    }
    return parts.join(QStringLiteral(" \u00B7 "));
}

} // namespace plenoria
