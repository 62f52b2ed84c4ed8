#include "SyntheticImages.h"
#include "imaging/render/Renderer.h"

#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;

namespace {

QColor toned(QColor color, ToneSpec spec)
{
    return Renderer::applyTone(solidImage(2, 2, color), spec).pixelColor(1, 1);
}

void expectNear(QColor actual, QColor expected, int tolerance = 1)
{
    EXPECT_NEAR(actual.red(), expected.red(), tolerance) << "red";
    EXPECT_NEAR(actual.green(), expected.green(), tolerance) << "green";
    EXPECT_NEAR(actual.blue(), expected.blue(), tolerance) << "blue";
    EXPECT_EQ(actual.alpha(), expected.alpha()) << "alpha";
}

} // namespace

TEST(Tone, InactiveValuesLeaveTheVeryImage)
{
    const QImage image = gradientImage(8, 8, Qt::red, Qt::blue);
    ToneSpec spec;
    spec.brightness = 0.004;
    spec.hue = -0.0049;
    EXPECT_EQ(Renderer::applyTone(image, spec).cacheKey(), image.cacheKey());

    // Warmth under the threshold takes no part once saturation switches the colour controls on.
    ToneSpec withWarmth;
    withWarmth.warmth = 0.004;
    withWarmth.saturation = 0.5;
    ToneSpec saturationOnly;
    saturationOnly.saturation = 0.5;
    EXPECT_EQ(Renderer::applyTone(image, withWarmth), Renderer::applyTone(image, saturationOnly));
    EXPECT_NE(Renderer::applyTone(image, saturationOnly), image);
}

TEST(Tone, WarmthScalesRedAndBlueOppositely)
{
    ToneSpec warm;
    warm.warmth = 1;
    expectNear(toned(QColor(100, 100, 100), warm), QColor(135, 100, 65));
    warm.warmth = -1;
    expectNear(toned(QColor(100, 100, 100), warm), QColor(65, 100, 135));
}

TEST(Tone, HueTurnsAboutTheGreyAxis)
{
    ToneSpec spec;
    spec.hue = 2.0 / 3.0; // a third of a turn carries red to green
    expectNear(toned(Qt::red, spec), Qt::green);
    expectNear(toned(QColor(90, 90, 90), spec), QColor(90, 90, 90));
    spec.hue = 1;
    expectNear(toned(Qt::red, spec), QColor(0, 170, 170));
}

TEST(Tone, CurveMovesShadowsAndHighlightsThroughTheirPoints)
{
    ToneSpec spec;
    spec.shadows = -1;
    expectNear(toned(QColor(64, 64, 64), spec), QColor(13, 13, 13), 2);
    expectNear(toned(QColor(128, 128, 128), spec), QColor(128, 128, 128), 1);
    spec.shadows = 0;
    spec.highlights = 1;
    expectNear(toned(QColor(191, 191, 191), spec), QColor(242, 242, 242), 2);
    expectNear(toned(QColor(223, 223, 223), spec), QColor(252, 252, 252), 1); // between the points
    expectNear(toned(Qt::white, spec), Qt::white);

    // The curve never overshoots: a steep curve stays monotone over every byte value.
    spec.shadows = 1;
    spec.highlights = -1;
    int previous = -1;
    for (int v = 0; v < 256; v += 5) {
        const int out = toned(QColor(v, v, v), spec).red();
        EXPECT_GE(out, previous) << v;
        previous = out;
    }
}

TEST(Tone, ColourControlsAddStretchAndDesaturate)
{
    ToneSpec bright;
    bright.brightness = 0.2;
    expectNear(toned(QColor(100, 100, 100), bright), QColor(151, 151, 151));

    ToneSpec contrast;
    contrast.contrast = 1;
    expectNear(toned(QColor(64, 128, 191), contrast), QColor(0, 128, 255));

    ToneSpec grey;
    grey.saturation = -1;
    expectNear(toned(Qt::red, grey), QColor(54, 54, 54));
}

TEST(Tone, AlphaIsKeptAndColoursStayPremultiplied)
{
    QImage image = solidImage(3, 1, Qt::transparent);
    image.setPixelColor(1, 0, QColor(100, 100, 100, 128));
    ToneSpec warm;
    warm.warmth = 1;
    const QImage result = Renderer::applyTone(image, warm);
    EXPECT_EQ(result.pixelColor(0, 0).alpha(), 0);
    expectNear(result.pixelColor(1, 0), QColor(135, 100, 65, 128), 2);
    // Clamped once at the end: an over-bright channel saturates instead of wrapping.
    warm.brightness = 1;
    expectNear(Renderer::applyTone(solidImage(1, 1, QColor(200, 200, 200)), warm).pixelColor(0, 0), Qt::white);
}

TEST(Tone, StagesRunWarmthHueCurveThenColourControls)
{
    // The reference runs the stages one by one in that order; rounding to bytes between them costs
    // a step or two, where another order costs tens. The colours keep every stage's output within
    // 0…1, where the reference does not clamp what the single pass carries on.
    const auto oneByOne = [](QColor color, const ToneSpec& spec) {
        ToneSpec warmth;
        warmth.warmth = spec.warmth;
        ToneSpec hue;
        hue.hue = spec.hue;
        ToneSpec curve;
        curve.shadows = spec.shadows;
        curve.highlights = spec.highlights;
        ToneSpec controls;
        controls.brightness = spec.brightness;
        controls.contrast = spec.contrast;
        controls.saturation = spec.saturation;
        QImage image = solidImage(2, 2, color);
        for (const ToneSpec& stage : {warmth, hue, curve, controls})
            image = Renderer::applyTone(image, stage);
        return image.pixelColor(1, 1);
    };
    ToneSpec warmAndTurned;
    warmAndTurned.warmth = 0.5;
    warmAndTurned.hue = 0.5;
    ToneSpec curvedAndControlled;
    curvedAndControlled.shadows = -0.8;
    curvedAndControlled.highlights = 0.6;
    curvedAndControlled.brightness = 0.15;
    curvedAndControlled.contrast = 0.4;
    curvedAndControlled.saturation = -0.5;
    ToneSpec all = curvedAndControlled;
    all.warmth = -0.6;
    all.hue = 0.2;
    ToneSpec allButTheCurve = all;
    allButTheCurve.shadows = 0;
    allButTheCurve.highlights = 0;

    const std::vector<QColor> moderate = {QColor(200, 120, 40), QColor(60, 150, 110), QColor(90, 90, 90)};
    const std::vector<QColor> withBlue = {Qt::blue, QColor(200, 120, 40), QColor(60, 150, 110)};
    const std::pair<ToneSpec, std::vector<QColor>> cases[] = {{warmAndTurned, withBlue},
        {curvedAndControlled, moderate}, {all, moderate}, {allButTheCurve, moderate}};
    for (const auto& [spec, colors] : cases) {
        SCOPED_TRACE(spec.summary().toStdString());
        for (const QColor& color : colors) {
            SCOPED_TRACE(color.name().toStdString());
            expectNear(toned(color, spec), oneByOne(color, spec), 2);
        }
    }
}
