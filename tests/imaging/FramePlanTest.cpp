#include "SyntheticImages.h"
#include "imaging/model/TreatmentEntry.h"
#include "imaging/read/Filmstrip.h"
#include "imaging/render/Renderer.h"

#include <gtest/gtest.h>
#include <limits>

using namespace plenoria;
using namespace plenoria::test;

namespace {

std::vector<FramePlan> threeFrames()
{
    return {{0, 10}, {1, 20}, {2, 30}};
}

FramesSpec edits(std::initializer_list<FrameEdit> list)
{
    return FramesSpec{std::vector<FrameEdit>(list)};
}

} // namespace

TEST(FramesApply, SkippedTimeFoldsIntoTheFrameBeforeOrTheFirstKept)
{
    EXPECT_EQ(edits({{0, 100, false}, {1, 50, true}, {2, 100, false}}).apply(threeFrames()),
        (std::vector<FramePlan>{{0, 150}, {2, 100}}));
    EXPECT_EQ(
        edits({{0, 40, true}, {1, 100, false}}).apply(threeFrames()), (std::vector<FramePlan>{{1, 140}}));
    // Time skipped at the start goes to the first kept frame only; at the end, to the last one.
    EXPECT_EQ(edits({{0, 40, true}, {1, 100, false}, {2, 60, false}}).apply(threeFrames()),
        (std::vector<FramePlan>{{1, 140}, {2, 60}}));
    EXPECT_EQ(edits({{0, 30, true}, {1, 100, false}, {2, 50, false}, {0, 20, true}}).apply(threeFrames()),
        (std::vector<FramePlan>{{1, 130}, {2, 70}}));
    // The edits' own delays count, not the incoming plan's.
    EXPECT_EQ(edits({{2, 70, false}, {2, 80, false}}).apply(threeFrames()),
        (std::vector<FramePlan>{{2, 70}, {2, 80}}));
}

TEST(FramesApply, NothingKeptOrOutOfRangeLeavesThePlan)
{
    EXPECT_EQ(edits({{0, 100, true}, {1, 100, true}, {2, 100, true}}).apply(threeFrames()), threeFrames());
    EXPECT_EQ(FramesSpec{}.apply(threeFrames()), threeFrames());
    // An out-of-range edit neither shows nor carries its time.
    EXPECT_EQ(edits({{7, 500, false}, {-1, 500, true}, {1, 60, false}}).apply(threeFrames()),
        (std::vector<FramePlan>{{1, 60}}));
}

TEST(FramePlanOfRecord, FramesEntriesComposeInOrderAndOthersDoNothing)
{
    const std::vector<qint64> delays = {100, 100};
    EXPECT_EQ(Renderer::framePlan({}, delays), (std::vector<FramePlan>{{0, 100}, {1, 100}}));

    const TreatmentRecord reverse
        = {TreatmentEntry(CropSpec{0, 0, 5, 5}), TreatmentEntry(edits({{1, 100, false}, {0, 100, false}}))};
    EXPECT_EQ(Renderer::framePlan(reverse, delays), (std::vector<FramePlan>{{1, 100}, {0, 100}}));

    // The second entry indexes the first's output: its input 0 is source frame 2.
    const std::vector<qint64> four = {10, 10, 10, 10};
    const TreatmentRecord twice = {TreatmentEntry(edits({{2, 30, false}, {3, 40, false}})),
        TreatmentEntry(edits({{1, 50, false}, {0, 60, false}, {0, 70, false}}))};
    EXPECT_EQ(Renderer::framePlan(twice, four), (std::vector<FramePlan>{{3, 50}, {2, 60}, {2, 70}}));
}

TEST(FrameEditing, DelaysKeepStepsOfTenAndSelectionsOnlyTouchTheirPositions)
{
    const FramesSpec spec = FramesSpec::fromDelays({100, 100, 100});
    const auto delayOf = [&](qint64 ms) { return spec.settingDelay(ms, {0})[0].delay; };
    EXPECT_EQ(delayOf(123), 120);
    EXPECT_EQ(delayOf(125), 130);
    EXPECT_EQ(delayOf(-30), 0);
    EXPECT_EQ(delayOf(4), 0);
    EXPECT_EQ(delayOf(655354), 655350);
    EXPECT_EQ(delayOf(std::numeric_limits<qint64>::max()), 655350);
    EXPECT_EQ(delayOf(std::numeric_limits<qint64>::min()), 0);

    const std::vector<FrameEdit> changed = spec.settingDelay(50, {0, 2, 9});
    ASSERT_EQ(changed.size(), 3u);
    EXPECT_EQ(changed[0].delay, 50);
    EXPECT_EQ(changed[1].delay, 100);
    EXPECT_EQ(changed[2].delay, 50);

    FramesSpec skipping{spec.settingSkipped(true, {1, 5})};
    EXPECT_EQ(skipping.keptEdits(), (std::vector<FrameEdit>{{0, 100, false}, {2, 100, false}}));
    EXPECT_EQ(skipping.summary(), "1 skipped");
    skipping.edits = skipping.settingSkipped(false, {1});
    EXPECT_EQ(skipping, spec);
}

TEST(FrameEditing, FromDelaysAndTheTimingFix)
{
    EXPECT_EQ(
        FramesSpec::fromDelays({14, 15, -20}), (FramesSpec{{{0, 10, false}, {1, 20, false}, {2, 0, false}}}));
    EXPECT_TRUE(FramesSpec::fromDelays({}).edits.empty());

    Filmstrip strip;
    strip.delays = {0, 100};
    EXPECT_EQ(timingFix(strip), FramesSpec::fromDelays({100, 100}));
    strip.delays = {10, 20};
    EXPECT_EQ(timingFix(strip), FramesSpec::fromDelays({100, 20}));
    strip.delays = {20, 100};
    EXPECT_FALSE(timingFix(strip));
    strip.delays = {};
    EXPECT_FALSE(timingFix(strip));
}

TEST(FrameEditing, Summaries)
{
    EXPECT_EQ(FramesSpec::fromDelays({100, 100, 100}).summary(), "all 100 ms");
    EXPECT_EQ(FramesSpec::fromDelays({100, 60, 100}).summary(), "3 frames");
    EXPECT_EQ(FramesSpec{}.summary(), "0 frames");
}

TEST(DuplicateFrames, FindRepeatsOfTheLastKeptFrame)
{
    const QImage red = solidImage(4, 4, Qt::red);
    const QImage redCopy = solidImage(4, 4, Qt::red);
    const QImage blue = solidImage(4, 4, Qt::blue);

    EXPECT_EQ(FramesSpec::duplicateSelection({red, redCopy, red}, FramesSpec::fromDelays({10, 10, 10})),
        (FrameSelection{1, 2}));
    EXPECT_EQ(FramesSpec::duplicateSelection({red, blue, redCopy}, FramesSpec::fromDelays({10, 10, 10})),
        FrameSelection{});

    FramesSpec skipMiddle = FramesSpec::fromDelays({10, 10, 10});
    skipMiddle.edits[1].isSkipped = true;
    EXPECT_EQ(FramesSpec::duplicateSelection({red, blue, redCopy}, skipMiddle), (FrameSelection{2}));

    // The same pixels in another layout are still the same frame.
    const QImage argb = redCopy.convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(
        FramesSpec::duplicateSelection({red, argb}, FramesSpec::fromDelays({10, 10})), (FrameSelection{1}));

    // An input with no frame is never equal to anything, and the next kept edit compares with it.
    const FramesSpec outOfRange{{{0, 10, false}, {5, 10, false}, {0, 10, false}}};
    EXPECT_EQ(FramesSpec::duplicateSelection({red}, outOfRange), FrameSelection{});
    EXPECT_EQ(FramesSpec::duplicateSelection({}, FramesSpec{}), FrameSelection{});
}
