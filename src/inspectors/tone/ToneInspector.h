#pragma once

#include "imaging/model/ToneSpec.h"
#include "inspectors/controls/Binding.h"
#include "inspectors/controls/InspectorColumn.h"

#include <array>

namespace plenoria {

class BorderedButton;
class ToneSlider;

// The editor of a tone row: seven signed sliders centred on "leave it alone", "Reset", and four
// quick presets. Each button writes the whole spec in one assignment, so one press is one change of
// the record. The bench keeps one while tone rows stay selected and rebinds it to each row it shows.
class ToneInspector : public InspectorColumn {
    Q_OBJECT
public:
    enum class Preset { punchy, faded, noir, pop };
    static constexpr int sliderCount = 7;

    explicit ToneInspector(Binding<ToneSpec> spec, QWidget* parent = nullptr);

    // What a preset writes: the contrast and saturation it names, or Pop's five values; every other
    // field 0.
    [[nodiscard]] static ToneSpec presetSpec(Preset preset);

    void setSpec(Binding<ToneSpec> spec);
    void reset();
    void applyPreset(Preset preset);
    // Shows the row afresh (it may have changed elsewhere).
    void refresh();

    ToneSlider* slider(qint64 index) const { return m_sliders.at(size_t(index)); }
    BorderedButton* resetButton() const { return m_reset; }
    BorderedButton* presetButton(Preset preset) const { return m_presets.at(size_t(preset)); }

private:
    void write(const ToneSpec& spec);

    Binding<ToneSpec> m_spec;
    std::array<ToneSlider*, sliderCount> m_sliders{};
    BorderedButton* m_reset = nullptr;
    std::array<BorderedButton*, 4> m_presets{};
};

} // namespace plenoria
