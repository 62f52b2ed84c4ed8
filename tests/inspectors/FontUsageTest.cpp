#include "inspectors/text/FontUsage.h"
#include "ChildProcess.h"
#include "HeldSpec.h"
#include "inspectors/text/FontMenuBox.h"
#include "inspectors/text/FontPicker.h"
#include "inspectors/text/TextInspector.h"

#include <QAbstractItemView>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <limits>

using namespace plenoria;
using namespace plenoria::test;

namespace {

const QString seedText = QStringLiteral("Avenir Next=4\nBaskerville=6\nChalkboard SE=2\nGeorgia=7\n"
                                        "Helvetica Neue=5\nHerculanum=3\nMenlo=1\n");

// Font usage over settings of its own, read back by a fresh process.
struct UsageRig {
    UsageRig()
        : settings(dir.filePath(QStringLiteral("usage.ini")), QSettings::IniFormat)
    { }
    FontUsage usage(const QStringList& installed) { return FontUsage(&settings, installed); }
    QString stored()
    {
        settings.sync();
        return runChild(QStringLiteral("fontUsage"), settings.fileName());
    }
    void store(const QVariantMap& counts) { settings.setValue(FontUsage::countsKey, counts); }

    QTemporaryDir dir;
    QSettings settings;
};

const QStringList someSeedFamilies{"Baskerville", "Georgia", "Impact", "Menlo", "Zapfino"};

} // namespace

TEST(FontUsageTest, TheSeedRanksInstalledFamiliesBehindImpactAndReadingWritesNothing)
{
    UsageRig rig;
    EXPECT_EQ(rig.usage(someSeedFamilies).recentFamilies(),
        QStringList({"Impact", "Georgia", "Baskerville", "Menlo"}));
    QStringList withoutImpact = someSeedFamilies;
    withoutImpact.removeAll(QStringLiteral("Impact"));
    EXPECT_EQ(rig.usage(withoutImpact).recentFamilies(), QStringList({"Georgia", "Baskerville", "Menlo"}));
    const QStringList allSeven{"Avenir Next", "Baskerville", "Chalkboard SE", "Georgia", "Helvetica Neue",
        "Herculanum", "Impact", "Menlo"};
    EXPECT_EQ(rig.usage(allSeven).recentFamilies(),
        QStringList({"Impact", "Georgia", "Baskerville", "Helvetica Neue", "Avenir Next", "Herculanum",
            "Chalkboard SE", "Menlo"}));

    rig.usage(someSeedFamilies).recordUse(QStringLiteral("Impact"));
    EXPECT_EQ(rig.stored(), "nothing stored\n" + seedText) << "Impact is never counted";

    // Impact counted by hand is listed only when installed, and never twice.
    rig.store({{"Impact", 50}, {"Georgia", 1}});
    EXPECT_EQ(rig.usage(withoutImpact).recentFamilies(), QStringList({"Georgia"}));
    EXPECT_EQ(rig.usage(someSeedFamilies).recentFamilies(), QStringList({"Impact", "Georgia"}));
}

TEST(FontUsageTest, EveryChoiceIsStoredWithTheSeedAndTheMostUsedLead)
{
    UsageRig rig;
    rig.usage(someSeedFamilies).recordUse(QStringLiteral("Georgia"));
    EXPECT_EQ(rig.stored(), "stored\n" + QString(seedText).replace("Georgia=7", "Georgia=8"));

    UsageRig fresh;
    for (int i = 0; i < 9; ++i)
        fresh.usage(someSeedFamilies).recordUse(QStringLiteral("Futura"));
    EXPECT_EQ(fresh.stored(),
        "stored\nAvenir Next=4\nBaskerville=6\nChalkboard SE=2\nFutura=9\nGeorgia=7\n"
        "Helvetica Neue=5\nHerculanum=3\nMenlo=1\n");
    EXPECT_EQ(fresh.usage(someSeedFamilies + QStringList{"Futura"}).recentFamilies(),
        QStringList({"Impact", "Futura", "Georgia", "Baskerville", "Menlo"}));
    EXPECT_EQ(fresh.usage(someSeedFamilies).recentFamilies(),
        QStringList({"Impact", "Georgia", "Baskerville", "Menlo"}))
        << "a family no longer installed keeps its count but is not listed";
}

TEST(FontUsageTest, TheListHoldsEightFamiliesAtMost)
{
    UsageRig rig;
    QVariantMap counts;
    QStringList installed;
    for (int i = 0; i < 10; ++i) {
        const QString family = QStringLiteral("Family %1").arg(i);
        counts.insert(family, 10 + i);
        installed.append(family);
    }
    rig.store(counts);
    const QStringList recent = rig.usage(installed + QStringList{"Impact"}).recentFamilies();
    ASSERT_EQ(recent.size(), 8);
    EXPECT_EQ(recent.first(), "Impact");
    EXPECT_EQ(recent.at(1), "Family 9");
    EXPECT_EQ(recent.last(), "Family 3");
    const QStringList withoutImpact = rig.usage(installed).recentFamilies();
    ASSERT_EQ(withoutImpact.size(), 8);
    EXPECT_EQ(withoutImpact.first(), "Family 9");
    EXPECT_EQ(withoutImpact.last(), "Family 2");
}

TEST(FontUsageTest, AnyCountThatIsNotAWholeNumberSetsTheStoredMapAside)
{
    UsageRig rig;
    rig.store({{"Futura", 12.0}, {"Georgia", qint64(3)}});
    EXPECT_EQ(rig.usage(someSeedFamilies).countsOrDefault(),
        (QMap<QString, qint64>{{"Futura", 12}, {"Georgia", 3}}));
    rig.store({{"Futura", 2.5}});
    EXPECT_EQ(rig.usage(someSeedFamilies).countsOrDefault().value("Georgia"), 7);
    rig.store({{"Futura", QStringLiteral("12")}, {"Georgia", 1}});
    EXPECT_EQ(rig.usage(someSeedFamilies).recentFamilies(),
        QStringList({"Impact", "Georgia", "Baskerville", "Menlo"}));
    rig.settings.setValue(FontUsage::countsKey, QStringLiteral("Futura"));
    EXPECT_EQ(rig.usage(someSeedFamilies).countsOrDefault().value("Georgia"), 7);

    rig.store({{"Futura", QStringLiteral("12")}, {"Georgia", 1}});
    rig.usage(someSeedFamilies).recordUse(QStringLiteral("Futura"));
    EXPECT_EQ(rig.stored(),
        "stored\nAvenir Next=4\nBaskerville=6\nChalkboard SE=2\nFutura=1\nGeorgia=7\n"
        "Helvetica Neue=5\nHerculanum=3\nMenlo=1\n");
}

TEST(FontUsageTest, HandStoredExtremesRankWithoutWrappingRoundAndAreStoredAsTheyStand)
{
    constexpr qint64 most = std::numeric_limits<qint64>::max();
    constexpr qint64 least = std::numeric_limits<qint64>::min();
    UsageRig rig;
    const QStringList debian{"DejaVu Sans Mono", "DejaVu Serif", "Futura"};
    // Below zero counts as unused: Georgia's stand-in sums to 0, not round to the top.
    rig.store({{"Georgia", least}, {"DejaVu Serif", qint64(-1)}, {"Futura", 1}});
    EXPECT_EQ(rig.usage(debian).recentFamilies(), QStringList({"Futura", "DejaVu Serif"}));
    rig.store({{"Menlo", most}, {"DejaVu Sans Mono", most}, {"DejaVu Serif", most - 1}, {"Futura", 5}});
    EXPECT_EQ(
        rig.usage(debian).recentFamilies(), QStringList({"DejaVu Sans Mono", "DejaVu Serif", "Futura"}));

    rig.store({{"Menlo", most}, {"Georgia", least}});
    rig.usage(debian).recordUse(QStringLiteral("Menlo"));
    rig.usage(debian).recordUse(QStringLiteral("Georgia"));
    EXPECT_EQ(rig.stored(), "stored\nGeorgia=-9223372036854775807\nMenlo=9223372036854775807\n");
}

TEST(FontUsageTest, InstalledStandInsTakeTheSeedFamiliesPlaces)
{
    UsageRig rig;
    const QStringList debian{"Baskerville", "DejaVu Sans Mono", "DejaVu Serif", "TeX Gyre Heros"};
    EXPECT_EQ(rig.usage(debian).recentFamilies(),
        QStringList({"DejaVu Serif", "Baskerville", "TeX Gyre Heros", "DejaVu Sans Mono"}));
    // The family itself, when installed, keeps its own place; a stand-in adds its own count.
    EXPECT_EQ(rig.usage(debian + QStringList{"Georgia"}).recentFamilies(),
        QStringList({"Georgia", "Baskerville", "TeX Gyre Heros", "DejaVu Sans Mono"}));
    rig.store({{"Menlo", 4}, {"DejaVu Sans Mono", 3}, {"Georgia", 6}});
    EXPECT_EQ(rig.usage(debian).recentFamilies(), QStringList({"DejaVu Sans Mono", "DejaVu Serif"}));
    rig.usage(debian).recordUse(QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(rig.stored(), "stored\nDejaVu Sans Mono=3\nDejaVu Serif=1\nGeorgia=6\nMenlo=4\n")
        << "the stored counts keep the names as picked";
}

TEST(FontUsageTest, ThePickerCountsEveryChangeOfTheBoundFamilyButNotTheFirst)
{
    UsageRig rig;
    const QStringList installed{"DejaVu Serif", "Futura", "Georgia", "Impact", "Menlo"};
    HeldSpec<TextSpec> georgia;
    georgia.spec.content = QStringLiteral("OMG");
    georgia.spec.fontName = QStringLiteral("Georgia");
    georgia.spec.size = 20;
    TextInspector inspector(georgia.binding(), {64, 64}, rig.usage(installed));
    FontMenuBox* box = inspector.fontPicker()->box();
    EXPECT_EQ(rig.stored(), "nothing stored\n" + seedText) << "loading a spec counts nothing";

    // The menu: the recent families, a divider, every installed family, each in its own face.
    EXPECT_EQ(box->recentRowCount(), 3);
    EXPECT_EQ(box->count(), 3 + 1 + 5);
    EXPECT_EQ(box->itemData(3, Qt::AccessibleDescriptionRole).toString(), "separator");
    EXPECT_EQ(box->itemText(1), "Georgia");
    EXPECT_EQ(box->itemText(4), "DejaVu Serif");
    const QFont face = box->itemData(6, Qt::FontRole).value<QFont>();
    EXPECT_EQ(face.families(), QStringList({"Georgia"}));
    EXPECT_EQ(face.pixelSize(), 12);
    EXPECT_EQ(box->currentIndex(), 1);

    emit box->activated(5);
    EXPECT_EQ(georgia.spec.fontName, "Futura");
    EXPECT_EQ(georgia.writes, 1);
    inspector.refresh();
    EXPECT_TRUE(rig.stored().contains("\nFutura=1\n")) << "counted once, also when the bench looks again";

    // Selecting another text row in Menlo counts Menlo; its recent place follows at the next opening.
    HeldSpec<TextSpec> menlo;
    menlo.spec = georgia.spec;
    menlo.spec.fontName = QStringLiteral("Menlo");
    inspector.setInputs(menlo.binding(), {64, 64});
    EXPECT_TRUE(rig.stored().contains("\nMenlo=2\n"));
    EXPECT_EQ(menlo.writes, 0);
    box->showPopup();
    EXPECT_EQ(box->recentRowCount(), 4);
    EXPECT_EQ(box->itemText(0), "Impact");
    EXPECT_EQ(box->itemText(box->currentIndex()), "Menlo");
    box->hidePopup();

    // A family that is not installed stays in the row and shows as the box's text.
    menlo.spec.fontName = QStringLiteral("Herculanum");
    inspector.refresh();
    EXPECT_EQ(box->currentIndex(), -1);
    EXPECT_EQ(box->shownFamily(), "Herculanum");
    EXPECT_EQ(menlo.spec.fontName, "Herculanum");
}

TEST(FontUsageTest, ALetterTypedOnTheClosedBoxOpensTheListAtTheMatchAndCountsNothing)
{
    UsageRig rig;
    HeldSpec<TextSpec> held;
    held.spec.fontName = QStringLiteral("Georgia");
    TextInspector inspector(
        held.binding(), {64, 64}, rig.usage({"DejaVu Serif", "Futura", "Georgia", "Menlo"}));
    inspector.show();
    FontMenuBox* box = inspector.fontPicker()->box();
    // A letter with Alt types nothing: the closed box would otherwise pick the match and count it.
    QTest::keyClick(box, Qt::Key_M, Qt::AltModifier);
    EXPECT_FALSE(box->view()->isVisible());
    EXPECT_EQ(held.spec.fontName, "Georgia");
    QTest::keyClick(box, Qt::Key_F);
    EXPECT_TRUE(box->view()->isVisible());
    EXPECT_EQ(box->view()->currentIndex().data().toString(), "Futura");
    EXPECT_EQ(held.writes, 0);
    EXPECT_EQ(rig.stored(), "nothing stored\n" + seedText);
    // Closing the list on that family is the pick that counts.
    QTest::keyClick(box->view(), Qt::Key_Return);
    EXPECT_TRUE(rig.stored().contains("\nFutura=1\n"));
}
