#include "inspectors/tone/ToneInspector.h"
#include "imaging/model/Theme.h"
#include "inspectors/controls/BorderedButton.h"
#include "inspectors/controls/FieldMarksSlider.h"
#include "inspectors/tone/ToneSlider.h"

#include <gtest/gtest.h>

using namespace plenoria;
using Preset = ToneInspector::Preset;

namespace {

struct HeldTone {
    ToneSpec spec;
    qint64 writes = 0;
    Binding<ToneSpec> binding()
    {
        return Binding<ToneSpec>([this] { return spec; },
            [this](const ToneSpec& written) {
                spec = written;
                ++writes;
            });
    }
};

} // namespace

TEST(ToneInspectorTest, ValueLabelsAndResetFollowTheSpec)
{
    HeldTone held;
    ToneInspector inspector(held.binding());
    for (qint64 i = 0; i < ToneInspector::sliderCount; ++i) {
        EXPECT_EQ(inspector.slider(i)->valueText(), "0");
        EXPECT_EQ(inspector.slider(i)->valueColor(), Theme::inkFaint());
    }
    EXPECT_FALSE(inspector.resetButton()->isEnabled());

    // Each value below ±0.005 does nothing, so Reset has nothing to undo.
    held.spec = ToneSpec{0.004, -0.004, 0.0049, -0.0049, 0.001, 0, 0.003};
    inspector.refresh();
    EXPECT_EQ(inspector.slider(0)->valueText(), "0");
    EXPECT_EQ(inspector.slider(0)->valueColor(), Theme::inkFaint());
    EXPECT_FALSE(inspector.resetButton()->isEnabled());

    held.spec = ToneSpec{0.005, -0.005, 1, -1, 0.125, 0, 0};
    inspector.refresh();
    EXPECT_EQ(inspector.slider(0)->valueText(), "+1");
    EXPECT_EQ(inspector.slider(0)->valueColor(), Theme::moss());
    EXPECT_EQ(inspector.slider(1)->valueText(), QString::fromUtf8("\u22121"));
    EXPECT_EQ(inspector.slider(2)->valueText(), "+100");
    EXPECT_EQ(inspector.slider(3)->valueText(), QString::fromUtf8("\u2212100"));
    EXPECT_EQ(inspector.slider(4)->valueText(), "+13");
    EXPECT_EQ(inspector.slider(4)->slider()->valueText(), "+13");
    EXPECT_EQ(inspector.slider(5)->valueColor(), Theme::inkFaint());
    EXPECT_TRUE(inspector.resetButton()->isEnabled());

    // A slider writes only its own field, and Reset follows at once.
    held.spec = {};
    inspector.refresh();
    inspector.slider(6)->slider()->step(-1);
    EXPECT_EQ(held.spec, (ToneSpec{0, 0, 0, 0, 0, 0, -0.04}));
    EXPECT_EQ(inspector.slider(6)->valueText(), QString::fromUtf8("\u22124"));
    EXPECT_TRUE(inspector.resetButton()->isEnabled());
}

TEST(ToneInspectorTest, ResetAndPresetsWriteTheWholeSpecOnce)
{
    HeldTone held;
    ToneInspector inspector(held.binding());
    inspector.presetButton(Preset::pop)->click();
    EXPECT_EQ(held.spec, (ToneSpec{0.3, 0.3, 0.05, 0.1, 0.1, 0, 0}));
    EXPECT_EQ(held.writes, 1);
    EXPECT_TRUE(inspector.resetButton()->isEnabled());

    inspector.presetButton(Preset::punchy)->click();
    EXPECT_EQ(held.spec, (ToneSpec{0, 0, 0, 0.28, 0.3, 0, 0})) << "Pop's other values do not linger";
    EXPECT_EQ(held.writes, 2);
    inspector.presetButton(Preset::faded)->click();
    EXPECT_EQ(held.spec, (ToneSpec{0, 0, 0, -0.15, -0.35, 0, 0}));
    inspector.presetButton(Preset::noir)->click();
    EXPECT_EQ(held.spec.saturation, -1);
    EXPECT_EQ(inspector.slider(4)->valueText(), QString::fromUtf8("\u2212100"));

    inspector.resetButton()->click();
    EXPECT_EQ(held.spec, ToneSpec{});
    EXPECT_EQ(held.writes, 5);
    EXPECT_FALSE(inspector.resetButton()->isEnabled());

    // Rebound to another row, the sliders show and write that row.
    HeldTone other{ToneSpec{0, 0, 0.5, 0, 0, 0, 0}};
    inspector.setSpec(other.binding());
    EXPECT_EQ(inspector.slider(2)->valueText(), "+50");
    inspector.slider(2)->slider()->step(+1);
    EXPECT_DOUBLE_EQ(other.spec.brightness, 0.54);
    EXPECT_EQ(held.writes, 5);
}
