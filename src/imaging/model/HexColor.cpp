#include "imaging/model/HexColor.h"

#include "imaging/model/Characters.h"
#include "imaging/model/Rounding.h"

namespace plenoria {

namespace {

// The whitespace set of the colour format: spaces of every kind and tabs, not line breaks.
bool isBlank(QChar c)
{
    return c == QLatin1Char('\t') || c.category() == QChar::Separator_Space;
}


int hexDigit(QChar c)
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

// A hexadecimal scan as the original scanner makes it: leading white space and line breaks are
// skipped, "0x" is optional, digits are read until the first non-digit.
std::optional<quint32> scanHex(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    if (i + 1 < text.size() && text.at(i) == QLatin1Char('0')
        && (text.at(i + 1) == QLatin1Char('x') || text.at(i + 1) == QLatin1Char('X'))
        && i + 2 < text.size() && hexDigit(text.at(i + 2)) >= 0)
        i += 2;
    quint32 value = 0;
    bool any = false;
    for (; i < text.size(); ++i) {
        const int digit = hexDigit(text.at(i));
        if (digit < 0)
            break;
        value = (value << 4) | quint32(digit);
        any = true;
    }
    if (!any)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<quint32> parseHexColorValue(const QString& text, bool trimLineBreaks)
{
    const auto isTrimmed = [trimLineBreaks](QChar c) {
        return c == QLatin1Char('#') || (trimLineBreaks ? c.isSpace() : isBlank(c));
    };
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isTrimmed(text.at(begin)))
        ++begin;
    while (end > begin && isTrimmed(text.at(end - 1)))
        --end;
    const QString trimmed = text.mid(begin, end - begin);
    if (characterCount(trimmed) != 6)
        return std::nullopt;
    const auto value = scanHex(trimmed);
    if (!value)
        return std::nullopt;
    return *value & 0xFFFFFF;
}

QColor parseHexColor(const QString& text)
{
    const auto value = parseHexColorValue(text);
    if (!value)
        return QColor(0, 0, 0, 0);
    return QColor(int((*value >> 16) & 0xFF), int((*value >> 8) & 0xFF), int(*value & 0xFF));
}

QString hexString(const QColor& color)
{
    const QColor rgb = color.isValid() ? color.toRgb() : QColor(Qt::black);
    return QString::asprintf("#%02X%02X%02X", clampByte(rgb.redF() * 255.0), clampByte(rgb.greenF() * 255.0),
                             clampByte(rgb.blueF() * 255.0));
}

bool isLightColor(const QColor& color)
{
    const QColor rgb = color.isValid() ? color.toRgb() : QColor(Qt::black);
    const double luma = 0.299 * rgb.redF() + 0.587 * rgb.greenF() + 0.114 * rgb.blueF();
    return luma > 0.6;
}

QColor makeSRGBColor(double red, double green, double blue)
{
    return QColor::fromRgbF(float(red), float(green), float(blue), 1.0f);
}

} // namespace plenoria
