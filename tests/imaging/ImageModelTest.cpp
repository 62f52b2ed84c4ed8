#include "imaging/model/FolderName.h"
#include "imaging/model/ZoomLevel.h"
#include "imaging/read/FrameDelay.h"
#include "imaging/read/GIFTiming.h"
#include "imaging/read/ImageItem.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace plenoria;

TEST(DelayRules, MillisecondsRoundHalfAwayInHundredthsAndNeverGoNegative)
{
    EXPECT_EQ(delayMilliseconds(0.004), 0);
    EXPECT_EQ(delayMilliseconds(0.006), 10);
    EXPECT_EQ(delayMilliseconds(0.07), 70);
    EXPECT_EQ(delayMilliseconds(0.125), 130);
    EXPECT_EQ(delayMilliseconds(-0.5), 0);
    EXPECT_EQ(delayMilliseconds(std::numeric_limits<double>::quiet_NaN()), std::nullopt);
    EXPECT_EQ(delayMilliseconds(std::numeric_limits<double>::infinity()), std::nullopt);
    EXPECT_EQ(delayMilliseconds(1e300), std::nullopt);
}

TEST(DelayRules, ModeTakesTheSmallerOnTiesWhateverTheOrder)
{
    EXPECT_EQ(delayMode({0.1, 0.1, 0.05, 0.05}), 50);
    EXPECT_EQ(delayMode({0.05, 0.1, 0.05, 0.1}), 50);
    EXPECT_EQ(delayMode({0.07, 0.1, 0.1}), 100);
    EXPECT_EQ(delayMode({}), 100);
    EXPECT_EQ(delayMode({0.0, 0.001, 0.5}), 0); // 0 and 0.001 both become 0 ms
}

TEST(GIFTimingValues, LabelsAndHashesFollowTheCase)
{
    EXPECT_EQ(GIFTiming::still().label(), QStringLiteral("\u2014"));
    EXPECT_EQ(GIFTiming::makeAnimated(70, true).label(), QStringLiteral("70 ms"));
    EXPECT_EQ(GIFTiming::makeAnimated(0, false).label(), QStringLiteral("! 0 ms"));
    EXPECT_NE(qHash(GIFTiming::makeAnimated(70, true)), qHash(GIFTiming::makeAnimated(70, false)));
    EXPECT_NE(GIFTiming::makeAnimated(70, true), GIFTiming::still());
}

TEST(ImageItemValues, DerivedValuesSortUnhealthyFirstAndStillsLast)
{
    ImageItem item;
    EXPECT_EQ(item.dimensionsLabel(), std::nullopt);
    EXPECT_EQ(item.pixelCount(), 0);
    EXPECT_EQ(item.timingSortKey(), 9223372036854775807LL);

    item.pixelSize = QSizeF(128.9, 96.2);
    EXPECT_EQ(item.dimensionsLabel(), QStringLiteral("128\u00D796"));
    EXPECT_EQ(item.pixelCount(), 12400); // 128.9 × 96.2 = 12400.18, truncated after multiplying

    item.gifTiming = GIFTiming::makeAnimated(70, true);
    EXPECT_EQ(item.timingSortKey(), 70);
    item.gifTiming = GIFTiming::makeAnimated(70, false);
    EXPECT_EQ(item.timingSortKey(), -1);
}

TEST(ImageItemValues, SameUrlWithOtherMetadataIsAnotherValue)
{
    ImageItem a;
    a.url = QUrl::fromLocalFile(QStringLiteral("/tmp/a.gif"));
    a.pixelSize = QSizeF(10, 10);
    ImageItem b = a;
    EXPECT_EQ(a, b);
    EXPECT_EQ(qHash(a), qHash(b));
    b.gifTiming = GIFTiming::makeAnimated(100, true);
    EXPECT_NE(a, b);
    b = a;
    b.pixelSize.reset();
    EXPECT_NE(a, b);
    EXPECT_NE(qHash(a), qHash(b));
    QSet<ImageItem> set{a, b};
    EXPECT_EQ(set.size(), 2);
}

TEST(ZoomLevels, RawValuesRoundTripAndSteppingStopsAtTheEnds)
{
    EXPECT_EQ(zoomLevelFromRawValue(128), ZoomLevel::px128);
    EXPECT_EQ(zoomLevelFromRawValue(100), std::nullopt);
    EXPECT_EQ(zoomLevelIndex(ZoomLevel::px512), 4);
    EXPECT_EQ(stepped(ZoomLevel::px256, 3), ZoomLevel::px512);
    EXPECT_EQ(stepped(ZoomLevel::px64, -9), ZoomLevel::px32);
    EXPECT_EQ(stepped(ZoomLevel::px64, 1), ZoomLevel::px128);
    EXPECT_EQ(stepped(ZoomLevel::px128, std::numeric_limits<qint64>::max()), ZoomLevel::px512);
    EXPECT_EQ(stepped(ZoomLevel::px128, std::numeric_limits<qint64>::min()), ZoomLevel::px32);
}

TEST(FolderNames, AcceptLettersOfAnyScriptAndRejectPathCharacters)
{
    EXPECT_TRUE(isValidFolderName(QStringLiteral("  Keep 2 \t")));
    EXPECT_TRUE(isValidFolderName(QStringLiteral("caf\u00E9"))); // composed
    EXPECT_TRUE(isValidFolderName(QStringLiteral("cafe\u0301"))); // decomposed: a combining mark
    EXPECT_TRUE(isValidFolderName(QStringLiteral("絵文字_old-1")));
    EXPECT_TRUE(isValidFolderName(QString::fromUcs4(U"\U0001D49C"))); // a letter outside the basic plane

    EXPECT_FALSE(isValidFolderName(QString()));
    EXPECT_FALSE(isValidFolderName(QStringLiteral("   ")));
    EXPECT_FALSE(isValidFolderName(QStringLiteral("a.b")));
    EXPECT_FALSE(isValidFolderName(QStringLiteral("a/b")));
    EXPECT_FALSE(isValidFolderName(QStringLiteral("a:b")));
    EXPECT_FALSE(isValidFolderName(QStringLiteral("keep\n")));
    EXPECT_FALSE(isValidFolderName(QStringLiteral("..")));
    EXPECT_FALSE(isValidFolderName(QStringLiteral("smile 😀")));
    EXPECT_FALSE(isValidFolderName(QString(QChar(0xD800)))); // a lone surrogate
}
