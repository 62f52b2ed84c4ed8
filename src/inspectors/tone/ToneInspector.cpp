#include "inspectors/tone/ToneInspector.h"

#include "imaging/model/Theme.h"
#include "inspectors/controls/BorderedButton.h"
#include "inspectors/controls/FieldMarksSlider.h"
#include "inspectors/controls/InspectorSection.h"
#include "inspectors/controls/InspectorText.h"
#include "inspectors/controls/ThemedLabel.h"
#include "inspectors/tone/ToneSlider.h"

#include <QHBoxLayout>

namespace plenoria {

namespace {

struct ToneField {
    const char* label;
    double ToneSpec::*field;
};

constexpr std::array<ToneField, ToneInspector::sliderCount> toneFields{{
    {"Highlights", &ToneSpec::highlights},
    {"Shadows", &ToneSpec::shadows},
    {"Brightness", &ToneSpec::brightness},
    {"Contrast", &ToneSpec::contrast},
    {"Saturation", &ToneSpec::saturation},
    {"Hue", &ToneSpec::hue},
    {"Warmth", &ToneSpec::warmth},
}};

struct PresetButton {
    const char* title;
    ToneInspector::Preset preset;
};

constexpr std::array<PresetButton, 4> presetButtons{{
    {"Punchy", ToneInspector::Preset::punchy},
    {"Faded", ToneInspector::Preset::faded},
    {"Noir", ToneInspector::Preset::noir},
    {"Pop", ToneInspector::Preset::pop},
}};

ToneSpec contrastAndSaturation(double contrast, double saturation)
{
    ToneSpec spec;
    spec.contrast = contrast;
    spec.saturation = saturation;
    return spec;
}

} // namespace

ToneInspector::ToneInspector(Binding<ToneSpec> spec, QWidget* parent)
    : InspectorColumn(QStringLiteral("Tone"), parent)
    , m_spec(std::move(spec))
{
    addWidget(InspectorText::note(QStringLiteral("Every slider centers on “leave it alone”.")));
    for (size_t i = 0; i < toneFields.size(); ++i) {
        double ToneSpec::*field = toneFields[i].field;
        // Read through the inspector's binding, so rebinding to another row rebinds every slider.
        Binding<double> value([this, field] { return m_spec.get().*field; },
            [this, field](const double& written) {
                ToneSpec next = m_spec.get();
                next.*field = written;
                m_spec.set(next);
            });
        m_sliders[i] = new ToneSlider(QString::fromLatin1(toneFields[i].label), std::move(value));
        connect(m_sliders[i]->slider(), &FieldMarksSlider::edited, this, &ToneInspector::refresh);
        addWidget(m_sliders[i]);
    }

    m_reset = new BorderedButton(QStringLiteral("Reset"));
    m_reset->setFont(Theme::monospacedFont(12));
    connect(m_reset, &BorderedButton::clicked, this, &ToneInspector::reset);
    auto* resetRow = new QHBoxLayout;
    resetRow->addWidget(m_reset);
    resetRow->addStretch(1);
    addLayout(resetRow);

    auto* quickReads = new InspectorSection(QStringLiteral("Quick reads"));
    quickReads->addWidget(
        InspectorText::note(QStringLiteral("At 32px, contrast is what makes an emoji legible.")));
    auto* presetRow = new QHBoxLayout;
    presetRow->setSpacing(6);
    for (const PresetButton& entry : presetButtons) {
        auto* button = new BorderedButton(QString::fromLatin1(entry.title));
        const Preset preset = entry.preset;
        connect(button, &BorderedButton::clicked, this, [this, preset] { applyPreset(preset); });
        presetRow->addWidget(button);
        m_presets[size_t(preset)] = button;
    }
    presetRow->addStretch(1);
    quickReads->addLayout(presetRow);
    addWidget(quickReads);
    refresh();
}

ToneSpec ToneInspector::presetSpec(Preset preset)
{
    switch (preset) {
    case Preset::punchy:
        return contrastAndSaturation(0.28, 0.3);
    case Preset::faded:
        return contrastAndSaturation(-0.15, -0.35);
    case Preset::noir:
        return contrastAndSaturation(0.35, -1.0);
    case Preset::pop:
        return ToneSpec{0.3, 0.3, 0.05, 0.1, 0.1, 0, 0};
    }
    return {};
}

void ToneInspector::setSpec(Binding<ToneSpec> spec)
{
    m_spec = std::move(spec);
    refresh();
}

void ToneInspector::reset()
{
    write(ToneSpec{});
}

void ToneInspector::applyPreset(Preset preset)
{
    write(presetSpec(preset));
}

void ToneInspector::write(const ToneSpec& spec)
{
    m_spec.set(spec);
    refresh();
}

void ToneInspector::refresh()
{
    for (ToneSlider* slider : m_sliders)
        slider->refresh();
    m_reset->setEnabled(!m_spec.get().activeAdjustments().empty());
}

} // namespace plenoria
