#include "RGB.h"

#include "Characters.h"
#include "Rounding.h"

#include <algorithm>

namespace plenoria {

namespace {

bool isTrimmed(QChar c)
{
    return c == QLatin1Char('#') || c.isSpace();
}

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

int channelByte(double fraction)
{
    return clampByte(fraction * 255.0);
}

double channelDistance(double c, double k)
{
    double d = 0;
    if (c > k)
        d = (1.0 - k) <= 0.000001 ? 1.0 : (c - k) / (1.0 - k);
    else if (c < k)
        d = k <= 0.000001 ? 1.0 : (k - c) / k;
    return std::min(d, 1.0);
}

} // namespace

std::optional<RGB> RGB::fromHex(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isTrimmed(text.at(begin)))
        ++begin;
    while (end > begin && isTrimmed(text.at(end - 1)))
        --end;
    // Six characters as the user sees them, so a trailing emoji counts as one.
    const QString trimmed = text.mid(begin, end - begin);
    if (characterCount(trimmed) != 6)
        return std::nullopt;

    qsizetype i = 0;
    // Like the C library's hex scan, "0x" is a prefix only when a digit follows it.
    if (trimmed.size() > 2 && trimmed.at(0) == QLatin1Char('0')
        && (trimmed.at(1) == QLatin1Char('x') || trimmed.at(1) == QLatin1Char('X'))
        && hexValue(trimmed.at(2)) >= 0)
        i = 2;
    quint32 value = 0;
    int digits = 0;
    for (; i < trimmed.size(); ++i) {
        const int digit = hexValue(trimmed.at(i));
        if (digit < 0)
            break;
        value = (value << 4) | quint32(digit);
        ++digits;
    }
    if (digits == 0)
        return std::nullopt;
    return RGB{((value >> 16) & 0xFF) / 255.0, ((value >> 8) & 0xFF) / 255.0, (value & 0xFF) / 255.0};
}

QString RGB::hexString() const
{
    return QString::asprintf("#%02X%02X%02X", channelByte(red), channelByte(green), channelByte(blue));
}

double keyDistance(const RGB& color, const RGB& key)
{
    return std::max({channelDistance(color.red, key.red), channelDistance(color.green, key.green),
        channelDistance(color.blue, key.blue)});
}

} // namespace plenoria
