#include "inspectors/tone/ToneSlider.h"

#include "imaging/model/Theme.h"
#include "imaging/model/ToneSpec.h"

#include <cmath>

namespace plenoria {

ToneSlider::ToneSlider(const QString& label, Binding<double> value, QWidget* parent)
    : InspectorSlider(label, std::move(value), -1, 1, &ToneSlider::toneValueText, parent)
{
    setValueColor(
        [](double current) { return ToneSpec::isActive(current) ? &Theme::moss : &Theme::inkFaint; });
}

QString ToneSlider::toneValueText(double value)
{
    // std::round takes halves away from zero.
    const qint64 percent = qint64(std::round(value * 100));
    if (percent == 0)
        return QStringLiteral("0");
    return (percent > 0 ? QStringLiteral("+") : QStringLiteral("\u2212"))
        + QString::number(std::abs(percent));
}

} // namespace plenoria
