#include "imaging/model/HexColor.h"
#include "imaging/model/Theme.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace plenoria;

TEST(HexColor, ParsesTheWrittenFormWithBlanksAndEitherCase)
{
    for (const QString& text : {QStringLiteral("#211E19"), QStringLiteral("211e19"), QStringLiteral(" #211E19\t")}) {
        const QColor color = parseHexColor(text);
        EXPECT_EQ(color, QColor(0x21, 0x1E, 0x19)) << text.toStdString();
        EXPECT_EQ(hexString(color), QStringLiteral("#211E19"));
    }
    EXPECT_EQ(hexString(parseHexColor(QStringLiteral("#e6e2d2"))), QStringLiteral("#E6E2D2"));
}

TEST(HexColor, RejectsWrongLengthsAndDigitlessText)
{
    for (const QString& text : {QString(), QStringLiteral("#"), QStringLiteral("#FFF"), QStringLiteral("#FFFFFFF"),
                               QStringLiteral("12345"), QStringLiteral("ghijkl"), QStringLiteral("##")}) {
        EXPECT_FALSE(parseHexColorValue(text)) << text.toStdString();
        EXPECT_EQ(parseHexColor(text).alpha(), 0) << text.toStdString();
    }
}

TEST(HexColor, ReadsOnlyLeadingDigitsAndAcceptsTheHexPrefix)
{
    EXPECT_EQ(hexString(parseHexColor(QStringLiteral("12ghij"))), QStringLiteral("#000012"));
    EXPECT_EQ(hexString(parseHexColor(QStringLiteral("0x00FF"))), QStringLiteral("#0000FF"));
    // Six user-perceived characters, even when one of them takes two code units.
    EXPECT_EQ(parseHexColorValue(QStringLiteral("12345\U0001F600")), 0x12345u);
}

TEST(HexColor, FormatsRoundingHalvesUpAndJudgesLightness)
{
    EXPECT_EQ(hexString(makeSRGBColor(0.5, 0.5, 0.5)), QStringLiteral("#808080"));
    EXPECT_EQ(hexString(QColor()), QStringLiteral("#000000"));
    EXPECT_TRUE(isLightColor(parseHexColor(QStringLiteral("#E6E2D2"))));
    EXPECT_FALSE(isLightColor(parseHexColor(QStringLiteral("#808080"))));
    EXPECT_TRUE(isLightColor(QColor(Qt::white)));
    EXPECT_FALSE(isLightColor(QColor()));
}

TEST(Theme, ResolvesEveryRoleForTheAppearanceAndAnnouncesChanges)
{
    QSignalSpy spy(ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged);
    Theme::setAppearance(Appearance::dark);
    EXPECT_EQ(Theme::background(), QColor(0x21, 0x1E, 0x19));
    EXPECT_EQ(Theme::windowBackground(), Theme::background());
    EXPECT_EQ(Theme::ink(), QColor(0xE6, 0xE2, 0xD2));
    EXPECT_NEAR(Theme::hairline().alphaF(), 0.14, 0.005);
    EXPECT_EQ(Theme::hairline().rgb() & 0xFFFFFF, 0xE6E2D2u);

    Theme::setAppearance(Appearance::light);
    EXPECT_EQ(Theme::background(), QColor(0xE6, 0xE2, 0xD2));
    EXPECT_EQ(Theme::moss(), QColor(0x47, 0x59, 0x3F));
    EXPECT_NEAR(Theme::rule().alphaF(), 0.30, 0.005);
    EXPECT_EQ(Theme::rule().rgb() & 0xFFFFFF, 0x211E19u);
    EXPECT_EQ(Theme::fixedInk(), QColor(0x21, 0x1E, 0x19));
    EXPECT_EQ(spy.count(), 2);

    Theme::setAppearance(Appearance::light);
    EXPECT_EQ(spy.count(), 2);
}

TEST(Theme, ChoosesAnInstalledSerifOnce)
{
    const QString family = Theme::serifFamily();
    EXPECT_FALSE(family.isEmpty());
    EXPECT_EQ(Theme::serifFamily(), family);
    EXPECT_EQ(chooseSerifFamily(), family);
}
