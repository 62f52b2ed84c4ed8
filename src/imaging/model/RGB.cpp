#include "imaging/model/RGB.h"

#include "imaging/model/HexColor.h"
#include "imaging/model/Rounding.h"

#include <algorithm>

namespace plenoria {

namespace {

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
    const auto value = parseHexColorValue(text, true);
    if (!value)
        return std::nullopt;
    return RGB{((*value >> 16) & 0xFF) / 255.0, ((*value >> 8) & 0xFF) / 255.0, (*value & 0xFF) / 255.0};
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
