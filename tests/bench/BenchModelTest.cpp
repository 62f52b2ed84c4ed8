#include "bench/model/BenchModel.h"
#include "BenchTestSupport.h"
#include "imaging/render/Renderer.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;

namespace {

std::vector<QUuid> idsOf(const TreatmentRecord& record)
{
    std::vector<QUuid> ids;
    for (const TreatmentEntry& entry : record)
        ids.push_back(entry.id);
    return ids;
}

std::vector<QUuid> firstIds(const BenchModel& model, qint64 count)
{
    std::vector<QUuid> ids = idsOf(model.record());
    ids.resize(size_t(count));
    return ids;
}

} // namespace

TEST(BenchModel, TheCanvasShowsThePartOfTheRecordTheSelectionNames)
{
    auto model = benchOver(gradientPng(64, 48));
    model->setRecord({TreatmentEntry(CropSpec{0, 0, 32, 20}), TreatmentEntry(brighter()),
        TreatmentEntry(ExtendSpec{40, 40, {}})});

    EXPECT_EQ(model->canvasCaption(), QStringLiteral("the untouched original"));
    EXPECT_TRUE(model->activeRecord().empty());
    ASSERT_TRUE(model->rendered());
    EXPECT_EQ(model->rendered()->size(), QSize(64, 48));

    // A crop shows its input, for the overlay that stands on it.
    model->setSelection(row(*model, 0).id);
    EXPECT_EQ(model->canvasCaption(), QStringLiteral("before treatment 1"));
    EXPECT_TRUE(model->activeRecord().empty());
    EXPECT_EQ(model->rendered()->size(), QSize(64, 48));

    model->setSelection(row(*model, 1).id);
    EXPECT_EQ(model->canvasCaption(), QStringLiteral("showing treatments 1\u20132, in order"));
    EXPECT_EQ(idsOf(model->activeRecord()), firstIds(*model, 2));
    EXPECT_EQ(model->rendered()->size(), QSize(32, 20));

    model->setSelection(row(*model, 2).id);
    EXPECT_EQ(model->canvasCaption(), QStringLiteral("showing treatments 1\u20132, before 3"));
    EXPECT_EQ(idsOf(model->activeRecord()), firstIds(*model, 2));
    EXPECT_EQ(model->rendered()->size(), QSize(32, 20));

    // A selected row that goes away leaves a selection that names nothing: the original again.
    TreatmentRecord record = model->record();
    record.pop_back();
    model->setRecord(record);
    EXPECT_EQ(model->canvasCaption(), QStringLiteral("the untouched original"));
    EXPECT_FALSE(model->selectedIndex());
    EXPECT_TRUE(model->activeRecord().empty());
    EXPECT_EQ(model->rendered()->size(), QSize(64, 48));

    model->setRecord({TreatmentEntry(brighter())});
    model->setSelection(row(*model, 0).id);
    EXPECT_EQ(model->canvasCaption(), QStringLiteral("showing treatment 1"));
    EXPECT_EQ(model->activeRecord().size(), 1u);
}

TEST(BenchModel, SamplingAGroundColourShowsTheGroundRowsInputUnderItsOutputsCaption)
{
    auto model = benchOver(gradientPng(16, 16));
    model->setRecord({TreatmentEntry(brighter()), TreatmentEntry(GroundSpec{})});
    model->setSelection(row(*model, 1).id);
    model->setSamplingGroundColor(true);
    EXPECT_EQ(idsOf(model->activeRecord()), firstIds(*model, 1));
    EXPECT_EQ(model->canvasCaption(), QStringLiteral("showing treatments 1\u20132, in order"));
}

TEST(BenchModel, ThePlayheadIsLoweredToTheLastFrameThePlanKeeps)
{
    // Ten frames; the frames row keeps the even ones, so the plan plays sources 0, 2, 4, 6, 8.
    auto model = benchOver(colourFramesGif(10), QStringLiteral("blink.gif"));
    FramesSpec evens = framesShowing({0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    for (size_t i = 1; i < evens.edits.size(); i += 2)
        evens.edits[i].isSkipped = true;
    model->setRecord({TreatmentEntry(evens), TreatmentEntry(brighter())});
    model->setPlayhead(9);
    ASSERT_EQ(sourceFrameCount(*model), 10u);
    QSignalSpy changes(model.get(), &BenchModel::changed);
    model->setSelection(row(*model, 1).id);

    EXPECT_EQ(model->playhead(), 4);
    ASSERT_TRUE(model->rendered());
    const TreatmentRecord tone{row(*model, 1)};
    EXPECT_EQ(*model->rendered(), Renderer::render(model->sourceStrip()->frames[8], tone));
    ASSERT_EQ(changes.count(), 1);
    const auto flags = changes.first().first().value<BenchModel::Changes>();
    EXPECT_TRUE(flags & BenchModel::Change::playhead);
    EXPECT_TRUE(flags & BenchModel::Change::selection);

    // A selected frames row with no edits plays nothing: the playhead goes to 0, on source frame 0.
    model->setRecord({TreatmentEntry(FramesSpec{})});
    model->setSelection(row(*model, 0).id);
    model->setPlayhead(3);
    EXPECT_EQ(model->playhead(), 0);
    EXPECT_EQ(*model->rendered(), model->sourceStrip()->frames[0]);
}

TEST(BenchModel, WithAFramesRowSelectedThePlayheadIsThePositionOfAnEdit)
{
    auto model = benchOver(colourFramesGif(4), QStringLiteral("blink.gif"));
    ASSERT_EQ(sourceFrameCount(*model), 4u);
    const std::vector<QImage>& frames = model->sourceStrip()->frames;
    model->setRecord({TreatmentEntry(framesShowing({3, 2, 1, 0}))});
    model->setSelection(row(*model, 0).id);

    // After "Reverse order" the first cell is the former last frame, and the canvas shows it.
    EXPECT_EQ(*model->rendered(), frames[3]);
    model->setPlayhead(3);
    EXPECT_EQ(*model->rendered(), frames[0]);

    // The clamp counts the row's edits; an edit whose input has no frame shows frame 0.
    model->setRecord({TreatmentEntry(framesShowing({1, 9}))});
    model->setSelection(row(*model, 0).id);
    EXPECT_EQ(model->playhead(), 1);
    EXPECT_EQ(*model->rendered(), frames[0]);
    model->setPlayhead(0);
    EXPECT_EQ(*model->rendered(), frames[1]);

    // Without a frames row selected the playhead is a position in the plan the canvas plays.
    model->setRecord({TreatmentEntry(framesShowing({3, 2, 1, 0})), TreatmentEntry(ToneSpec{})});
    model->setSelection(row(*model, 1).id);
    EXPECT_EQ(*model->rendered(), frames[3]);
}

TEST(BenchModel, TheGroundRowsInputIsRenderedOnlyWhenTheRowsAboveItChange)
{
    auto model = benchOver(gradientPng(24, 24));
    model->setRecord({TreatmentEntry(brighter()), TreatmentEntry(GroundSpec{})});
    EXPECT_FALSE(model->groundInputImage());

    model->setSelection(row(*model, 1).id);
    ASSERT_TRUE(model->groundInputImage());
    ASSERT_TRUE(model->groundInputRecord());
    EXPECT_EQ(*model->groundInputRecord(), TreatmentRecord{row(*model, 0)});
    const qint64 rendered = model->groundInputImage()->cacheKey();

    // Another kind of row leaves the cache alone; coming back finds it current.
    model->setSelection(row(*model, 0).id);
    model->setSelection(row(*model, 1).id);
    EXPECT_EQ(model->groundInputImage()->cacheKey(), rendered);

    ToneSpec darker;
    darker.brightness = -0.5;
    model->setTreatment(0, darker);
    EXPECT_NE(model->groundInputImage()->cacheKey(), rendered);
    EXPECT_EQ(model->groundInputRecord()->front().treatment, Treatment(darker));
}

TEST(BenchModel, ASpecBindingReadsItsFallbackOnceItsRowIsGoneOrAnotherKind)
{
    auto model = benchOver(gradientPng(8, 8));
    model->setRecord({TreatmentEntry(CropSpec{0, 0, 4, 4}), TreatmentEntry(brighter())});
    const QUuid toneId = row(*model, 1).id;
    ToneSpec fallback;
    fallback.contrast = 0.25;
    const Binding<ToneSpec> tone = model->specBinding<ToneSpec>(1, fallback);
    EXPECT_EQ(tone.get(), brighter());

    ToneSpec warm;
    warm.warmth = 0.4;
    tone.set(warm);
    EXPECT_EQ(row(*model, 1).treatment, Treatment(warm));
    EXPECT_EQ(row(*model, 1).id, toneId);

    // Another kind in the row: the fallback is read, and a write makes the row a tone again.
    model->setTreatment(1, TextSpec{});
    EXPECT_EQ(tone.get(), fallback);
    tone.set(brighter());
    EXPECT_EQ(row(*model, 1).treatment, Treatment(brighter()));
    EXPECT_EQ(row(*model, 1).id, toneId);

    // The row gone: the fallback is read and writes change nothing.
    model->setRecord({row(*model, 0)});
    EXPECT_EQ(tone.get(), fallback);
    QSignalSpy changes(model.get(), &BenchModel::changed);
    tone.set(warm);
    EXPECT_EQ(model->record().size(), 1u);
    EXPECT_EQ(changes.count(), 0);
}

TEST(BenchModel, AnAppendRendersOnceAndReportsOnce)
{
    auto model = benchOver(gradientPng(32, 32));
    const qint64 renders = model->renderCount();
    QSignalSpy changes(model.get(), &BenchModel::changed);
    model->appendEntry(brighter());

    EXPECT_EQ(model->renderCount(), renders + 1);
    ASSERT_EQ(changes.count(), 1);
    const auto flags = changes.first().first().value<BenchModel::Changes>();
    EXPECT_TRUE(flags & BenchModel::Change::record);
    EXPECT_TRUE(flags & BenchModel::Change::selection);
    EXPECT_TRUE(flags & BenchModel::Change::rendered);
    EXPECT_EQ(model->selection(), row(*model, 0).id);
    EXPECT_EQ(model->canvasCaption(), QStringLiteral("showing treatment 1"));

    // Setting what is already there is no change: no render, no report.
    model->setSelection(row(*model, 0).id);
    model->setRecord(model->record());
    EXPECT_EQ(model->renderCount(), renders + 1);
    EXPECT_EQ(changes.count(), 1);
    // Fields outside the render's triggers report without rendering.
    model->setGround(CanvasGround::dark);
    EXPECT_EQ(model->renderCount(), renders + 1);
    EXPECT_EQ(changes.count(), 2);
}

TEST(BenchModel, BytesThatDoNotDecodeLeaveAnEmptyCanvasButABenchThatStillWorks)
{
    auto model = benchOver(QByteArray("this is no image at all"), QStringLiteral("bad.png"));
    EXPECT_FALSE(model->sourceStrip());
    EXPECT_FALSE(model->rendered());
    EXPECT_EQ(model->inputSize({}), QSizeF(0, 0));
    EXPECT_FALSE(model->renderPrefix(0));
    EXPECT_TRUE(model->timelineFrames(0).empty());
    EXPECT_TRUE(model->framesDefaultDelays().empty());
    EXPECT_EQ(model->addableKinds().size(), 7u);

    model->addTreatment(TreatmentKind::crop);
    model->addTreatment(TreatmentKind::ground);
    ASSERT_EQ(model->record().size(), 2u);
    EXPECT_EQ(row(*model, 0).treatment, Treatment(CropSpec{0, 0, 0, 0}));
    EXPECT_EQ(model->selection(), row(*model, 1).id);
    EXPECT_FALSE(model->rendered());
    EXPECT_FALSE(model->groundInputImage());
}

TEST(BenchModel, LeavingHandsTheCurrentSessionOutAfterClosingTheSheet)
{
    auto model = benchOver(gradientPng(8, 8));
    model->appendEntry(brighter());
    model->setShowingSaveGate(true);
    model->setBackupOriginal(false);
    QSignalSpy saves(model.get(), &BenchModel::saveRequested);
    model->confirmSave();
    EXPECT_FALSE(model->showingSaveGate());
    ASSERT_EQ(saves.count(), 1);
    EXPECT_EQ(saves.first().at(0).value<RestorationSession>(), model->session());
    EXPECT_FALSE(saves.first().at(1).toBool());

    model->setShowingExport(true);
    std::vector<std::pair<QString, GIFPalette>> exports;
    QObject::connect(model.get(), &BenchModel::exportRequested,
        [&](const RestorationSession& session, const QString& name, ExportFormat format, double quality,
            const GIFPalette& palette) {
            EXPECT_FALSE(model->showingExport()) << "the sheet closes first";
            EXPECT_EQ(session, model->session());
            EXPECT_EQ(format, ExportFormat::gif);
            EXPECT_EQ(quality, 82);
            exports.emplace_back(name, palette);
        });
    model->finishExport(QStringLiteral("cat-small"), ExportFormat::gif, 82, GIFPalette::limited(64, true));
    ASSERT_EQ(exports.size(), 1u);
    EXPECT_EQ(exports.front().first, QStringLiteral("cat-small"));
    EXPECT_EQ(exports.front().second, GIFPalette::limited(64, true));
}
