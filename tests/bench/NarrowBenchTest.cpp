#include "BenchTestSupport.h"
#include "GifBuilder.h"
#include "bench/canvas/BenchCanvas.h"
#include "bench/frames/FramesTimeline.h"
#include "bench/frames/TimelineHeader.h"
#include "bench/frames/TimelineHost.h"
#include "bench/inspect/InspectorPage.h"
#include "bench/inspect/InspectorPane.h"
#include "bench/record/RecordColumn.h"
#include "bench/view/RestorationView.h"
#include "inspectors/controls/ElidedLabel.h"

#include <QAbstractButton>
#include <QRegion>
#include <QTest>
#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;
using Part = TimelineHeader::Part;

namespace {

// The bench over a 12-frame animation as the main window holds it, `width` × 720; delays of 10 ms
// raise the fast-delay warning.
struct WindowRig {
    explicit WindowRig(int width, int delayCentiseconds = 1)
        : view(new RestorationView(benchOver(makeAnimatedGif(12, QSize(96, 64), delayCentiseconds)).release(),
            settings.prefs(), &window))
    {
        window.resize(width, 720);
        view->setGeometry(window.rect());
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    QRect inWindow(const QWidget* widget) const { return {widget->mapTo(&window, QPoint()), widget->size()}; }
    TimelineHeader* header() const { return view->timelineHost()->timeline()->header(); }
    QRect at(Part part) const { return header()->label(part)->geometry(); }
    // The texts that show neither overlap nor leave the header, and each keeps more than a "…".
    void expectTextsApart() const
    {
        QRegion taken;
        for (int part = 0; part < TimelineHeader::partCount; ++part) {
            if (!header()->label(Part(part))->isVisible())
                continue;
            EXPECT_TRUE(header()->rect().contains(at(Part(part))) && !taken.intersects(at(Part(part)))
                && header()->label(Part(part))->shownText().size() > 1)
                << part << " at " << header()->width();
            taken += at(Part(part));
        }
    }

    ScratchPreferences settings;
    QWidget window;
    RestorationView* view;
};

} // namespace

TEST(NarrowBench, AtTheWindowsMinimumTheColumnsStayApartAndTheFramesInspectorInside)
{
    WindowRig rig(560);
    const QRect canvas = rig.inWindow(rig.view->canvas()->parentWidget());
    EXPECT_LT(rig.inWindow(rig.view->recordColumn()).right(), canvas.left());
    EXPECT_LT(canvas.right(), rig.inWindow(rig.view->inspectorPane()).left());
    EXPECT_LE(rig.inWindow(rig.view->inspectorPane()).right(), 559);
    // The warning and the hint give way to the summary, which elides last.
    EXPECT_TRUE(rig.header()->label(TimelineHeader::summary)->shownText().endsWith(QStringLiteral("…")));
    EXPECT_FALSE(rig.header()->label(TimelineHeader::warning)->isVisible());
    rig.expectTextsApart();

    rig.view->model().addTreatment(TreatmentKind::frames);
    QApplication::processEvents();
    const auto buttons = rig.view->inspectorPane()->page()->findChildren<QAbstractButton*>();
    EXPECT_GE(buttons.size(), 6);
    for (const QAbstractButton* button : buttons)
        EXPECT_TRUE(rig.window.rect().contains(rig.inWindow(button))) << button->text().toStdString();
}

TEST(NarrowBench, TheHintTakesTheCornerAndMovesTheRowDownOnlyForTheWarning)
{
    WindowRig fast(1080);
    for (const Part part : {TimelineHeader::summary, TimelineHeader::warning, TimelineHeader::hint})
        EXPECT_EQ(fast.header()->label(part)->shownText(), fast.header()->label(part)->text()) << part;
    EXPECT_EQ(fast.at(TimelineHeader::hint).topRight(), QPoint(fast.header()->width() - 13, 2));
    fast.expectTextsApart();
    for (int width = 560; width < 1080; width += 4) {
        fast.view->resize(width, 720);
        QApplication::processEvents();
        fast.expectTextsApart();
    }

    // Without a warning the row keeps its place under the hint, which gives way before the summary.
    WindowRig slow(860, 10);
    EXPECT_EQ(slow.at(TimelineHeader::hint).top(), 2);
    EXPECT_LT(slow.at(TimelineHeader::summary).top(), fast.at(TimelineHeader::summary).top());
    EXPECT_EQ(slow.header()->label(TimelineHeader::summary)->shownText(),
        QStringLiteral("12 frames · 1.20 s · loops ∞"));
    EXPECT_TRUE(slow.header()->label(TimelineHeader::hint)->shownText().endsWith(QStringLiteral("…")));
    slow.expectTextsApart();
}

TEST(NarrowBench, AtTheDefaultWidthEveryHeaderTextIsWhole)
{
    WindowRig rig(1080);
    const auto expectWhole = [&](const char* state) {
        QApplication::processEvents();
        for (int part = 0; part < TimelineHeader::partCount; ++part) {
            const ElidedLabel* label = rig.header()->label(Part(part));
            EXPECT_TRUE(
                label->text().isEmpty() || (label->isVisible() && label->shownText() == label->text()))
                << state << " " << part;
        }
        rig.expectTextsApart();
    };
    expectWhole("read-only");

    // The longest selection text, then two skipped frames too, beside the fast-delay warning.
    BenchModel& model = rig.view->model();
    model.appendEntry(Treatment(framesShowing({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, 10)));
    model.setFrameSelection({9, 10, 11});
    expectWhole("selection");
    FramesSpec skipping = *row(model, 0).treatment.framesSpec();
    skipping.edits = skipping.settingSkipped(true, {1, 4});
    model.setTreatment(0, Treatment(skipping));
    expectWhole("selection and skipped");
    model.setFrameSelection({});
    expectWhole("skipped");

    // The warning's line comes and goes as the column widens; the header's height follows.
    for (int width = 560; width <= 1080; width += 8) {
        rig.view->resize(width, 720);
        QApplication::processEvents();
        rig.expectTextsApart();
    }
    expectWhole("widened again");
}
