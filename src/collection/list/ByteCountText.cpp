#include "collection/list/ByteCountText.h"

#include <array>
#include <cmath>

namespace plenoria {

namespace {

struct Unit {
    const char* name;
    int decimals;
};

constexpr std::array<Unit, 6> units{{{"KB", 0}, {"MB", 1}, {"GB", 2}, {"TB", 2}, {"PB", 2}, {"EB", 2}}};

QString withoutTrailingZeros(QString number, const QLocale& locale)
{
    const QString point = locale.decimalPoint();
    if (!number.contains(point))
        return number;
    while (number.endsWith(locale.zeroDigit()))
        number.chop(locale.zeroDigit().size());
    if (number.endsWith(point))
        number.chop(point.size());
    return number;
}

} // namespace

QString byteCountText(qint64 bytes, const QLocale& locale)
{
    if (bytes == 0)
        return QStringLiteral("Zero KB");
    const qint64 magnitude = bytes < 0 ? -bytes : bytes;
    if (magnitude < 1000)
        return locale.toString(bytes) + (magnitude == 1 ? QStringLiteral(" byte") : QStringLiteral(" bytes"));

    // The first unit whose rounded value stays below 1000, so 999,999 bytes read "1 MB", not "1000 KB".
    double value = double(bytes) / 1000.0;
    for (size_t index = 0; index < units.size(); ++index) {
        const Unit& unit = units[index];
        const double scale = std::pow(10.0, unit.decimals);
        const double rounded = std::round(value * scale) / scale;
        if (std::abs(rounded) < 1000.0 || index + 1 == units.size()) {
            const QString number = locale.toString(rounded, 'f', unit.decimals);
            return withoutTrailingZeros(number, locale) + QLatin1Char(' ') + QLatin1String(unit.name);
        }
        value /= 1000.0;
    }
    return {};
}

} // namespace plenoria
