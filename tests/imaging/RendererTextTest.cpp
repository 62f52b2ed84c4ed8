#include "SyntheticImages.h"
#include "imaging/model/FontFamilies.h"
#include "imaging/render/Renderer.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <cmath>
#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;

namespace {

TextSpec textSpec(const QString& content, double size, QPointF center)
{
    TextSpec spec;
    spec.content = content;
    spec.fontName = defaultTextFont();
    spec.size = size;
    spec.colorHex = "#FF0000";
    spec.outlineHex = "#0000FF";
    spec.outlineWidth = 0;
    spec.center = center;
    return spec;
}

// The bounding box of every pixel that differs from the white ground.
QRect inkBounds(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != QColor(Qt::white))
                box |= QRect(x, y, 1, 1);
    return box;
}

QImage drawn(const TextSpec& spec, QSize size = {300, 300})
{
    return Renderer::renderText(solidImage(size.width(), size.height(), Qt::white), spec);
}

} // namespace

TEST(Text, BlankContentLeavesTheVeryImage)
{
    const QImage image = solidImage(20, 20, Qt::white);
    EXPECT_EQ(Renderer::renderText(image, textSpec("  \n\t\n", 12, {10, 10})).cacheKey(), image.cacheKey());
    EXPECT_EQ(Renderer::renderText(image, textSpec("", 12, {10, 10})).cacheKey(), image.cacheKey());
}

TEST(Text, LinesAreCentredOnThePointAndSpacedByLineHeight)
{
    const QRect one = inkBounds(drawn(textSpec("H", 100, {150, 150})));
    ASSERT_FALSE(one.isEmpty());
    EXPECT_NEAR(one.center().x(), 150, 3);
    // One line: the baseline lies 0.56 × size − 0.24 × size = 32 below the centre.
    EXPECT_NEAR(one.bottom() + 1, 182, 2);

    // Two lines: baselines 24 above and 88 below the centre, so the first H rises by 56.
    const QImage two = drawn(textSpec("H\nH", 100, {150, 150}));
    const QRect both = inkBounds(two);
    EXPECT_EQ(both.top(), one.top() - 56);
    EXPECT_EQ(both.bottom(), one.bottom() + 56);

    // Moving the centre moves the ink by the same amount.
    const QRect moved = inkBounds(drawn(textSpec("H", 100, {120, 170})));
    EXPECT_EQ(moved.topLeft(), one.topLeft() + QPoint(-30, 20));
    // The H's crossbar at the centre of its ink is drawn in the fill colour.
    EXPECT_EQ(drawn(textSpec("H", 100, {150, 150})).pixelColor(one.center()), QColor(Qt::red));
}

TEST(Text, PositiveRotationTurnsClockwise)
{
    // Only the upper line has ink; turned a quarter clockwise it lies right of the centre.
    TextSpec spec = textSpec("HHH\n ", 40, {150, 150});
    spec.rotation = 90;
    const QRect box = inkBounds(drawn(spec));
    EXPECT_GT(box.height(), box.width());
    EXPECT_GT(box.left(), 150);
}

TEST(Text, OutlineAppearsFromWidthPointZeroFive)
{
    TextSpec spec = textSpec("H", 60, {150, 150});
    const QImage plain = drawn(spec);
    spec.outlineWidth = 0.049;
    EXPECT_EQ(drawn(spec), plain);
    spec.outlineWidth = 0.05;
    EXPECT_NE(drawn(spec), plain);

    spec.outlineWidth = 6;
    const QImage thick = drawn(spec);
    const QRect plainBox = inkBounds(plain);
    const QRect thickBox = inkBounds(thick);
    // Centred on the outline: it grows the ink by half its width on each side.
    EXPECT_NEAR(plainBox.left() - thickBox.left(), 3, 1);
    EXPECT_NEAR(thickBox.bottom() - plainBox.bottom(), 3, 1);
    const QColor edge = thick.pixelColor(thickBox.left() + 1, plainBox.center().y());
    EXPECT_GT(edge.blue(), 200);
    EXPECT_LT(edge.red(), 60);
}

TEST(Text, UnreadableColoursFallBackToWhiteFillAndBlackOutline)
{
    TextSpec spec = textSpec("H", 60, {150, 150});
    spec.outlineWidth = 4;
    spec.colorHex = "#FFFFFF";
    spec.outlineHex = "#000000";
    const QImage expected = Renderer::renderText(solidImage(300, 300, Qt::gray), spec);
    spec.colorHex = "red";
    spec.outlineHex = "#12";
    EXPECT_EQ(Renderer::renderText(solidImage(300, 300, Qt::gray), spec), expected);
}

TEST(Text, WindowsLineEndsAndTinySizesAreHarmless)
{
    const TextSpec unix = textSpec("AB\nCD", 30, {150, 150});
    const TextSpec windows = textSpec("AB\r\nCD", 30, {150, 150});
    EXPECT_EQ(drawn(windows), drawn(unix));
    EXPECT_EQ(Renderer::textBoxSize(windows), Renderer::textBoxSize(unix));

    EXPECT_EQ(drawn(textSpec("H", 0, {10, 10}), {20, 20}).size(), QSize(20, 20));
    EXPECT_EQ(drawn(textSpec("H", -5, {10, 10}), {20, 20}).size(), QSize(20, 20));

    // A centre dragged far off the canvas, or a broken angle, draws nothing rather than failing.
    const QImage blank = solidImage(20, 20, Qt::white);
    EXPECT_EQ(drawn(textSpec("H", 12, {1e12, -1e12}), {20, 20}), blank);
    TextSpec broken = textSpec("H", 12, {10, 10});
    broken.rotation = std::nan("");
    EXPECT_EQ(drawn(broken, {20, 20}), blank);
}

TEST(TextBox, GrowsByTheOutlineAndCountsEveryLine)
{
    TextSpec spec = textSpec("OMG", 50, {0, 0});
    const QSizeF plain = Renderer::textBoxSize(spec);
    EXPECT_DOUBLE_EQ(plain.height(), 56);
    EXPECT_GT(plain.width(), 50);

    spec.outlineWidth = 2;
    spec.content = "OMG\n";
    const QSizeF trailing = Renderer::textBoxSize(spec);
    EXPECT_DOUBLE_EQ(trailing.height(), 2 * 56 + 4);
    EXPECT_DOUBLE_EQ(trailing.width(), plain.width() + 4);

    // Fractional sizes are honoured: half the size, half the width.
    spec.outlineWidth = 0;
    spec.content = "OMG";
    spec.size = 25;
    EXPECT_NEAR(Renderer::textBoxSize(spec).width(), plain.width() / 2, 0.01);
    spec.size = 25.5;
    EXPECT_NEAR(Renderer::textBoxSize(spec).width(), plain.width() * 25.5 / 50, 0.01);

    spec.content = "";
    EXPECT_DOUBLE_EQ(Renderer::textBoxSize(spec).width(), 0);
}

TEST(Text, AFamilyThatIsNotInstalledIsNeverDrawnInASymbolFace)
{
    // Whatever fontconfig substitutes on this machine: a symbol face stands in for a missing family
    // only by way of the default font, and any other stand-in is left to draw the family's text.
    const auto standsInWithSymbols = [](const QString& family) {
        return QFontDatabase::writingSystems(QFontInfo(QFont(family)).family())
            .contains(QFontDatabase::Symbol);
    };
    ASSERT_FALSE(standsInWithSymbols(defaultTextFont()));
    const TextSpec fallback = textSpec("OMG", 60, {150, 150});
    for (const char* name : {"Impact", "Dingbats", "Symbol", "Wingdings", "No Such Family"}) {
        const QString family = QString::fromLatin1(name);
        if (FontFamilies::isInstalled(family))
            continue;
        SCOPED_TRACE(name);
        TextSpec spec = fallback;
        spec.fontName = family;
        EXPECT_FALSE(standsInWithSymbols(FontFamilies::drawable(family)));
        if (standsInWithSymbols(family)) {
            EXPECT_EQ(drawn(spec), drawn(fallback));
            EXPECT_EQ(Renderer::textBoxSize(spec), Renderer::textBoxSize(fallback));
        } else {
            EXPECT_EQ(FontFamilies::drawable(family), family);
            EXPECT_FALSE(inkBounds(drawn(spec)).isEmpty());
        }
    }
}
