#include "inspectors/frames/FramesInspector.h"
#include "ButtonClicks.h"
#include "inspectors/controls/NumericField.h"
#include "inspectors/controls/ThemedLabel.h"

#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;

namespace {

QImage solid(QColor color)
{
    QImage image(6, 6, QImage::Format_RGBA8888_Premultiplied);
    image.fill(color);
    return image;
}

// The inspector over a spec and a selection kept here, as the bench keeps them.
struct InspectorRig {
    InspectorRig(FramesSpec start, std::vector<QImage> frames)
        : spec(std::move(start))
    {
        inspector.setSources(
            Binding<FramesSpec>([this] { return spec; }, [this](const FramesSpec& s) { spec = s; }),
            Binding<FrameSelection>(
                [this] { return selection; }, [this](const FrameSelection& s) { selection = s; }),
            std::move(frames));
        inspector.resize(250, 700);
        inspector.show();
    }
    // `count` edits of 100 ms over as many distinct frames.
    explicit InspectorRig(int count)
        : InspectorRig(FramesSpec::fromDelays(std::vector<qint64>(size_t(count), 100)), distinctFrames(count))
    { }

    static std::vector<QImage> distinctFrames(int count)
    {
        std::vector<QImage> frames;
        for (int i = 0; i < count; ++i)
            frames.push_back(solid(QColor(i * 20, 0, 0)));
        return frames;
    }
    void select(FrameSelection positions)
    {
        selection = std::move(positions);
        inspector.refresh();
    }
    static void enter(NumericField* field, const QString& text)
    {
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
    }
    std::vector<qint64> kept() const
    {
        std::vector<qint64> positions;
        for (size_t i = 0; i < spec.edits.size(); ++i) {
            if (!spec.edits[i].isSkipped)
                positions.push_back(qint64(i));
        }
        return positions;
    }

    FramesSpec spec;
    FrameSelection selection;
    FramesInspector inspector;
};

} // namespace

TEST(FramesInspector, TheRestKeepsOneFrameInEveryN)
{
    InspectorRig rig(10);
    EXPECT_EQ(rig.inspector.title(), QStringLiteral("Frames"));
    EXPECT_EQ(rig.inspector.everyNthField()->text(), QStringLiteral("2"));
    InspectorRig::enter(rig.inspector.everyNthField(), QStringLiteral("3"));
    rig.inspector.restButton()->click();
    EXPECT_EQ(rig.selection, (FrameSelection{1, 2, 4, 5, 7, 8}));
    rig.inspector.skipButton()->click();
    EXPECT_EQ(rig.kept(), (std::vector<qint64>{0, 3, 6, 9}));
    EXPECT_EQ(rig.selection, (FrameSelection{1, 2, 4, 5, 7, 8})); // modifying leaves the selection

    for (const QString& n : {QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("-4")}) {
        InspectorRig::enter(rig.inspector.everyNthField(), n);
        EXPECT_FALSE(rig.inspector.restButton()->isEnabled()) << n.toStdString();
    }
}

TEST(FramesInspector, ButtonsActOnlyOnSelectedPositionsThatExist)
{
    InspectorRig rig(4);
    EXPECT_TRUE(rig.inspector.allButton()->isEnabled());
    for (QPushButton* button : {rig.inspector.noneButton(), rig.inspector.skipButton(),
             rig.inspector.keepButton(), rig.inspector.applyButton()})
        EXPECT_FALSE(button->isEnabled()) << button->text().toStdString();
    EXPECT_EQ(rig.inspector.applyButton()->text(), QStringLiteral("Apply to 0 selected"));

    rig.inspector.allButton()->click();
    EXPECT_EQ(rig.selection, (FrameSelection{0, 1, 2, 3}));
    EXPECT_FALSE(rig.inspector.allButton()->isEnabled());
    EXPECT_EQ(rig.inspector.applyButton()->text(), QStringLiteral("Apply to 4 selected"));
    rig.inspector.noneButton()->click();
    EXPECT_TRUE(rig.selection.empty());

    // A selection left over from a longer row: nothing of it is counted, shown or acted on.
    InspectorRig stale(2);
    stale.select({5, 6});
    EXPECT_TRUE(stale.inspector.allButton()->isEnabled());
    EXPECT_FALSE(stale.inspector.applyButton()->isEnabled());
    EXPECT_FALSE(stale.inspector.skipButton()->isEnabled());
    EXPECT_EQ(stale.inspector.applyButton()->text(), QStringLiteral("Apply to 0 selected"));
    stale.select({1, 5, 6});
    EXPECT_EQ(stale.inspector.applyButton()->text(), QStringLiteral("Apply to 1 selected"));
    stale.inspector.noneButton()->click();
    EXPECT_TRUE(stale.selection.empty()); // "None" clears the whole set

    // No edits at all: "All" has nothing to select.
    InspectorRig empty(0);
    EXPECT_FALSE(empty.inspector.allButton()->isEnabled());
}

TEST(FramesInspector, SkipAndKeepClickedActOnTheSelectionEachTheirOwnWay)
{
    InspectorRig rig(5);
    rig.select({0, 2});
    clickButton(&rig.inspector, QStringLiteral("Skip"));
    EXPECT_EQ(rig.kept(), (std::vector<qint64>{1, 3, 4}));
    rig.select({2, 3});
    clickButton(&rig.inspector, QStringLiteral("Keep"));
    EXPECT_EQ(rig.kept(), (std::vector<qint64>{1, 2, 3, 4}));
    EXPECT_EQ(rig.selection, (FrameSelection{2, 3}));
}

TEST(FramesInspector, ApplyingADelayRoundsItAndWarnsOfWhatWasEntered)
{
    InspectorRig rig(4);
    EXPECT_EQ(rig.inspector.delayField()->text(), QStringLiteral("80"));
    rig.select({0, 2});
    InspectorRig::enter(rig.inspector.delayField(), QStringLiteral("85"));
    rig.inspector.applyButton()->click();
    ASSERT_EQ(rig.spec.edits.size(), 4u);
    EXPECT_EQ(rig.spec.edits[0].delay, 90);
    EXPECT_EQ(rig.spec.edits[1].delay, 100);
    EXPECT_EQ(rig.spec.edits[2].delay, 90);

    const auto warns = [&](const QString& delay) {
        InspectorRig::enter(rig.inspector.delayField(), delay);
        return !rig.inspector.warning()->isHidden();
    };
    EXPECT_TRUE(warns(QStringLiteral("19")));
    EXPECT_EQ(
        rig.inspector.warning()->text(), QStringLiteral("! under 20 ms plays at about 10 fps in browsers"));
    EXPECT_FALSE(warns(QStringLiteral("20")));
    EXPECT_FALSE(warns(QStringLiteral("0")));
    EXPECT_FALSE(warns(QStringLiteral("-5")));
    rig.inspector.applyButton()->click();
    ASSERT_EQ(rig.spec.edits.size(), 4u);
    EXPECT_EQ(rig.spec.edits[0].delay, 0);
}

TEST(FramesInspector, ReversingMovesEveryEditAndLeavesTheSelection)
{
    InspectorRig rig(3);
    rig.spec.edits[2].isSkipped = true;
    rig.select({0});
    rig.inspector.reverseButton()->click();
    EXPECT_EQ(rig.spec.edits, (std::vector<FrameEdit>{{2, 100, true}, {1, 100, false}, {0, 100, false}}));
    EXPECT_EQ(rig.selection, FrameSelection{0});
}

TEST(FramesInspector, DuplicatesAreKeptFramesThatRepeatTheKeptFrameBefore)
{
    const QImage a = solid(Qt::red);
    const QImage b = solid(Qt::blue);
    InspectorRig rig(FramesSpec::fromDelays({100, 100, 100, 100, 100}), {a, a, b, b, b});
    EXPECT_EQ(rig.inspector.duplicatesButton()->text(), QStringLiteral("Duplicates · 3 found"));
    rig.inspector.duplicatesButton()->click();
    EXPECT_EQ(rig.selection, (FrameSelection{1, 3, 4}));

    FramesSpec middleSkipped = FramesSpec::fromDelays({100, 100, 100});
    middleSkipped.edits[1].isSkipped = true;
    InspectorRig skipping(middleSkipped, {a, a.copy(), a.copy()});
    EXPECT_EQ(skipping.inspector.duplicatesButton()->text(), QStringLiteral("Duplicates · 1 found"));
    skipping.inspector.duplicatesButton()->click();
    EXPECT_EQ(skipping.selection, FrameSelection{2});

    InspectorRig distinct(4);
    EXPECT_EQ(distinct.inspector.duplicatesButton()->text(), QStringLiteral("No duplicates found"));
    EXPECT_FALSE(distinct.inspector.duplicatesButton()->isEnabled());
}

TEST(FramesInspector, DuplicatesAreCountedOncePerChangeOfFramesOrOrder)
{
    const QImage a = solid(Qt::red);
    InspectorRig rig(FramesSpec::fromDelays({100, 100, 100}), {a, a, solid(Qt::blue)});
    FramesInspectorModel& model = rig.inspector.model();
    const qint64 counted = model.duplicateCounts();
    for (int i = 0; i < 5; ++i) {
        rig.inspector.refresh();
        rig.inspector.repaint();
    }
    rig.select({0, 1});
    rig.inspector.applyButton()->click(); // delays do not matter to what repeats
    EXPECT_EQ(model.duplicateCounts(), counted);

    rig.inspector.skipButton()->click();
    EXPECT_EQ(model.duplicateCounts(), counted + 1);
    EXPECT_EQ(rig.inspector.duplicatesButton()->text(), QStringLiteral("No duplicates found"));
}
