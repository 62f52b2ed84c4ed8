#include "bench/frames/FramesTimeline.h"
#include "BenchTestSupport.h"
#include "bench/frames/FramesTimelineModel.h"
#include "bench/frames/TimelineCell.h"
#include "bench/frames/TimelineHost.h"
#include "bench/inspect/FramesInspectorPage.h"
#include "bench/inspect/InspectorPane.h"
#include "imaging/model/Theme.h"
#include "inspectors/controls/NumericField.h"
#include "inspectors/frames/FramesInspector.h"

#include <QApplication>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;

namespace {

FramesSpec withDelays(const std::vector<qint64>& delays, const std::set<qint64>& skipped = {})
{
    FramesSpec spec = FramesSpec::fromDelays(delays);
    for (const qint64 position : skipped)
        spec.edits[size_t(position)].isSkipped = true;
    return spec;
}

// A bench over a 12-frame animation with its timeline on screen.
struct TimelineRig {
    explicit TimelineRig(int frames = 12)
        : model(benchOver(colourFramesGif(frames), QStringLiteral("blink.gif")))
        , host(*model)
    {
        host.resize(900, 160);
        host.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&host));
    }

    FramesTimeline& timeline() const { return *host.timeline(); }
    TimelineCell* cell(qint64 position) const { return timeline().cell(position); }
    void click(qint64 position, Qt::KeyboardModifiers modifiers = {}) const
    {
        QTest::mouseClick(cell(position), Qt::LeftButton, modifiers, QPoint(22, 22));
    }
    // Adds a frames row showing `inputs` and selects it.
    void selectFramesRow(const std::vector<qint64>& inputs) const
    {
        model->appendEntry(Treatment(framesShowing(inputs)));
    }
    FramesSpec rowSpec() const { return *row(*model, 0).treatment.framesSpec(); }

    std::unique_ptr<BenchModel> model;
    TimelineHost host;
};

} // namespace

TEST(FramesTimeline, TheHeaderSummarisesTimingSkipsSelectionAndFastDelays)
{
    const FramesSpec twelve = withDelays(std::vector<qint64>(12, 100));
    EXPECT_EQ(FramesTimelineModel::summaryText(twelve, 0), QStringLiteral("12 frames · 1.20 s · loops ∞"));
    EXPECT_EQ(FramesTimelineModel::summaryText(twelve, 3), QStringLiteral("12 frames · 1.20 s · loops 3"));
    EXPECT_EQ(FramesTimelineModel::summaryText(withDelays({1234}), 0),
        QStringLiteral("1 frames · 1.23 s · loops ∞"));
    EXPECT_EQ(FramesTimelineModel::skippedText(twelve), QString());
    EXPECT_EQ(
        FramesTimelineModel::skippedText(withDelays({10, 20, 30}, {0, 2})), QStringLiteral("· 2 skipped"));

    // Every edit skipped: no frame kept, the whole running time, no warning.
    const FramesSpec allSkipped = withDelays({10, 10, 100}, {0, 1, 2});
    EXPECT_EQ(FramesTimelineModel::summaryText(allSkipped, 0), QStringLiteral("0 frames · 0.12 s · loops ∞"));
    EXPECT_EQ(FramesTimelineModel::dominantDelay(allSkipped), std::nullopt);
    EXPECT_EQ(FramesTimelineModel::fastDelayWarning(allSkipped), QString());

    EXPECT_EQ(FramesTimelineModel::selectionText(twelve, {2}), QStringLiteral("selected · 3 of 12"));
    EXPECT_EQ(FramesTimelineModel::selectionText(twelve, {2, 3, 4}), QStringLiteral("selected · 3–5 of 12"));
    EXPECT_EQ(FramesTimelineModel::selectionText(twelve, {0, 2, 5, 9}), QStringLiteral("selected · 4 of 12"));
    EXPECT_EQ(FramesTimelineModel::selectionText(twelve, {}), QString());
    // Positions past the end are left out of the count, the run and the shown text.
    EXPECT_EQ(FramesTimelineModel::selectionText(twelve, {10, 11, 12, 40}),
        QStringLiteral("selected · 11–12 of 12"));
    EXPECT_EQ(FramesTimelineModel::selectionText(withDelays({100, 100}), {5, 6}), QString());

    EXPECT_EQ(FramesTimelineModel::fastDelayWarning(withDelays({10, 100})),
        QStringLiteral("! delays under 20 ms play at ~10 fps in browsers"));
    EXPECT_EQ(FramesTimelineModel::fastDelayWarning(withDelays({0, 0, 100})), QString());
    EXPECT_EQ(FramesTimelineModel::fastDelayWarning(withDelays({10, 100}, {0})), QString());
}

TEST(FramesTimeline, OnlyDelaysAwayFromTheDominantOneAndSkippedFramesStandOut)
{
    const FramesSpec three = withDelays({20, 20, 70});
    const std::optional<qint64> dominant = FramesTimelineModel::dominantDelay(three);
    EXPECT_EQ(dominant, 20);
    EXPECT_FALSE(FramesTimelineModel::delayStandsOut(three.edits[0], dominant));
    EXPECT_TRUE(FramesTimelineModel::delayStandsOut(three.edits[2], dominant));

    const FramesSpec two = withDelays({20, 70, 20}, {2});
    EXPECT_EQ(FramesTimelineModel::dominantDelay(two), std::nullopt);
    EXPECT_FALSE(FramesTimelineModel::delayStandsOut(two.edits[1], std::nullopt));
    EXPECT_TRUE(FramesTimelineModel::delayStandsOut(two.edits[2], std::nullopt));

    EXPECT_EQ(FramesTimelineModel::cellToolTip(two.edits[1], 2), QStringLiteral("Frame 3 · 70 ms"));
    EXPECT_EQ(FramesTimelineModel::cellToolTip(two.edits[2], 2),
        QStringLiteral("Skipped — its 20 ms folds into the frame before it"));

    // On screen: the fields take the warning colour exactly where the rule says.
    TimelineRig rig(3);
    FramesSpec spec = framesShowing({0, 1, 2});
    spec.edits = {{0, 20, false}, {1, 20, false}, {2, 70, false}};
    rig.model->appendEntry(Treatment(spec));
    EXPECT_EQ(rig.cell(0)->delayField()->textColorRole(), &Theme::inkSecondary);
    EXPECT_EQ(rig.cell(2)->delayField()->textColorRole(), &Theme::rust);
}

TEST(FramesTimeline, ClicksMoveThePlayheadAndBuildTheSelection)
{
    TimelineRig rig;
    rig.selectFramesRow({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
    ASSERT_TRUE(rig.timeline().editable());
    ASSERT_EQ(rig.timeline().cellCount(), 12);

    rig.click(3);
    EXPECT_EQ(rig.model->playhead(), 3);
    EXPECT_EQ(rig.model->frameSelection(), FrameSelection{3});
    EXPECT_TRUE(rig.cell(3)->look().selected);
    EXPECT_TRUE(rig.cell(3)->look().playhead);
    EXPECT_EQ(rig.timeline().headerTexts().selection, QStringLiteral("selected · 4 of 12"));

    rig.model->setFrameSelection({2, 4});
    rig.click(7, Qt::ShiftModifier);
    EXPECT_EQ(rig.model->frameSelection(), (FrameSelection{2, 3, 4, 5, 6, 7}));
    rig.click(0, Qt::ShiftModifier);
    EXPECT_EQ(rig.model->frameSelection(), (FrameSelection{0, 1, 2, 3, 4, 5, 6, 7}));

    rig.click(5, Qt::ControlModifier);
    EXPECT_EQ(rig.model->frameSelection(), (FrameSelection{0, 1, 2, 3, 4, 6, 7}));
    rig.click(5, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(rig.model->frameSelection(), (FrameSelection{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(rig.model->playhead(), 5);

    // Shift with nothing selected, and Shift over a selection that lies wholly past the end.
    rig.model->setFrameSelection({});
    rig.click(6, Qt::ShiftModifier);
    EXPECT_EQ(rig.model->frameSelection(), FrameSelection{6});
    rig.model->setFrameSelection({20, 30});
    rig.click(9, Qt::ShiftModifier);
    EXPECT_EQ(rig.model->frameSelection(), FrameSelection{9});
    rig.model->setFrameSelection({1, 30});
    rig.click(4, Qt::ShiftModifier);
    EXPECT_EQ(rig.model->frameSelection(), (FrameSelection{1, 2, 3, 4}));
}

TEST(FramesTimeline, TheReadOnlyStripOnlyMovesThePlayhead)
{
    TimelineRig rig;
    ASSERT_EQ(sourceFrameCount(*rig.model), 12u);
    rig.model->setFrameSelection({1});
    EXPECT_FALSE(rig.timeline().editable());
    EXPECT_EQ(rig.cell(0)->delayField(), nullptr);
    EXPECT_EQ(rig.timeline().headerTexts().hint, FramesTimeline::readOnlyHint);
    EXPECT_EQ(rig.timeline().headerTexts().summary, QStringLiteral("12 frames · 1.20 s · loops ∞"));

    rig.click(4, Qt::ShiftModifier);
    EXPECT_EQ(rig.model->playhead(), 4);
    EXPECT_EQ(rig.model->frameSelection(), FrameSelection{1});
    EXPECT_TRUE(rig.cell(4)->look().playhead);
    EXPECT_FALSE(rig.cell(1)->look().selected);
    EXPECT_EQ(*rig.model->rendered(), rig.model->sourceStrip()->frames[4]);

    // It shows what the canvas plays: a frames row that keeps three frames, with a later row selected.
    FramesSpec three = framesShowing({0, 5, 9});
    three.edits[1].isSkipped = true;
    rig.model->appendEntry(Treatment(three));
    rig.model->appendEntry(Treatment(brighter()));
    EXPECT_FALSE(rig.timeline().editable());
    EXPECT_EQ(rig.timeline().cellCount(), 2);
    EXPECT_EQ(rig.timeline().headerTexts().summary, QStringLiteral("2 frames · 0.30 s · loops ∞"));
    EXPECT_EQ(rig.cell(1)->look().frame, rig.model->sourceStrip()->frames[9]);
}

TEST(FramesTimeline, AClickAfterReversingShowsThatCellsFrameOnTheCanvas)
{
    TimelineRig rig(4);
    rig.selectFramesRow({0, 1, 2, 3});
    FramesSpec reversed = rig.rowSpec();
    std::reverse(reversed.edits.begin(), reversed.edits.end());
    rig.model->setTreatment(0, Treatment(reversed));
    ASSERT_EQ(sourceFrameCount(*rig.model), 4u);
    const std::vector<QImage>& frames = rig.model->sourceStrip()->frames;
    EXPECT_EQ(rig.cell(0)->look().frame, frames[3]);
    rig.click(1);
    EXPECT_EQ(*rig.model->rendered(), frames[2]);
    rig.click(3);
    EXPECT_EQ(*rig.model->rendered(), frames[0]);
}

TEST(FramesTimeline, AnEditWithoutAFrameShowsAnEmptyOutlinedCellThatCanBeSelected)
{
    TimelineRig rig(2);
    rig.selectFramesRow({0, 7});
    TimelineCell* empty = rig.cell(1);
    EXPECT_TRUE(empty->look().frame.isNull());
    rig.click(1);
    EXPECT_EQ(rig.model->frameSelection(), FrameSelection{1});

    const QImage shown = empty->grab().toImage();
    const QColor middle = shown.pixelColor(shown.width() / 2, shown.width() / 2);
    EXPECT_EQ(middle.rgb(), Theme::background().rgb());
    const QColor edge = shown.pixelColor(shown.width() / 2, 1);
    EXPECT_NE(edge.rgb(), Theme::background().rgb()); // the selection's outline
}

TEST(FramesTimeline, DelayFieldsStoreStepsOfTenWithinWhatAGifKeeps)
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    TimelineRig rig(3);
    rig.selectFramesRow({0, 1, 2});
    NumericField* field = rig.cell(1)->delayField();
    ASSERT_NE(field, nullptr);
    ASSERT_EQ(rig.rowSpec().edits.size(), 3u);
    EXPECT_EQ(field->toolTip(),
        QStringLiteral("Delay in milliseconds. GIF stores hundredths, so this rounds to the nearest 10."));
    const auto type = [&](const QString& text) {
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
        return rig.rowSpec().edits[1].delay;
    };
    EXPECT_EQ(type(QStringLiteral("45")), 50);
    EXPECT_EQ(field->text(), QStringLiteral("50"));
    EXPECT_EQ(rig.timeline().headerTexts().summary, QStringLiteral("3 frames · 0.25 s · loops ∞"));
    EXPECT_EQ(type(QStringLiteral("-20")), 0);
    EXPECT_EQ(type(QStringLiteral("abc")), 0);
    EXPECT_EQ(field->text(), QStringLiteral("0"));
    EXPECT_EQ(type(QStringLiteral("9223372036854775807")), 655350);
    EXPECT_EQ(field->text(), QStringLiteral("655,350"));
    EXPECT_EQ(rig.rowSpec().edits[0].delay, 100);

    // A press in the field edits it and is no click on the cell.
    rig.model->setFrameSelection({0});
    QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(rig.model->frameSelection(), FrameSelection{0});
    EXPECT_TRUE(field->hasFocus());

    // A binding for a position that is gone reads 0 and writes nothing.
    const Binding<qint64> gone = rig.timeline().delayBinding(3);
    EXPECT_EQ(gone.get(), 0);
    gone.set(40);
    EXPECT_EQ(rig.rowSpec().edits.size(), 3u);
    QLocale::setDefault(previous);
}

TEST(FramesTimeline, TheFramesInspectorActsOnWhatTheStripSelects)
{
    TimelineRig rig(6);
    ASSERT_EQ(sourceFrameCount(*rig.model), 6u);
    InspectorPane pane(*rig.model);
    rig.selectFramesRow({0, 1, 2, 3, 4, 5});
    auto* page = qobject_cast<FramesInspectorPage*>(pane.page());
    ASSERT_NE(page, nullptr);
    FramesInspector& inspector = *page->inspector();

    rig.click(1);
    rig.click(3, Qt::ShiftModifier);
    EXPECT_EQ(inspector.applyButton()->text(), QStringLiteral("Apply to 3 selected"));
    inspector.skipButton()->click();
    EXPECT_TRUE(rig.cell(2)->look().edit.isSkipped);
    EXPECT_EQ(rig.timeline().headerTexts().skipped, QStringLiteral("· 3 skipped"));

    inspector.reverseButton()->click();
    EXPECT_EQ(rig.cell(0)->look().frame, rig.model->sourceStrip()->frames[5]);
    inspector.allButton()->click();
    EXPECT_EQ(rig.timeline().headerTexts().selection, QStringLiteral("selected · 1–6 of 6"));
}
