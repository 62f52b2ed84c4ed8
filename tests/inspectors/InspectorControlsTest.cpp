#include "imaging/model/Theme.h"
#include "inspectors/controls/ColorWell.h"
#include "inspectors/controls/FieldMarksSlider.h"
#include "inspectors/controls/IconSegmentedPicker.h"
#include "inspectors/controls/InspectorSlider.h"
#include "inspectors/controls/StackingRow.h"
#include "inspectors/controls/SwatchRow.h"
#include "inspectors/ground/InstanceChip.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QColorDialog>
#include <QHBoxLayout>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace plenoria;

namespace {

// A value held by the test, counting the writes made to it.
struct Held {
    double value = 0;
    qint64 writes = 0;
    Binding<double> binding()
    {
        return Binding<double>([this] { return value; },
            [this](const double& written) {
                value = written;
                ++writes;
            });
    }
};

// The slider drawn on the bench's ground, 200 points of track.
QImage drawn(FieldMarksSlider& slider)
{
    slider.resize(200 + 2 * FieldMarksSlider::inset, 28);
    QImage image(slider.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Theme::background());
    slider.render(&image);
    return image;
}

bool isMoss(const QImage& image, int trackX)
{
    const QColor pixel = image.pixelColor(FieldMarksSlider::inset + trackX, image.height() / 2);
    const QColor moss = Theme::moss();
    return std::abs(pixel.red() - moss.red()) + std::abs(pixel.green() - moss.green())
        + std::abs(pixel.blue() - moss.blue())
        < 12;
}

bool sendKey(QWidget& widget, Qt::Key key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(&widget, &press);
    return press.isAccepted();
}

} // namespace

TEST(InspectorControlsTest, TheSliderFillsToItsValueAndLeavesAnOwnersValueOutOfRangeAlone)
{
    Held held;
    FieldMarksSlider slider(QStringLiteral("Warmth"), held.binding(), -1, 1);
    QImage image = drawn(slider);
    EXPECT_DOUBLE_EQ(slider.fillWidth(), 100);
    EXPECT_TRUE(isMoss(image, 50));
    EXPECT_FALSE(isMoss(image, 160));

    held.value = 2.5;
    image = drawn(slider);
    EXPECT_DOUBLE_EQ(slider.fillWidth(), 200);
    EXPECT_TRUE(isMoss(image, 160));
    held.value = -3;
    image = drawn(slider);
    EXPECT_DOUBLE_EQ(slider.fillWidth(), 0);
    EXPECT_FALSE(isMoss(image, 50));
    EXPECT_EQ(held.writes, 0);
    EXPECT_EQ(held.value, -3);
}

TEST(InspectorControlsTest, ThePointerSetsTheValueUnderItClampedToTheRange)
{
    Held held;
    held.value = 0.5;
    FieldMarksSlider slider(QStringLiteral("Softness"), held.binding(), -1, 1);
    slider.resize(200 + 2 * FieldMarksSlider::inset, 28);
    const int middle = slider.height() / 2;
    QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(0, middle));
    EXPECT_EQ(held.value, -1);
    QTest::mouseMove(&slider, QPoint(FieldMarksSlider::inset + 150, middle));
    QMouseEvent drag(QEvent::MouseMove, QPointF(FieldMarksSlider::inset + 150, middle),
        slider.mapToGlobal(QPointF(FieldMarksSlider::inset + 150, middle)), Qt::NoButton, Qt::LeftButton,
        Qt::NoModifier);
    QApplication::sendEvent(&slider, &drag);
    EXPECT_DOUBLE_EQ(held.value, 0.5) << "no snapping";
    QMouseEvent past(QEvent::MouseMove, QPointF(1000, middle), slider.mapToGlobal(QPointF(1000, middle)),
        Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&slider, &past);
    EXPECT_EQ(held.value, 1);

    // A range of one value: every press and step writes that value.
    Held single;
    single.value = 7;
    FieldMarksSlider flat(QStringLiteral("Flat"), single.binding(), 0.3, 0.3);
    flat.resize(100, 28);
    QTest::mousePress(&flat, Qt::LeftButton, {}, QPoint(80, 14));
    EXPECT_EQ(single.value, 0.3);
    single.value = 7;
    flat.step(+1);
    EXPECT_EQ(single.value, 0.3);
    EXPECT_EQ(flat.fillWidth(), 0);
}

TEST(InspectorControlsTest, ArrowKeysStepTwoPercentOfTheSpanAndAreAlwaysTaken)
{
    Held held;
    held.value = 1;
    FieldMarksSlider slider(QStringLiteral("Hue"), held.binding(), -1, 1);
    EXPECT_TRUE(sendKey(slider, Qt::Key_Right));
    EXPECT_EQ(held.value, 1);
    EXPECT_EQ(held.writes, 1);
    EXPECT_FALSE(sendKey(slider, Qt::Key_Up)) << "other keys go on to the parent";
    for (int i = 0; i < 50; ++i)
        EXPECT_TRUE(sendKey(slider, Qt::Key_Left));
    EXPECT_EQ(held.value, -1);

    Held threshold;
    threshold.value = 0.2;
    FieldMarksSlider narrow(QStringLiteral("Threshold"), threshold.binding(), 0, 0.5);
    sendKey(narrow, Qt::Key_Right);
    EXPECT_DOUBLE_EQ(threshold.value, 0.21);
    EXPECT_EQ(slider.focusPolicy(), Qt::StrongFocus);
}

TEST(InspectorControlsTest, AccessibilitySeesOneSliderValuedByTheHeadersText)
{
    Held held;
    held.value = 0.25;
    InspectorSlider control(QStringLiteral("Contrast"), held.binding(), -1, 1,
        [](double value) { return QString::number(qRound(value * 100)); });
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control.slider());
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::Slider);
    EXPECT_EQ(accessible->childCount(), 0);
    EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral("Contrast"));
    EXPECT_EQ(control.valueText(), QStringLiteral("25"));
    EXPECT_EQ(accessible->text(QAccessible::Value), control.valueText());

    QAccessibleActionInterface* actions = accessible->actionInterface();
    ASSERT_NE(actions, nullptr);
    actions->doAction(QAccessibleActionInterface::increaseAction());
    EXPECT_DOUBLE_EQ(held.value, 0.29);
    EXPECT_EQ(control.valueText(), QStringLiteral("29"));
    EXPECT_EQ(accessible->text(QAccessible::Value), QStringLiteral("29"));
    actions->doAction(QAccessibleActionInterface::decreaseAction());
    actions->doAction(QAccessibleActionInterface::decreaseAction());
    EXPECT_EQ(accessible->text(QAccessible::Value), QStringLiteral("21"));
}

TEST(InspectorControlsTest, ASegmentedPickerDividesItsSegmentsAndWritesEveryClick)
{
    enum class Reach { everywhere, border, nowhere };
    Reach reach = Reach::border;
    qint64 writes = 0;
    const Binding<Reach> selection([&] { return reach; },
        [&](const Reach& value) {
            reach = value;
            ++writes;
        });
    IconSegmentedPicker picker(
        std::vector<IconSegmentedPicker::Segment<Reach>>{
            {QStringLiteral("All"), QStringLiteral("edit-select-all"), Reach::everywhere},
            {QStringLiteral("Edges"), {}, Reach::border}, {QStringLiteral("None"), {}, Reach::nowhere}},
        selection);
    picker.resize(240, picker.sizeHint().height());
    EXPECT_EQ(picker.dividerRects().size(), 2u);
    EXPECT_EQ(picker.selectedIndex(), 1);

    QTest::mouseClick(&picker, Qt::LeftButton, {}, picker.segmentRect(1).center());
    EXPECT_EQ(writes, 1) << "the selected segment writes again";
    QTest::mouseClick(&picker, Qt::LeftButton, {}, picker.segmentRect(0).center());
    EXPECT_EQ(reach, Reach::everywhere);
    EXPECT_EQ(picker.selectedIndex(), 0);

    // A selection no segment carries highlights none.
    bool other = false;
    IconSegmentedPicker flags(std::vector<IconSegmentedPicker::Segment<int>>{{QStringLiteral("On"), {}, 1}},
        Binding<int>([&] { return other ? 1 : 5; }, {}));
    EXPECT_EQ(flags.selectedIndex(), std::nullopt);
    EXPECT_TRUE(flags.dividerRects().empty());
}

TEST(InspectorControlsTest, SwatchesMatchTheSelectionIgnoringCaseAndReportTheirTextAsListed)
{
    SwatchRow row(QStringLiteral("#E6E2D2"),
        {QStringLiteral("#211e19"), QStringLiteral("#e6e2d2"), QStringLiteral("zz")});
    QSignalSpy picks(&row, &SwatchRow::picked);
    EXPECT_FALSE(row.isMarked(0));
    EXPECT_TRUE(row.isMarked(1));
    EXPECT_EQ(row.swatch(2)->toolTip(), QStringLiteral("zz"));

    // An unparsable swatch is clear: what lies beneath shows through its middle.
    row.resize(row.sizeHint());
    QImage image(row.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::red);
    row.render(&image, {}, {}, QWidget::DrawChildren);
    EXPECT_EQ(image.pixelColor(row.swatch(2)->geometry().center()), QColor(Qt::red));
    EXPECT_NE(image.pixelColor(row.swatch(0)->geometry().center()), QColor(Qt::red));

    QTest::mouseClick(row.swatch(1), Qt::LeftButton);
    QTest::mouseClick(row.swatch(2), Qt::LeftButton);
    ASSERT_EQ(picks.count(), 2);
    EXPECT_EQ(picks.at(0).first().toString(), QStringLiteral("#e6e2d2"));
    EXPECT_EQ(picks.at(1).first().toString(), QStringLiteral("zz"));
    EXPECT_EQ(row.selected(), QStringLiteral("#E6E2D2")) << "the owner updates the selection";
}

TEST(InspectorControlsTest, AColorWellWritesOpaquePicksLiveAndItsPanelDiesWithIt)
{
    QColor color(Qt::red);
    const Binding<QColor> binding([&] { return color; }, [&](const QColor& value) { color = value; });
    auto well = std::make_unique<ColorWell>(QStringLiteral("Fill"), binding);
    QPointer<QColorDialog> panel;
    well->setPanelFactory([&](QWidget* parent) {
        panel = new QColorDialog(parent);
        panel->setOption(QColorDialog::DontUseNativeDialog);
        return panel.data();
    });
    QTest::mouseClick(well->button(), Qt::LeftButton);
    ASSERT_TRUE(panel);
    EXPECT_EQ(well->panel(), panel.data());
    EXPECT_FALSE(panel->testOption(QColorDialog::ShowAlphaChannel));
    EXPECT_FALSE(panel->isModal());
    EXPECT_EQ(panel->currentColor(), QColor(Qt::red));

    panel->setCurrentColor(QColor(10, 20, 30, 128));
    EXPECT_EQ(color, QColor(10, 20, 30)) << "written at once, and opaque";

    // The owner's own colour is shown in the panel without being written back.
    color = QColor(Qt::blue);
    int writes = 0;
    QObject::connect(panel, &QColorDialog::currentColorChanged, [&] { ++writes; });
    well->refresh();
    EXPECT_EQ(panel->currentColor(), QColor(Qt::blue));
    EXPECT_EQ(writes, 0);

    well.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(panel) << "no panel outlives its well";
    EXPECT_EQ(color, QColor(Qt::blue));
}

TEST(InspectorControlsTest, AnInstanceChipReportsItsClickAndShowsWhatItsOwnerPassesBack)
{
    InstanceChip chip(QStringLiteral("2"), true);
    QSignalSpy taps(&chip, &QAbstractButton::clicked);
    QTest::mouseClick(&chip, Qt::LeftButton);
    EXPECT_EQ(taps.count(), 1);
    EXPECT_TRUE(chip.isOn()) << "the owner flips it";
    chip.setOn(false);
    EXPECT_FALSE(chip.isOn());
    EXPECT_EQ(chip.size(), QSize(InstanceChip::side, InstanceChip::side));
}

TEST(InspectorControlsTest, AStackingRowAtItsNarrowestStacksAndCutsNeitherPart)
{
    auto* name = new QLabel(QStringLiteral("a.png"));
    auto* buttons = new QWidget;
    auto* layout = new QHBoxLayout(buttons);
    for (const QString text : {"Export", "Cancel", "Save"})
        layout->addWidget(new QPushButton(text));
    QWidget host;
    host.resize(600, 200);
    auto* row = new StackingRow(name, buttons, &host);
    host.show();
    row->resize(row->sizeHint());
    EXPECT_FALSE(row->isStacked());

    row->resize(row->minimumSizeHint());
    QCoreApplication::processEvents();
    EXPECT_TRUE(row->isStacked());
    for (QWidget* part : {static_cast<QWidget*>(name), buttons}) {
        EXPECT_TRUE(row->rect().contains(part->geometry()));
        EXPECT_GE(part->width(), part->minimumSizeHint().width());
    }
}
