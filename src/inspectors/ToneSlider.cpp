#include "ToneSlider.h"

#include "FieldMarksSlider.h"
#include "Theme.h"
#include "ThemedLabel.h"
#include "ToneSpec.h"

#include <QHBoxLayout>
#include <QVBoxLayout>
#include <cmath>

namespace plenoria {

ToneSlider::ToneSlider(const QString& label, Binding<double> value, QWidget* parent)
    : QWidget(parent)
    , m_value(value)
    , m_valueLabel(new ThemedLabel(QString(), Theme::monospacedFont(11), &Theme::inkFaint))
    , m_slider(new FieldMarksSlider(label, std::move(value), -1, 1))
{
    auto* header = new QHBoxLayout;
    header->setContentsMargins(0, 0, 0, 0);
    header->addWidget(new ThemedLabel(label, Theme::monospacedFont(11), &Theme::inkSecondary));
    header->addStretch(1);
    header->addWidget(m_valueLabel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addLayout(header);
    layout->addWidget(m_slider);
    connect(m_slider, &FieldMarksSlider::edited, this, [this] {
        refresh();
        emit edited();
    });
    refresh();
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

QString ToneSlider::valueText() const
{
    return m_valueLabel->text();
}

QColor ToneSlider::valueColor() const
{
    return m_valueLabel->palette().color(QPalette::WindowText);
}

void ToneSlider::refresh()
{
    const double value = m_value.get();
    const QString text = toneValueText(value);
    m_valueLabel->setText(text);
    m_valueLabel->setColorRole(ToneSpec::isActive(value) ? &Theme::moss : &Theme::inkFaint);
    m_slider->setValueText(text);
    m_slider->update();
}

} // namespace plenoria
