#include "collection/list/NameFilter.h"
#include "collection/list/SortOrder.h"

#include <gtest/gtest.h>

using namespace plenoria;

namespace {

ImageItem item(const QString& name, qint64 bytes = 0, std::optional<QSizeF> pixels = std::nullopt,
    GIFTiming timing = GIFTiming::still())
{
    ImageItem made;
    made.url = QUrl::fromLocalFile(QStringLiteral("/f/") + name);
    made.filename = name;
    made.type = name.section(QLatin1Char('.'), -1);
    made.byteSize = bytes;
    made.pixelSize = pixels;
    made.gifTiming = timing;
    return made;
}

QStringList names(const QList<ImageItem>& items)
{
    QStringList result;
    for (const ImageItem& entry : items)
        result << entry.filename;
    return result;
}

SortOrder by(SortColumn column, bool ascending = true)
{
    SortOrder order;
    order.keys = {SortKey{column, ascending}};
    return order;
}

} // namespace

TEST(SortOrder, NamesSortLikeAFileManager)
{
    const QList<ImageItem> items{item("img10.png"), item("zebra.png"), item("img2.png"), item("Apple.gif"),
        item("\u00E9clair.png"), item("banana.png"), item("eel.png")};
    EXPECT_EQ(names(SortOrder().sorted(items)),
        (QStringList{
            "Apple.gif", "banana.png", "\u00E9clair.png", "eel.png", "img2.png", "img10.png", "zebra.png"}));
    EXPECT_EQ(names(by(SortColumn::name, false).sorted(items)).first(), QStringLiteral("zebra.png"));
}

TEST(SortOrder, NamesThatDifferOnlyInCaseStillHaveAnOrder)
{
    const QList<ImageItem> one{item("cat.png"), item("Cat.png")};
    const QList<ImageItem> other{item("Cat.png"), item("cat.png")};
    EXPECT_EQ(names(SortOrder().sorted(one)), names(SortOrder().sorted(other)));
    EXPECT_LT(compareFilenames(QStringLiteral("a.png"), QStringLiteral("B.png")), 0);
    EXPECT_NE(compareFilenames(QStringLiteral("cat.png"), QStringLiteral("Cat.png")), 0);
}

TEST(SortOrder, TypesSortAsPlainText)
{
    const QList<ImageItem> items{item("a.WEBP"), item("b.PNG"), item("c.GIF"), item("d.JPEG"), item("e.gif")};
    // Plain code-unit order: upper case before lower case, not the locale's order.
    EXPECT_EQ(names(by(SortColumn::type).sorted(items)),
        (QStringList{"c.GIF", "d.JPEG", "b.PNG", "a.WEBP", "e.gif"}));
}

TEST(SortOrder, TiesKeepTheListingOrderOrFallToTheNextKey)
{
    const QList<ImageItem> items{item("b.png", 5), item("a.png", 5), item("c.png", 1)};
    EXPECT_EQ(names(by(SortColumn::size).sorted(items)), (QStringList{"c.png", "b.png", "a.png"}));

    SortOrder sizeThenName;
    sizeThenName.keys = {SortKey{SortColumn::size, false}, SortKey{SortColumn::name, true}};
    EXPECT_EQ(names(sizeThenName.sorted(items)), (QStringList{"a.png", "b.png", "c.png"}));
}

TEST(SortOrder, PixelsCountTheAreaWithUnknownSizesFirst)
{
    const QList<ImageItem> items{item("square.png", 0, QSizeF(32, 32)), item("tall.png", 0, QSizeF(16, 64)),
        item("unknown.png"), item("big.png", 0, QSizeF(100, 100))};
    EXPECT_EQ(names(by(SortColumn::pixels).sorted(items)),
        (QStringList{"unknown.png", "square.png", "tall.png", "big.png"}));
}

TEST(SortOrder, TimingPutsUnhealthyAnimationsFirstAndStillsLast)
{
    const QList<ImageItem> items{item("still.png"),
        item("slow.gif", 0, {}, GIFTiming::makeAnimated(100, true)),
        item("broken.gif", 0, {}, GIFTiming::makeAnimated(0, false)),
        item("fast.gif", 0, {}, GIFTiming::makeAnimated(20, true))};
    EXPECT_EQ(names(by(SortColumn::timing).sorted(items)),
        (QStringList{"broken.gif", "fast.gif", "slow.gif", "still.png"}));
    EXPECT_EQ(names(by(SortColumn::timing, false).sorted(items)),
        (QStringList{"still.png", "slow.gif", "fast.gif", "broken.gif"}));
}

TEST(SortOrder, HeaderClicksLeadWithTheColumnAndReverseItOnRepeat)
{
    const SortOrder start;
    const SortOrder bySize = start.afterHeaderClick(SortColumn::size);
    EXPECT_EQ(bySize.keys, (QList<SortKey>{{SortColumn::size, true}, {SortColumn::name, true}}));
    const SortOrder reversed = bySize.afterHeaderClick(SortColumn::size);
    EXPECT_EQ(reversed.keys, (QList<SortKey>{{SortColumn::size, false}, {SortColumn::name, true}}));
    // A column that already sorts comes first again with the direction it had.
    const SortOrder nameFirst = reversed.afterHeaderClick(SortColumn::name);
    EXPECT_EQ(nameFirst.keys, (QList<SortKey>{{SortColumn::name, true}, {SortColumn::size, false}}));
    const QList<SortKey> flipped = nameFirst.afterHeaderClick(SortColumn::name).keys;
    ASSERT_FALSE(flipped.isEmpty());
    EXPECT_EQ(flipped.first(), (SortKey{SortColumn::name, false}));
}

TEST(NameFilter, TrimsSpacesAndTabsAndIgnoresLetterCase)
{
    const QList<ImageItem> items{item("Cat.PNG"), item("concat.gif"), item("dog.png")};
    EXPECT_EQ(
        names(NameFilter(QStringLiteral(" \tcat  ")).apply(items)), (QStringList{"Cat.PNG", "concat.gif"}));
    EXPECT_EQ(names(NameFilter(QStringLiteral("   ")).apply(items)).size(), 3);
    EXPECT_TRUE(NameFilter(QStringLiteral(" \t ")).isEmpty());
    // Line breaks are part of the query, so nothing matches.
    EXPECT_TRUE(NameFilter(QStringLiteral("cat\n")).apply(items).isEmpty());
    EXPECT_EQ(NameFilter(QStringLiteral("  cat\n ")).trimmedQuery(), QStringLiteral("cat\n"));
}

TEST(NameFilter, FollowsTheLocalesLetterCase)
{
    const QString istanbul = QStringLiteral("\u0130stanbul.png"); // capital I with a dot
    EXPECT_TRUE(
        NameFilter(QStringLiteral("istanbul"), QLocale(QLocale::Turkish, QLocale::Turkey)).matches(istanbul));
    EXPECT_TRUE(NameFilter(QStringLiteral("STRASSE"), QLocale::c()).matches(QStringLiteral("strasse.png")));
    EXPECT_FALSE(NameFilter(QStringLiteral("dog"), QLocale::c()).matches(QStringLiteral("cat.png")));
}
