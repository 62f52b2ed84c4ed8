#include "inspectors/controls/InspectorSlider.h"

#include "imaging/model/Theme.h"
#include "inspectors/controls/FieldMarksSlider.h"
#include "inspectors/controls/ThemedLabel.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace plenoria {

InspectorSlider::InspectorSlider(
    const QString& label, Binding<double> value, double lower, double upper, Format format, QWidget* parent)
    : QWidget(parent)
    , m_value(value)
    , m_format(std::move(format))
    , m_valueLabel(new ThemedLabel(QString(), Theme::monospacedFont(11), &Theme::ink))
    , m_slider(new FieldMarksSlider(label, std::move(value), lower, upper))
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
    connect(m_slider, &FieldMarksSlider::edited, this, &InspectorSlider::refresh);
    refresh();
}

QString InspectorSlider::valueText() const
{
    return m_valueLabel->text();
}

QColor InspectorSlider::valueColor() const
{
    return m_valueLabel->palette().color(QPalette::WindowText);
}

void InspectorSlider::setValueColor(ValueColor color)
{
    m_valueColor = std::move(color);
    refresh();
}

void InspectorSlider::setBinding(Binding<double> value)
{
    m_value = value;
    m_slider->setBinding(std::move(value));
    refresh();
}

void InspectorSlider::setRange(double lower, double upper)
{
    m_slider->setRange(lower, upper);
}

void InspectorSlider::refresh()
{
    const double value = m_value.get();
    const QString text = m_format ? m_format(value) : QString();
    m_valueLabel->setText(text);
    if (m_valueColor)
        m_valueLabel->setColorRole(m_valueColor(value));
    m_slider->setValueText(text);
    m_slider->update();
}

} // namespace plenoria
