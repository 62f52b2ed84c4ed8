#include "collection/chrome/SplitGeometry.h"
#include "collection/list/ByteCountText.h"
#include "collection/list/RenameField.h"
#include "collection/list/WordBoundaries.h"

#include <gtest/gtest.h>

using namespace plenoria;

TEST(ByteCountText, WritesDecimalUnitsLikeAFileManager)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const std::pair<qint64, const char*> cases[] = {
        {0, "Zero KB"},
        {1, "1 byte"},
        {999, "999 bytes"},
        {1000, "1 KB"},
        {1499, "1 KB"},
        {1500, "2 KB"},
        {999499, "999 KB"},
        {999500, "1 MB"},
        {1000000, "1 MB"},
        {1500000, "1.5 MB"},
        {1049999, "1 MB"},
        {12345678, "12.3 MB"},
        {999960000, "1 GB"},
        {2340000000, "2.34 GB"},
        {5000000000000, "5 TB"},
    };
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(byteCountText(bytes, english), QString::fromUtf8(text)) << bytes;
    EXPECT_EQ(byteCountText(1500000, QLocale(QLocale::German, QLocale::Germany)), QStringLiteral("1,5 MB"));
}

TEST(WordBoundaries, OnlyLettersAndDigitsMakeWords)
{
    const QString name = QStringLiteral("party-parrot_big.gif");
    qsizetype at = name.size();
    QList<qsizetype> leftStops;
    for (int step = 0; step < 5; ++step)
        leftStops << (at = previousWordBoundary(name, at));
    EXPECT_EQ(leftStops, (QList<qsizetype>{17, 13, 6, 0, 0}));

    at = 0;
    QList<qsizetype> rightStops;
    for (int step = 0; step < 5; ++step)
        rightStops << (at = nextWordBoundary(name, at));
    EXPECT_EQ(rightStops, (QList<qsizetype>{5, 12, 16, 20, 20}));

    const QString spaced = QStringLiteral("party parrot   ");
    EXPECT_EQ(previousWordBoundary(spaced, spaced.size()), 6);
    EXPECT_EQ(nextWordBoundary(QStringLiteral("photo_2024.png"), 5), 10);
    EXPECT_EQ(previousWordBoundary(QStringLiteral("..."), 3), 0);
    EXPECT_EQ(nextWordBoundary(QString(), 0), 0);
}

TEST(WordBoundaries, EmojiSeparateWordsAndAreNeverSplit)
{
    // A thumbs-up with a skin tone: four UTF-16 units, one character, no word character.
    const QString name = QStringLiteral("ok\U0001F44D\U0001F3FDgo.png");
    EXPECT_EQ(nextWordBoundary(name, 2), 8);
    EXPECT_EQ(previousWordBoundary(name, 6), 0);
    EXPECT_EQ(previousWordBoundary(name, 8), 6);
    // From inside the emoji the move starts at its character.
    EXPECT_EQ(previousWordBoundary(name, 4), 0);
    EXPECT_EQ(nextWordBoundary(name, 3), 8);
}

TEST(RenameField, SelectsTheNameBeforeTheLastExtension)
{
    EXPECT_EQ(RenameField::baseNameLength(QStringLiteral("cat.png")), 3);
    EXPECT_EQ(RenameField::baseNameLength(QStringLiteral("archive.tar.gz")), 11);
    EXPECT_EQ(RenameField::baseNameLength(QStringLiteral(".hidden")), 7);
    EXPECT_EQ(RenameField::baseNameLength(QStringLiteral("README")), 6);
}

TEST(SplitGeometry, KeepsBothMinimumsInLayoutAndDrag)
{
    const SplitGeometry even = SplitGeometry::layout(808, 0.5, 120, 240);
    EXPECT_EQ(even.available, 800);
    EXPECT_EQ(even.leftWidth, 400);
    EXPECT_EQ(even.rightWidth, 400);

    EXPECT_EQ(SplitGeometry::layout(808, 0.05, 120, 240).leftWidth, 120);
    EXPECT_EQ(SplitGeometry::layout(808, 0.95, 120, 240).rightWidth, 240);
    EXPECT_EQ(SplitGeometry::layout(808, std::nan(""), 120, 240).leftWidth, 120);

    // Too narrow for both: each keeps its minimum and the content overflows.
    const SplitGeometry narrow = SplitGeometry::layout(300, 0.5, 120, 240);
    EXPECT_EQ(narrow.available, 360);
    EXPECT_EQ(narrow.leftWidth, 120);
    EXPECT_EQ(narrow.rightWidth, 240);

    EXPECT_DOUBLE_EQ(even.fractionForPointer(404, 120, 240), 0.5);
    EXPECT_DOUBLE_EQ(even.fractionForPointer(-50, 120, 240), 120.0 / 800);
    EXPECT_DOUBLE_EQ(even.fractionForPointer(5000, 120, 240), 560.0 / 800);
}
