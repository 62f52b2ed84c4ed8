#include "inspectors/ground/GroundInspector.h"
#include "SubjectImages.h"
#include "SyntheticImages.h"
#include "inspectors/controls/BorderedButton.h"
#include "inspectors/controls/ColorWell.h"
#include "inspectors/controls/FieldMarksSlider.h"
#include "inspectors/controls/InspectorSlider.h"
#include "inspectors/controls/SwatchRow.h"
#include "inspectors/ground/GroundColorKeyPanel.h"
#include "inspectors/ground/InstanceChip.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;
using KeyMode = GroundInspectorModel::KeyMode;

namespace {

// A ground row's spec held by the test, as the bench holds the record.
struct HeldSpec {
    GroundSpec spec;
    qint64 writes = 0;
    Binding<GroundSpec> binding()
    {
        return Binding<GroundSpec>([this] { return spec; },
            [this](const GroundSpec& written) {
                spec = written;
                ++writes;
            });
    }
};

// An inspector laid out at the bench's column width, showing one row.
struct Rig {
    HeldSpec held;
    GroundInspector inspector;
    QUuid row = QUuid::createUuid();

    explicit Rig(GroundSpec spec = {}, std::optional<QImage> input = std::nullopt)
    {
        held.spec = std::move(spec);
        inspector.resize(250, 900);
        inspector.setRow(row, held.binding(), std::move(input));
        inspector.show();
    }
    GroundInspectorModel& model() { return inspector.model(); }
    GroundColorKeyPanel& panel() { return *inspector.colorKeyPanel(); }
    // A change made elsewhere (the canvas sampler, say), then the bench's refresh.
    void writeElsewhere(const GroundSpec& spec)
    {
        held.spec = spec;
        inspector.refresh();
    }
};

void clickSegment(IconSegmentedPicker* picker, qint64 index)
{
    QTest::mouseClick(picker, Qt::LeftButton, {}, picker->segmentRect(index).center());
}

const QColor ground(236, 232, 220);

QImage oneSubject()
{
    return blobsImage(120, 120, {{QRectF(30, 30, 60, 60), QColor(200, 40, 40)}}, ground);
}

std::optional<std::set<qint64>> included(const GroundSpec& spec)
{
    const SubjectKey* key = std::get_if<SubjectKey>(&spec.key);
    return key ? key->included : std::optional<std::set<qint64>>{std::set<qint64>{-1}};
}

bool sendKey(QWidget* widget, Qt::Key key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    return press.isAccepted();
}

// Every text the inspector shows or offers as a tooltip, in the current mode.
QStringList shownTexts(const QWidget& root)
{
    QStringList texts;
    for (const QLabel* label : root.findChildren<QLabel*>())
        texts << label->text();
    for (const QAbstractButton* button : root.findChildren<QAbstractButton*>())
        texts << button->text() << button->toolTip();
    return texts;
}

} // namespace

TEST(GroundInspectorTest, DIYWithoutAnInputKeysWhiteAndReSampleWaitsForAnotherColour)
{
    Rig rig(GroundSpec{NoKey{}, ColorFill{"#000000"}});
    clickSegment(rig.inspector.keyPicker(), 1);
    EXPECT_EQ(
        rig.held.spec, (GroundSpec{ColorKey{"#FFFFFF", KeyReach::everywhere, 0, 0}, ColorFill{"#000000"}}))
        << "the fill is never touched by the key";
    EXPECT_EQ(rig.model().lastSampledHex(), QStringLiteral("#FFFFFF"));
    EXPECT_TRUE(rig.panel().isVisibleTo(&rig.inspector));
    EXPECT_FALSE(rig.panel().resampleButton()->isEnabled());

    GroundSpec sampled = rig.held.spec;
    std::get<ColorKey>(sampled.key).hex = "#123456";
    rig.writeElsewhere(sampled);
    EXPECT_TRUE(rig.panel().resampleButton()->isEnabled());
    const qint64 writes = rig.held.writes;
    rig.panel().resampleButton()->click();
    EXPECT_EQ(rig.held.spec, sampled) << "nothing to guess from without an input";
    EXPECT_EQ(rig.held.writes, writes);

    clickSegment(rig.inspector.keyPicker(), 0);
    EXPECT_EQ(rig.held.spec.key, GroundKey(NoKey{}));
    EXPECT_FALSE(rig.panel().isVisibleTo(&rig.inspector));
}

TEST(GroundInspectorTest, DIYGuessesTheBorderColourAndAFreshInspectorMayReSample)
{
    const QImage bordered = discImage(40, 40, Qt::red, QColor(0xAA, 0xBB, 0xCC));
    Rig rig({}, bordered);
    clickSegment(rig.inspector.keyPicker(), 1);
    EXPECT_EQ(rig.held.spec.key, GroundKey(ColorKey{"#AABBCC", KeyReach::everywhere, 0, 0}));
    EXPECT_EQ(rig.panel().hexText(), QStringLiteral("#aabbcc"));
    EXPECT_FALSE(rig.panel().resampleButton()->isEnabled());

    // Clicking DIY again starts afresh, throwing the tuned values away.
    rig.panel().fromTheBorderButton()->click();
    rig.model().setThreshold(0.3);
    clickSegment(rig.inspector.keyPicker(), 1);
    EXPECT_EQ(rig.held.spec.key, GroundKey(ColorKey{"#AABBCC", KeyReach::everywhere, 0, 0}));

    // Shown afresh, the same key has never been guessed by this inspector.
    const GroundSpec earlier{ColorKey{"#AABBCC", KeyReach::fromTheBorder, 0.2, 0.1}, TransparentFill{}};
    Rig fresh(earlier, bordered);
    EXPECT_TRUE(fresh.panel().resampleButton()->isEnabled());
    fresh.panel().resampleButton()->click();
    EXPECT_EQ(fresh.held.spec, earlier) << "only the hex is guessed again";
    EXPECT_EQ(fresh.held.writes, 1);
    EXPECT_FALSE(fresh.panel().resampleButton()->isEnabled());

    // Re-sample over another key makes a fresh colour key.
    Rig subject(GroundSpec{SubjectKey{}, TransparentFill{}}, bordered);
    subject.model().resample();
    EXPECT_EQ(subject.held.spec.key, GroundKey(ColorKey{"#AABBCC", KeyReach::everywhere, 0, 0}));
}

TEST(GroundInspectorTest, SliderTextsReadWhatTheUserCounted)
{
    const auto threshold = &GroundInspectorModel::thresholdValueText;
    EXPECT_EQ(threshold(0.0019), "exact");
    EXPECT_EQ(threshold(0.002), "0");
    EXPECT_EQ(threshold(0.0049), "0");
    EXPECT_EQ(threshold(0.25), "50");
    EXPECT_EQ(threshold(0.5), "100");
    const auto softness = &GroundInspectorModel::softnessValueText;
    EXPECT_EQ(softness(0.0049), "hard cut");
    EXPECT_EQ(softness(0.005), "0%");
    EXPECT_EQ(softness(0.5), "50%");
    EXPECT_EQ(softness(0.999), "99%");
    EXPECT_EQ(softness(1), "100%");

    // Keyboard steps carry binary error: eleven of them must still read 22, not 21.
    Rig rig(GroundSpec{ColorKey{"#FFFFFF", KeyReach::everywhere, 0, 0}, TransparentFill{}});
    for (int i = 0; i < 11; ++i) {
        EXPECT_TRUE(sendKey(rig.panel().thresholdSlider()->slider(), Qt::Key_Right));
        EXPECT_TRUE(sendKey(rig.panel().softnessSlider()->slider(), Qt::Key_Right));
    }
    EXPECT_EQ(rig.panel().thresholdSlider()->valueText(), "22");
    EXPECT_EQ(rig.panel().softnessSlider()->valueText(), "22%");
    EXPECT_EQ(rig.panel().softnessSlider()->slider()->valueText(), "22%");
}

TEST(GroundInspectorTest, TheReachWritesOnlyItselfAndItsCaptionFollows)
{
    Rig rig(GroundSpec{ColorKey{"#FFFFFF", KeyReach::everywhere, 0.1, 0.2}, TransparentFill{}});
    EXPECT_TRUE(rig.panel().everywhereButton()->isChecked());
    EXPECT_EQ(rig.panel().reachCaption(), "Selects every pixel within Threshold bounds");
    rig.panel().fromTheBorderButton()->click();
    EXPECT_EQ(rig.held.spec.key, GroundKey(ColorKey{"#FFFFFF", KeyReach::fromTheBorder, 0.1, 0.2}));
    EXPECT_EQ(rig.panel().reachCaption(), "Only selects contiguous pixels from the edge");
    EXPECT_FALSE(rig.panel().everywhereButton()->isChecked());

    // Without a colour key the colour fields read neutral and ignore writes.
    Rig none;
    none.model().setReach(KeyReach::fromTheBorder);
    none.model().setSoftness(0.5);
    EXPECT_EQ(none.held.writes, 0);
    EXPECT_EQ(none.model().softness(), 0);
}

TEST(GroundInspectorTest, MagicOffersChipsOnlyForTwoOrMoreSubjects)
{
    Rig single({}, oneSubject());
    clickSegment(single.inspector.keyPicker(), 2);
    EXPECT_EQ(single.held.spec.key, GroundKey(SubjectKey{}));
    EXPECT_TRUE(single.inspector.subjectPanel()->isVisibleTo(&single.inspector));
    EXPECT_TRUE(single.inspector.chips().empty());
    EXPECT_EQ(single.inspector.subjectCountText(), QString());

    Rig none({}, std::nullopt);
    clickSegment(none.inspector.keyPicker(), 2);
    EXPECT_TRUE(none.model().availableInstances().empty());

    Rig rig({}, threeSubjectsImage());
    clickSegment(rig.inspector.keyPicker(), 2);
    ASSERT_EQ(rig.model().availableInstances(), (std::vector<qint64>{1, 2, 3}));
    ASSERT_EQ(rig.inspector.chips().size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(rig.inspector.chips()[i]->text(), QString::number(i + 1));
        EXPECT_TRUE(rig.inspector.chips()[i]->isOn());
    }
    EXPECT_EQ(rig.inspector.subjectCountText(), "3 separate subjects found — toggle which ones stay.");

    rig.inspector.chips()[1]->click();
    EXPECT_EQ(included(rig.held.spec), (std::set<qint64>{1, 3}));
    EXPECT_FALSE(rig.inspector.chips()[1]->isOn());
    rig.inspector.chips()[1]->click();
    EXPECT_EQ(included(rig.held.spec), (std::set<qint64>{1, 2, 3})) << "stored as an explicit set";

    // Clicking Magic again keeps every subject again.
    rig.inspector.chips()[0]->click();
    clickSegment(rig.inspector.keyPicker(), 2);
    EXPECT_EQ(included(rig.held.spec), std::nullopt);
}

TEST(GroundInspectorTest, AnotherRowKeepsItsSubjectsAndANewInputOfTheSameRowResetsThem)
{
    // Two subject-keyed rows, the second keeping only subject 2, each with its own input.
    HeldSpec first{GroundSpec{SubjectKey{}, TransparentFill{}}};
    HeldSpec second{GroundSpec{SubjectKey{std::set<qint64>{2}}, TransparentFill{}}};
    const QUuid firstRow = QUuid::createUuid();
    const QUuid secondRow = QUuid::createUuid();
    GroundInspector inspector;
    inspector.setRow(firstRow, first.binding(), oneSubject());
    EXPECT_EQ(inspector.model().availableInstances(), (std::vector<qint64>{1}));
    inspector.model().setKeyMode(KeyMode::color);
    inspector.model().setKeyMode(KeyMode::subject);
    const std::optional<QString> sampled = inspector.model().lastSampledHex();
    ASSERT_TRUE(sampled);

    inspector.setRow(secondRow, second.binding(), threeSubjectsImage());
    EXPECT_EQ(included(second.spec), (std::set<qint64>{2}));
    EXPECT_EQ(second.writes, 0) << "showing a row never writes it";
    EXPECT_EQ(inspector.model().availableInstances(), (std::vector<qint64>{1, 2, 3}));
    EXPECT_EQ(inspector.model().lastSampledHex(), sampled) << "the guess carries across rows";
    ASSERT_EQ(inspector.chips().size(), 3u);
    EXPECT_FALSE(inspector.chips()[0]->isOn());
    EXPECT_TRUE(inspector.chips()[1]->isOn());

    // The same row again with the same input changes nothing; with another input (a row above it
    // went) every subject is kept again.
    inspector.setRow(secondRow, second.binding(), threeSubjectsImage());
    EXPECT_EQ(second.writes, 0);
    inspector.setRow(secondRow, second.binding(), oneSubject());
    EXPECT_EQ(included(second.spec), std::nullopt);
    EXPECT_EQ(inspector.model().availableInstances(), (std::vector<qint64>{1}));

    // A colour-keyed row keeps its key when its input changes.
    HeldSpec colour{GroundSpec{ColorKey{"#FFFFFF", KeyReach::everywhere, 0.1, 0}, TransparentFill{}}};
    inspector.setRow(firstRow, colour.binding(), oneSubject());
    inspector.setRow(firstRow, colour.binding(), threeSubjectsImage());
    EXPECT_EQ(colour.writes, 0);
}

TEST(GroundInspectorTest, TheFillCaptionSwitchAndSwatches)
{
    QImage translucent = solidImage(8, 8, Qt::white);
    translucent.setPixelColor(3, 5, QColor(255, 255, 255, 254));
    const QString clearGround
        = "This specimen already has a clear ground. A color here fills it — no keying needed.";
    const QString opaqueGround = "Fills whatever is clear, including anything lifted above.";
    EXPECT_EQ(Rig({}, translucent).inspector.fillCaption(), clearGround);
    EXPECT_EQ(Rig({}, solidImage(8, 8, Qt::white)).inspector.fillCaption(), opaqueGround);
    EXPECT_EQ(Rig().inspector.fillCaption(), opaqueGround);

    Rig rig(GroundSpec{SubjectKey{}, TransparentFill{}});
    EXPECT_FALSE(rig.inspector.fillColorRow()->isVisibleTo(&rig.inspector));
    clickSegment(rig.inspector.fillPicker(), 1);
    EXPECT_EQ(rig.held.spec, (GroundSpec{SubjectKey{}, ColorFill{"#E6E2D2"}}));
    EXPECT_TRUE(rig.inspector.fillSwatches()->isVisibleTo(&rig.inspector));
    rig.inspector.fillSwatches()->swatch(7)->click();
    EXPECT_EQ(rig.held.spec.fill, GroundFill(ColorFill{"#FF69B4"}));
    EXPECT_EQ(rig.inspector.fillHexText(), "#ff69b4");
    EXPECT_TRUE(rig.inspector.fillSwatches()->isMarked(7));
    clickSegment(rig.inspector.fillPicker(), 1);
    EXPECT_EQ(rig.held.spec.fill, GroundFill(ColorFill{"#E6E2D2"})) << "Fill again starts over";
    rig.model().setFillColor(QColor(1, 2, 3));
    EXPECT_EQ(rig.held.spec.fill, GroundFill(ColorFill{"#010203"}));
    clickSegment(rig.inspector.fillPicker(), 0);
    EXPECT_EQ(rig.held.spec, (GroundSpec{SubjectKey{}, TransparentFill{}}));
    EXPECT_FALSE(rig.inspector.fillSwatches()->isVisibleTo(&rig.inspector));

    Rig unparsable(GroundSpec{NoKey{}, ColorFill{"#GG00Aa"}});
    EXPECT_EQ(unparsable.model().fillColor().alpha(), 0);
    EXPECT_EQ(unparsable.inspector.fillHexText(), "#gg00aa");
}

TEST(GroundInspectorTest, EveryFillSwatchClickedWritesItsOwnColour)
{
    const QStringList swatches{
        "#E6E2D2", "#211E19", "#FFFFFF", "#000000", "#47593F", "#8C4A30", "#545C74", "#FF69B4"};
    Rig rig(GroundSpec{NoKey{}, ColorFill{"#010203"}});
    SwatchRow* row = rig.inspector.fillSwatches();
    ASSERT_EQ(row->swatches(), swatches);
    for (qint64 index = 0; index < swatches.size(); ++index) {
        QTest::mouseClick(row->swatch(index), Qt::LeftButton);
        EXPECT_EQ(rig.held.spec.fill, GroundFill(ColorFill{swatches.at(index)})) << index;
        for (qint64 other = 0; other < swatches.size(); ++other)
            EXPECT_EQ(row->isMarked(other), other == index) << index << " " << other;
    }
    EXPECT_EQ(rig.held.writes, swatches.size());
}

TEST(GroundInspectorTest, CaptionsSayWhatOurDetectorDoesAndNameNoVendor)
{
    Rig rig({}, threeSubjectsImage());
    QStringList texts = shownTexts(rig.inspector);
    EXPECT_TRUE(texts.contains("DIY: Remove one-ish color with manual tweaks.\n"
                               "Magic: find the subjects automatically and keep the ones you choose."));
    clickSegment(rig.inspector.keyPicker(), 2);
    texts += shownTexts(rig.inspector);
    EXPECT_TRUE(texts.contains("On-device subject detection: shapes that stand apart from the background. "
                               "No edge knobs; this only says which detected subjects stay."));
    clickSegment(rig.inspector.keyPicker(), 1);
    texts += shownTexts(rig.inspector);
    const QRegularExpression vendor(
        QStringLiteral("\\b(apple|safari|macos|vision)\\b"), QRegularExpression::CaseInsensitiveOption);
    for (const QString& text : texts)
        EXPECT_FALSE(text.contains(vendor)) << text.toStdString();
}
