#include "BenchTestSupport.h"
#include "bench/canvas/BenchCanvas.h"
#include "bench/canvas/CanvasChrome.h"
#include "bench/canvas/CanvasEyedropper.h"
#include "imaging/model/HexColor.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;

namespace {

// A 16-pixel square of #336699 whose ground row is selected, its canvas in a window beside a button.
struct PickRig {
    ScratchPreferences settings;
    std::unique_ptr<BenchModel> model;
    QWidget window;
    BenchCanvas* canvas;
    QPushButton* button;

    explicit PickRig(const GroundSpec& ground)
        : model(benchOver(solidPng(16, 16, QColor(0x33, 0x66, 0x99))))
    {
        auto* layout = new QVBoxLayout(&window);
        canvas = new BenchCanvas(*model, settings.prefs());
        button = new QPushButton(QStringLiteral("elsewhere"));
        layout->addWidget(canvas);
        layout->addWidget(button);
        window.resize(400, 340);
        window.show();
        model->setRecord({TreatmentEntry(brighter()), TreatmentEntry(ground)});
        model->setSelection(row(*model, 1).id);
    }

    // Asks for a colour as the ground inspector does, and lets the sampler open.
    void pick()
    {
        model->pickGroundColor();
        QCoreApplication::processEvents();
    }

    QPoint imageCentre() const { return canvas->imageRect().center().toPoint(); }
    GroundSpec ground() const { return *row(*model, 1).treatment.groundSpec(); }
};

} // namespace

TEST(Eyedropper, APickKeysTheColourTheCanvasShowsAndKeepsTheFill)
{
    PickRig rig(GroundSpec{SubjectKey{}, ColorFill{"#FFFFFF"}});
    const qint64 renders = rig.model->renderCount();
    rig.pick();
    EXPECT_TRUE(rig.model->samplingGroundColor());
    EXPECT_TRUE(rig.canvas->eyedropper()->isPicking());
    EXPECT_EQ(rig.canvas->cursor().shape(), Qt::CrossCursor);
    // The canvas shows the row's input: the tone above it, not the key.
    EXPECT_EQ(rig.model->activeRecord().size(), 1u);
    EXPECT_GT(rig.model->renderCount(), renders);

    const QColor shown = rig.canvas->shownColor(rig.imageCentre());
    QTest::mouseClick(rig.canvas, Qt::LeftButton, {}, rig.imageCentre());
    EXPECT_FALSE(rig.model->samplingGroundColor());
    EXPECT_FALSE(rig.canvas->eyedropper()->isPicking());
    EXPECT_EQ(rig.ground(),
        (GroundSpec{ColorKey{hexString(shown), KeyReach::everywhere, 0, 0}, ColorFill{"#FFFFFF"}}));
    EXPECT_NE(hexString(shown), QStringLiteral("#336699")); // brightened by the tone

    // A colour key keeps its reach, threshold and softness; only its colour changes.
    PickRig keyed(GroundSpec{ColorKey{"#000000", KeyReach::fromTheBorder, 0.3, 0.2}, TransparentFill{}});
    keyed.model->setRecord({TreatmentEntry(ToneSpec{}), row(*keyed.model, 1)});
    keyed.pick();
    QTest::mouseClick(keyed.canvas, Qt::LeftButton, {}, keyed.imageCentre());
    EXPECT_EQ(keyed.ground(),
        (GroundSpec{ColorKey{"#336699", KeyReach::fromTheBorder, 0.3, 0.2}, TransparentFill{}}));
}

TEST(Eyedropper, EscARightPressOrLeavingTheWindowCancelsAndChangesNothing)
{
    const GroundSpec ground{SubjectKey{}, TransparentFill{}};
    PickRig rig(ground);
    rig.pick();
    QTest::keyClick(rig.canvas, Qt::Key_Escape);
    EXPECT_FALSE(rig.model->samplingGroundColor());
    EXPECT_FALSE(rig.canvas->eyedropper()->isPicking());
    EXPECT_EQ(rig.ground(), ground);

    rig.pick();
    QTest::mouseClick(rig.canvas, Qt::RightButton, {}, rig.imageCentre());
    EXPECT_FALSE(rig.model->samplingGroundColor());
    EXPECT_EQ(rig.ground(), ground);

    rig.pick();
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(&rig.window, &deactivate);
    EXPECT_FALSE(rig.model->samplingGroundColor());
    EXPECT_EQ(rig.ground(), ground);

    // Sampling that ends by itself takes the crosshair away too.
    rig.pick();
    rig.model->applySampledColor(std::nullopt);
    EXPECT_FALSE(rig.canvas->eyedropper()->isPicking());
    EXPECT_NE(rig.canvas->cursor().shape(), Qt::CrossCursor);
}

TEST(Eyedropper, ThePressThatPicksOrCancelsReachesNothingElse)
{
    PickRig rig(GroundSpec{});
    // On a ground button the press picks that button's colour without choosing its ground.
    const QPoint dark
        = CanvasChrome::groundButtonRect(QSizeF(rig.canvas->size()), CanvasGround::dark).center().toPoint();
    rig.pick();
    QTest::mouseClick(rig.canvas, Qt::LeftButton, {}, dark);
    EXPECT_EQ(rig.model->ground(), CanvasGround::checker);
    EXPECT_TRUE(std::holds_alternative<ColorKey>(rig.ground().key));

    // Elsewhere it cancels, and the button under it is not clicked.
    const GroundSpec picked = rig.ground();
    QSignalSpy clicks(rig.button, &QPushButton::clicked);
    rig.pick();
    QTest::mouseClick(rig.button, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_FALSE(rig.model->samplingGroundColor());
    EXPECT_EQ(rig.ground(), picked);
    // Afterwards the button works again.
    QTest::mouseClick(rig.button, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 1);
}
