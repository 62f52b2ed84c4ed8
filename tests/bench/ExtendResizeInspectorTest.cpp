#include "BenchTestSupport.h"
#include "bench/inspect/AnchorGrid.h"
#include "bench/inspect/ExtendInspector.h"
#include "bench/inspect/InspectorPane.h"
#include "bench/inspect/PixelField.h"
#include "bench/inspect/ResizeInspector.h"
#include "bench/inspect/SquareLockButton.h"
#include "inspectors/controls/BorderedButton.h"

#include <QLineEdit>
#include <QLocale>
#include <QTest>
#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;

namespace {

// A bench over a still of `width` × `height` whose one row is selected, with its pane on screen.
struct Rig {
    Rig(int width, int height, const Treatment& treatment)
        : model(benchOver(gradientPng(width, height)))
    {
        model->appendEntry(treatment);
        pane = new InspectorPane(*model, &window);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    ExtendInspector& extend() const { return *qobject_cast<ExtendInspector*>(pane->page()); }
    ResizeInspector& resize() const { return *qobject_cast<ResizeInspector*>(pane->page()); }
    ExtendSpec extendSpec(qint64 index = 0) const { return *row(*model, index).treatment.extendSpec(); }
    qint64 longestEdge() const { return row(*model, 0).treatment.resizeSpec()->longestEdge; }

    std::unique_ptr<BenchModel> model;
    QWidget window;
    InspectorPane* pane;
};

// As the user types: into the focused field, whose text stays while the stored value is clamped.
void typeInto(PixelField* field, const QString& text)
{
    field->lineEdit()->setFocus(Qt::MouseFocusReason);
    field->lineEdit()->selectAll();
    QTest::keyClicks(field->lineEdit(), text);
}

void enterEdge(ResizeInspector& inspector, const QString& text)
{
    inspector.edgeField()->setFocus(Qt::MouseFocusReason);
    inspector.edgeField()->selectAll();
    QTest::keyClicks(inspector.edgeField(), text);
    QTest::keyClick(inspector.edgeField(), Qt::Key_Return);
}

// Numbers are shown and read the way the United States writes them.
class ExtendResizeInspectorTest : public testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
};

} // namespace

TEST_F(ExtendResizeInspectorTest, UnlockedSidesAreRaisedToTheInputOnTheirOwn)
{
    Rig rig(64, 64, ExtendSpec{96, 64, {1, 1}});
    EXPECT_FALSE(rig.model->extendSquareLocked());
    EXPECT_FALSE(rig.extend().lockButton()->isChecked());
    typeInto(rig.extend().widthField(), QStringLiteral("50"));
    EXPECT_EQ(rig.extendSpec(), (ExtendSpec{64, 64, {1, 1}}));
    typeInto(rig.extend().heightField(), QStringLiteral("200"));
    EXPECT_EQ(rig.extendSpec(), (ExtendSpec{64, 200, {1, 1}}));
    EXPECT_EQ(rig.extend().captionText(), QStringLiteral("Image 64×64 → 64×200."));
}

TEST_F(ExtendResizeInspectorTest, OnAnOblongInputEachSideIsRaisedToItsOwnSideOfTheInput)
{
    for (const QSize input : {QSize(64, 20), QSize(20, 64)}) {
        SCOPED_TRACE(input.width());
        Rig rig(input.width(), input.height(), ExtendSpec{100, 90, {0, 2}});
        ASSERT_FALSE(rig.model->extendSquareLocked());
        typeInto(rig.extend().heightField(), QStringLiteral("10"));
        EXPECT_EQ(rig.extendSpec(), (ExtendSpec{100, input.height(), {0, 2}}));
        typeInto(rig.extend().widthField(), QStringLiteral("10"));
        EXPECT_EQ(rig.extendSpec(), (ExtendSpec{input.width(), input.height(), {0, 2}}));
        EXPECT_EQ(rig.extend().heightField()->lineEdit()->text(), QString::number(input.height()));
        typeInto(rig.extend().heightField(), QStringLiteral("77"));
        EXPECT_EQ(rig.extendSpec(), (ExtendSpec{input.width(), 77, {0, 2}}));

        // Locked, a small side squares to the input's longer side, whichever that is.
        rig.extend().lockButton()->click();
        typeInto(rig.extend().heightField(), QStringLiteral("30"));
        EXPECT_EQ(rig.extendSpec(), (ExtendSpec{64, 64, {0, 2}}));
    }
}

TEST_F(ExtendResizeInspectorTest, TheLockSquaresTheTargetAndBothFieldsWriteOneSide)
{
    Rig rig(64, 64, ExtendSpec{96, 64, {0, 2}});
    rig.extend().lockButton()->click();
    EXPECT_TRUE(rig.model->extendSquareLocked());
    EXPECT_TRUE(rig.extend().lockButton()->isChecked());
    EXPECT_EQ(rig.extendSpec(), (ExtendSpec{96, 96, {0, 2}}));
    typeInto(rig.extend().heightField(), QStringLiteral("40"));
    EXPECT_EQ(rig.extendSpec(), (ExtendSpec{64, 64, {0, 2}}));
    EXPECT_EQ(rig.extend().widthField()->lineEdit()->text(), QStringLiteral("64"));

    // Unlocking changes nothing else.
    rig.extend().lockButton()->click();
    EXPECT_FALSE(rig.model->extendSquareLocked());
    EXPECT_EQ(rig.extendSpec(), (ExtendSpec{64, 64, {0, 2}}));
}

TEST_F(ExtendResizeInspectorTest, OpeningAnExtendRowSetsTheLockByItsShapeOncePerPosition)
{
    Rig rig(64, 48, ExtendSpec{80, 80, {1, 1}});
    BenchModel* model = rig.model.get();
    model->setRecord(
        {row(*model, 0), TreatmentEntry(ExtendSpec{80, 64, {1, 1}}), TreatmentEntry(brighter())});
    model->setSelection(row(*model, 0).id);
    EXPECT_TRUE(model->extendSquareLocked());
    model->setSelection(row(*model, 1).id);
    EXPECT_FALSE(model->extendSquareLocked());

    // Back at the square one, the user unlocks; edits there rebuild nothing and keep it unlocked.
    model->setSelection(row(*model, 0).id);
    EXPECT_TRUE(model->extendSquareLocked());
    rig.extend().lockButton()->click();
    typeInto(rig.extend().widthField(), QStringLiteral("100"));
    EXPECT_FALSE(model->extendSquareLocked());
    EXPECT_EQ(*row(*model, 0).treatment.extendSpec(), (ExtendSpec{100, 80, {1, 1}}));

    // Through another kind and back, the row comes into view again.
    model->setSelection(row(*model, 2).id);
    model->setTreatment(0, ExtendSpec{90, 90, {1, 1}});
    model->setSelection(row(*model, 0).id);
    EXPECT_TRUE(model->extendSquareLocked());
}

TEST_F(ExtendResizeInspectorTest, TheAnchorGridMovesOnlyTheAnchor)
{
    Rig rig(64, 48, ExtendSpec{96, 96, {1, 1}});
    EXPECT_EQ(rig.extend().captionText(), QStringLiteral("Image 64×48 → 96×96."));
    EXPECT_EQ(rig.extend().anchorGrid()->active(), (Anchor{1, 1}));
    QTest::mouseClick(rig.extend().anchorGrid(), Qt::LeftButton, {}, AnchorGrid::cellRect(2, 2).center());
    EXPECT_EQ(rig.extendSpec(), (ExtendSpec{96, 96, {2, 2}}));
    EXPECT_EQ(rig.extend().anchorGrid()->active(), (Anchor{2, 2}));
}

TEST_F(ExtendResizeInspectorTest, TypedLongestEdgesAreClampedRatherThanRefused)
{
    Rig rig(300, 150, ResizeSpec{128});
    ResizeInspector& inspector = rig.resize();
    enterEdge(inspector, QStringLiteral("0"));
    EXPECT_EQ(rig.longestEdge(), 1);
    EXPECT_EQ(inspector.edgeField()->text(), QStringLiteral("1"));
    enterEdge(inspector, QStringLiteral("12000"));
    EXPECT_EQ(rig.longestEdge(), 9999);
    EXPECT_EQ(inspector.edgeField()->text(), QStringLiteral("9,999"));
    enterEdge(inspector, QStringLiteral("1,500"));
    EXPECT_EQ(rig.longestEdge(), 1500);
    enterEdge(inspector, QStringLiteral("big"));
    EXPECT_EQ(rig.longestEdge(), 1500);
    EXPECT_EQ(inspector.edgeField()->text(), QStringLiteral("1,500"));
}

TEST_F(ExtendResizeInspectorTest, PresetsSetTheEdgeAndTheCaptionShowsTheSizeItGives)
{
    Rig rig(300, 150, ResizeSpec{128});
    EXPECT_TRUE(rig.resize().presetButton(0)->isTinted());
    rig.resize().presetButton(1)->click();
    EXPECT_EQ(rig.longestEdge(), 256);
    EXPECT_EQ(rig.resize().captionText(), QStringLiteral("300×150 → 256×128"));
    EXPECT_FALSE(rig.resize().presetButton(0)->isTinted());
    EXPECT_TRUE(rig.resize().presetButton(1)->isTinted());
    EXPECT_EQ(rig.resize().edgeField()->text(), QStringLiteral("256"));

    Rig odd(100, 33, ResizeSpec{50});
    EXPECT_EQ(odd.resize().captionText(), QStringLiteral("100×33 → 50×17"));
    for (qint64 i = 0; i < 4; ++i)
        EXPECT_FALSE(odd.resize().presetButton(i)->isTinted());
}

TEST_F(ExtendResizeInspectorTest, RowBindingsReadNothingAndWriteNothingOnRowsOfAnotherKind)
{
    auto model = benchOver(gradientPng(64, 48));
    model->setRecord({TreatmentEntry(brighter())});
    const TreatmentRecord before = model->record();
    const Binding<qint64> crop = model->cropFieldBinding(0, &CropSpec::width);
    const Binding<qint64> side = model->extendSideBinding(0, Qt::Horizontal);
    EXPECT_EQ(crop.get(), 0);
    EXPECT_EQ(side.get(), 0);
    crop.set(10);
    side.set(10);
    model->setExtendAnchor(0, Anchor{0, 0});
    model->trimTransparentBorder(0);
    model->setExtendSquareLocked(false);
    model->toggleSquareLock(0);
    EXPECT_EQ(model->record(), before);
    EXPECT_TRUE(model->extendSquareLocked()) << "the lock itself still flips";
    // Out of range: nothing to write to.
    model->cropFieldBinding(5, &CropSpec::width).set(3);
    model->setLongestEdge(-1, 64);
    EXPECT_EQ(model->record(), before);
}

TEST_F(ExtendResizeInspectorTest, WithoutADecodableSourceSidesOnlyKeepAtLeastOnePixel)
{
    auto model = benchOver(QByteArray("not an image"));
    model->appendEntry(ExtendSpec{8, 8, {1, 1}});
    InspectorPane pane(*model);
    auto* page = qobject_cast<ExtendInspector*>(pane.page());
    ASSERT_NE(page, nullptr);
    page->lockButton()->click(); // the square target opened locked: unlock
    model->extendSideBinding(0, Qt::Horizontal).set(0);
    EXPECT_EQ(*row(*model, 0).treatment.extendSpec(), (ExtendSpec{1, 8, {1, 1}}));
    EXPECT_EQ(page->captionText(), QStringLiteral("Image 0×0 → 1×8."));
}

TEST_F(ExtendResizeInspectorTest, TheEdgeFieldCommitsOnFocusLossButNeverIntoAnotherRow)
{
    Rig rig(300, 150, ResizeSpec{128});
    QLineEdit* edge = rig.resize().edgeField();
    auto* elsewhere = new QLineEdit(&rig.window);
    elsewhere->move(0, 400);
    elsewhere->show();
    edge->setFocus(Qt::MouseFocusReason);
    edge->selectAll();
    QTest::keyClicks(edge, QStringLiteral("64"));
    EXPECT_EQ(rig.longestEdge(), 128) << "nothing until the entry is committed";
    elsewhere->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(rig.longestEdge(), 64);
    EXPECT_EQ(rig.resize().captionText(), QStringLiteral("300×150 → 64×32"));

    // The row goes while a number is typed; the focus leaving after it must not resize the tone row
    // that took its place.
    rig.model->setRecord({row(*rig.model, 0), TreatmentEntry(brighter())});
    edge->setFocus(Qt::MouseFocusReason);
    edge->selectAll();
    QTest::keyClicks(edge, QStringLiteral("32"));
    const TreatmentRecord toneOnly = {row(*rig.model, 1)};
    rig.model->setRecord(toneOnly);
    elsewhere->setFocus(Qt::MouseFocusReason);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(rig.model->record(), toneOnly);
}
