#include "inspectors/controls/SliderValueText.h"

#include "imaging/model/Rounding.h"

namespace plenoria {

QString SliderValueText::pixels(double value)
{
    return QString::number(roundHalfAway(value)) + QStringLiteral("px");
}

QString SliderValueText::degrees(double value)
{
    return QString::number(roundHalfAway(value)) + QStringLiteral("\u00B0");
}

QString SliderValueText::percent(double value)
{
    return QString::number(roundHalfAway(value * 100)) + QStringLiteral("%");
}

QString SliderValueText::outlineWidth(double value)
{
    if (value < 0.05)
        return QStringLiteral("none");
    return QString::asprintf("%.1fpx", value);
}

} // namespace plenoria
