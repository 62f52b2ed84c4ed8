#include "ApngBuilder.h"
#include "BenchTestSupport.h"
#include "SubjectImages.h"
#include "bench/inspect/InspectorPage.h"
#include "bench/inspect/InspectorPane.h"
#include "inspectors/controls/BorderedButton.h"
#include "inspectors/ground/GroundColorKeyPanel.h"
#include "inspectors/ground/GroundInspector.h"
#include "inspectors/tone/ToneInspector.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;

namespace {

QByteArray threeSubjectsPng()
{
    return encodePng(threeSubjectsImage());
}

std::optional<std::set<qint64>> includedAt(const BenchModel& model, qint64 index)
{
    const std::optional<GroundSpec> spec = row(model, index).treatment.groundSpec();
    const SubjectKey* key = spec ? std::get_if<SubjectKey>(&spec->key) : nullptr;
    return key ? key->included : std::optional<std::set<qint64>>{std::set<qint64>{-1}};
}

template <typename Inspector> Inspector* shown(const InspectorPane& pane)
{
    return pane.page() ? pane.page()->findChild<Inspector*>() : nullptr;
}

void select(BenchModel& model, qint64 index)
{
    model.setSelection(row(model, index).id);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

TEST(GroundAndTonePagesTest, ASubjectChoiceSurvivesSelectionAndResetsWhenTheRowsInputChanges)
{
    auto model = benchOver(threeSubjectsPng());
    model->setRecord({TreatmentEntry(brighter()), TreatmentEntry(GroundSpec{SubjectKey{}, TransparentFill{}}),
        TreatmentEntry(GroundSpec{SubjectKey{std::set<qint64>{2}}, TransparentFill{}}),
        TreatmentEntry(ToneSpec{})});
    InspectorPane pane(*model);
    select(*model, 1);
    GroundInspector* inspector = shown<GroundInspector>(pane);
    ASSERT_NE(inspector, nullptr);
    EXPECT_EQ(inspector->model().availableInstances(), (std::vector<qint64>{1, 2, 3}));

    select(*model, 2);
    EXPECT_EQ(shown<GroundInspector>(pane), inspector) << "one inspector across ground rows";
    EXPECT_EQ(includedAt(*model, 2), (std::set<qint64>{2}));
    EXPECT_EQ(inspector->chips().size(), 3u);

    // The brighter tone above goes while the second ground row stays selected: its input changed.
    TreatmentRecord without = model->record();
    without.erase(without.begin());
    model->setRecord(without);
    ASSERT_EQ(model->selectedIndex(), 1);
    EXPECT_EQ(includedAt(*model, 1), std::nullopt) << "every subject is kept again";
    EXPECT_EQ(shown<GroundInspector>(pane), inspector);
}

TEST(GroundAndTonePagesTest, TheGuessedKeyColourLastsWhileGroundRowsStaySelected)
{
    auto model = benchOver(threeSubjectsPng());
    model->setRecord(
        {TreatmentEntry(GroundSpec{}), TreatmentEntry(GroundSpec{}), TreatmentEntry(ToneSpec{})});
    InspectorPane pane(*model);
    select(*model, 0);
    shown<GroundInspector>(pane)->model().setKeyMode(GroundInspectorModel::KeyMode::color);
    const std::optional<GroundSpec> keyed = row(*model, 0).treatment.groundSpec();
    ASSERT_TRUE(keyed);
    EXPECT_EQ(std::get<ColorKey>(keyed->key).hex, "#ECE8DC");

    // A colour picked on the canvas is another hex than the guess, so Re-sample offers itself.
    GroundColorKeyPanel* panel = shown<GroundInspector>(pane)->colorKeyPanel();
    EXPECT_FALSE(panel->resampleButton()->isEnabled());
    panel->pickButton()->click();
    EXPECT_TRUE(model->samplingGroundColor());
    model->applySampledColor(QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(std::get<ColorKey>(row(*model, 0).treatment.groundSpec()->key).hex, "#123456");
    EXPECT_EQ(panel->hexText(), "#123456");
    EXPECT_TRUE(panel->resampleButton()->isEnabled());

    select(*model, 1);
    EXPECT_EQ(shown<GroundInspector>(pane)->model().lastSampledHex(), QStringLiteral("#ECE8DC"));
    select(*model, 2);
    select(*model, 0);
    EXPECT_EQ(shown<GroundInspector>(pane)->model().lastSampledHex(), std::nullopt);
    EXPECT_TRUE(shown<GroundInspector>(pane)->colorKeyPanel()->resampleButton()->isEnabled());
}

TEST(GroundAndTonePagesTest, APresetOrResetIsOneChangeOfTheRecord)
{
    auto model = benchOver(gradientPng(16, 16));
    model->setRecord({TreatmentEntry(ToneSpec{}), TreatmentEntry(brighter())});
    InspectorPane pane(*model);
    select(*model, 0);
    ToneInspector* inspector = shown<ToneInspector>(pane);
    ASSERT_NE(inspector, nullptr);
    qint64 renders = model->renderCount();
    inspector->presetButton(ToneInspector::Preset::pop)->click();
    EXPECT_EQ(model->renderCount(), renders + 1);
    EXPECT_EQ(row(*model, 0).treatment.toneSpec(), ToneInspector::presetSpec(ToneInspector::Preset::pop));

    // The other tone row, shown by the same inspector; Reset writes it once.
    select(*model, 1);
    EXPECT_EQ(shown<ToneInspector>(pane), inspector);
    EXPECT_TRUE(inspector->resetButton()->isEnabled());
    renders = model->renderCount();
    inspector->resetButton()->click();
    EXPECT_EQ(model->renderCount(), renders + 1);
    EXPECT_EQ(row(*model, 1).treatment.toneSpec(), ToneSpec{});
    EXPECT_EQ(row(*model, 0).treatment.toneSpec(), ToneInspector::presetSpec(ToneInspector::Preset::pop));
    EXPECT_FALSE(inspector->resetButton()->isEnabled());
}
