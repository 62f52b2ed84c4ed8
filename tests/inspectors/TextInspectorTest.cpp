#include "inspectors/text/TextInspector.h"
#include "ButtonClicks.h"
#include "HeldSpec.h"
#include "inspectors/controls/ColorWell.h"
#include "inspectors/controls/FieldMarksSlider.h"
#include "inspectors/controls/InspectorSlider.h"
#include "inspectors/controls/SliderValueText.h"
#include "inspectors/text/TextContentEditor.h"

#include <QPlainTextEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;

namespace {

TextSpec plainText(const QString& content, double size, double outlineWidth = 0)
{
    TextSpec spec;
    spec.content = content;
    spec.fontName = defaultTextFont();
    spec.size = size;
    spec.colorHex = QStringLiteral("#FFFFFF");
    spec.outlineHex = QStringLiteral("#211E19");
    spec.outlineWidth = outlineWidth;
    spec.rotation = 12;
    spec.center = QPointF(30, 40);
    return spec;
}

// An inspector over a held spec, counting its font uses in settings of its own.
struct Rig {
    explicit Rig(TextSpec spec, QSizeF inputSize = {128, 128})
        : settings(dir.filePath(QStringLiteral("usage.ini")), QSettings::IniFormat)
    {
        held.spec = std::move(spec);
        inspector = std::make_unique<TextInspector>(held.binding(), inputSize, FontUsage(&settings));
    }
    QTemporaryDir dir;
    QSettings settings;
    HeldSpec<TextSpec> held;
    std::unique_ptr<TextInspector> inspector;
};

std::pair<double, double> range(InspectorSlider* slider)
{
    return {slider->slider()->lower(), slider->slider()->upper()};
}

} // namespace

TEST(TextInspectorTest, RangesFollowTheInputHeightAndTheTextSize)
{
    Rig rig(plainText(QStringLiteral("OMG"), 15), {0, 0});
    EXPECT_EQ(range(rig.inspector->sizeSlider()), std::make_pair(6.0, 12.0));
    EXPECT_EQ(range(rig.inspector->outlineWidthSlider()), std::make_pair(0.0, 2.0));
    EXPECT_EQ(range(rig.inspector->rotationSlider()), std::make_pair(-180.0, 180.0));

    rig.inspector->setInputs(rig.held.binding(), {300, 400});
    EXPECT_EQ(range(rig.inspector->sizeSlider()), std::make_pair(6.0, 400.0));
    rig.inspector->setInputs(rig.held.binding(), {300, 10});
    EXPECT_EQ(range(rig.inspector->sizeSlider()), std::make_pair(6.0, 12.0));

    // Moving the size slider to its top moves the outline's bound with it.
    rig.inspector->setInputs(rig.held.binding(), {50, 50});
    rig.inspector->sizeSlider()->slider()->step(+100);
    EXPECT_EQ(rig.held.spec.size, 50);
    EXPECT_EQ(range(rig.inspector->outlineWidthSlider()), std::make_pair(0.0, 5.0));
    EXPECT_EQ(rig.held.writes, 1);
}

TEST(TextInspectorTest, ValueTextsRoundHalfAwayFromZero)
{
    EXPECT_EQ(SliderValueText::outlineWidth(0.04), "none");
    EXPECT_EQ(SliderValueText::outlineWidth(0.05), "0.1px");
    EXPECT_EQ(SliderValueText::outlineWidth(1.5), "1.5px");
    EXPECT_EQ(SliderValueText::degrees(-180), "-180\u00B0");
    EXPECT_EQ(SliderValueText::degrees(44.5), "45\u00B0");
    EXPECT_EQ(SliderValueText::degrees(-44.5), "-45\u00B0");
    EXPECT_EQ(SliderValueText::pixels(31.5), "32px");
    EXPECT_EQ(SliderValueText::pixels(63.5), "64px");
    EXPECT_EQ(SliderValueText::percent(0.555), "56%");
    EXPECT_EQ(SliderValueText::percent(0), "0%");
    EXPECT_EQ(SliderValueText::percent(1), "100%");

    Rig rig(plainText(QStringLiteral("OMG"), 31.5, 0.04));
    EXPECT_EQ(rig.inspector->sizeSlider()->valueText(), "32px");
    EXPECT_EQ(rig.inspector->outlineWidthSlider()->valueText(), "none");
    EXPECT_EQ(rig.inspector->rotationSlider()->valueText(), "12\u00B0");
}

TEST(TextInspectorTest, PlacementsMeasureTheTextBoxWhenPressed)
{
    // A one-line box 40 high: 1.12 × size + 2 × outline.
    const double size = 30 / 1.12;
    Rig rig(plainText(QStringLiteral("OMG"), size, 5));
    rig.inspector->placeTop();
    EXPECT_NEAR(rig.held.spec.center.y(), 20, 1e-9);
    EXPECT_EQ(rig.held.spec.center.x(), 30);
    rig.inspector->placeBottom();
    EXPECT_NEAR(rig.held.spec.center.y(), 108, 1e-9);
    rig.inspector->placeMiddle();
    EXPECT_EQ(rig.held.spec.center.y(), 64);
    rig.inspector->centerHorizontally();
    EXPECT_EQ(rig.held.spec.center, QPointF(64, 64));
    EXPECT_EQ(rig.held.writes, 4);
    TextSpec unchanged = plainText(QStringLiteral("OMG"), size, 5);
    unchanged.center = rig.held.spec.center;
    EXPECT_EQ(rig.held.spec, unchanged) << "nothing but the centre moves";

    // Two lines are two line heights; empty content is one line.
    rig.held.spec = plainText(QStringLiteral("OH\nNO"), 50, 2);
    rig.inspector->placeTop();
    EXPECT_NEAR(rig.held.spec.center.y(), (2 * 1.12 * 50 + 4) / 2, 1e-9);
    rig.held.spec = plainText(QString(), 50, 0);
    rig.inspector->placeTop();
    EXPECT_NEAR(rig.held.spec.center.y(), 1.12 * 50 / 2, 1e-9);

    // Without an input the placements fall back to its zero size.
    rig.inspector->setInputs(rig.held.binding(), {0, 0});
    rig.inspector->placeMiddle();
    EXPECT_EQ(rig.held.spec.center.y(), 0);
    rig.inspector->centerHorizontally();
    EXPECT_EQ(rig.held.spec.center.x(), 0);
    rig.inspector->placeBottom();
    EXPECT_NEAR(rig.held.spec.center.y(), -1.12 * 50 / 2, 1e-9);
}

TEST(TextInspectorTest, EachButtonClickedDoesItsOwnActionAlone)
{
    // A 160 × 90 input and a box 40 high, centred away from every placement.
    const TextSpec start = plainText(QStringLiteral("OMG"), 30 / 1.12, 5);
    TextSpec swapped = start;
    std::swap(swapped.colorHex, swapped.outlineHex);
    const std::tuple<const char*, QPointF, TextSpec> clicks[] = {
        {"Top", {30, 20}, start},
        {"Middle", {30, 45}, start},
        {"Bottom", {30, 70}, start},
        {"Center horizontally", {80, 40}, start},
        {"Swap fill and outline", {30, 40}, swapped},
    };
    for (const auto& [title, center, others] : clicks) {
        SCOPED_TRACE(title);
        Rig rig(start, {160, 90});
        rig.inspector->resize(250, 900);
        rig.inspector->show();
        clickButton(rig.inspector.get(), QString::fromUtf8(title));
        EXPECT_EQ(rig.held.writes, 1);
        TextSpec written = rig.held.spec;
        EXPECT_NEAR(written.center.x(), center.x(), 1e-9);
        EXPECT_NEAR(written.center.y(), center.y(), 1e-9);
        written.center = start.center;
        EXPECT_EQ(written, others);
    }
}

TEST(TextInspectorTest, SwappingWritesOnceAndTwiceRestoresAndUnreadableColoursShowClear)
{
    Rig rig(plainText(QStringLiteral("OMG"), 20));
    rig.inspector->swapColors();
    EXPECT_EQ(rig.held.writes, 1) << "one write, never both colours equal in between";
    EXPECT_EQ(rig.held.spec.colorHex, "#211E19");
    EXPECT_EQ(rig.held.spec.outlineHex, "#FFFFFF");
    rig.inspector->swapColors();
    EXPECT_EQ(rig.held.spec, plainText(QStringLiteral("OMG"), 20));

    rig.held.spec.colorHex = QString();
    rig.inspector->refresh();
    EXPECT_EQ(rig.inspector->fillWell()->color().alpha(), 0);
    EXPECT_EQ(rig.inspector->outlineWell()->color(), QColor(0x21, 0x1E, 0x19));
    QPointer<QColorDialog> panel;
    rig.inspector->fillWell()->setPanelFactory([&](QWidget* parent) {
        panel = new QColorDialog(parent);
        panel->setOption(QColorDialog::DontUseNativeDialog);
        return panel.data();
    });
    rig.inspector->fillWell()->openPanel();
    ASSERT_TRUE(panel);
    panel->setCurrentColor(QColor(0xAB, 0x0C, 0xEF));
    EXPECT_EQ(rig.held.spec.colorHex, "#AB0CEF");
}

TEST(TextInspectorTest, TypingWritesEveryKeystrokeAndKeepsTheCaret)
{
    Rig rig(plainText(QStringLiteral("OMG"), 20));
    // The bench shows every write afresh, as the pane does.
    rig.held.afterWrite = [&] { rig.inspector->setInputs(rig.held.binding(), {128, 128}); };
    QPlainTextEdit* editor = rig.inspector->contentEditor()->editor();
    EXPECT_EQ(editor->toPlainText(), "OMG");
    editor->moveCursor(QTextCursor::End);
    QTest::keyClicks(editor, QStringLiteral(" wow!"));
    EXPECT_EQ(rig.held.writes, 5);
    EXPECT_EQ(rig.held.spec.content, "OMG wow!");
    EXPECT_EQ(editor->textCursor().position(), 8);
    // In the middle of the text too: each write comes back without moving the caret.
    QTextCursor caret = editor->textCursor();
    caret.setPosition(1);
    editor->setTextCursor(caret);
    QTest::keyClicks(editor, QStringLiteral("XY"));
    EXPECT_EQ(rig.held.spec.content, "OXYMG wow!");
    EXPECT_EQ(editor->textCursor().position(), 3);

    // Text from elsewhere (another row) replaces the editor's without a write.
    rig.held.afterWrite = {};
    rig.held.spec.content = QStringLiteral("LOL");
    rig.inspector->refresh();
    EXPECT_EQ(editor->toPlainText(), "LOL");
    EXPECT_EQ(rig.held.writes, 7);
}
