#include "BenchTestSupport.h"
#include "bench/canvas/BenchCanvas.h"
#include "bench/canvas/CanvasChrome.h"
#include "bench/canvas/CanvasGeometry.h"
#include "imaging/model/Theme.h"
#include "imaging/render/Renderer.h"

#include <QHelpEvent>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;

namespace {

// A bench over `data` and its canvas, 400 × 300 points.
struct CanvasRig {
    ScratchPreferences settings;
    std::unique_ptr<BenchModel> model;
    std::unique_ptr<BenchCanvas> canvas;

    explicit CanvasRig(const QByteArray& data)
        : model(benchOver(data))
        , canvas(std::make_unique<BenchCanvas>(*model, settings.prefs()))
    {
        canvas->resize(400, 300);
    }

    QColor shownAt(QPoint point) const { return canvas->grab().toImage().pixelColor(point); }
};

TextSpec sizedText(double size, double outline)
{
    TextSpec text = TextSpec::defaultFor(QSizeF(100, 100));
    text.size = size;
    text.outlineWidth = outline;
    return text;
}

} // namespace

TEST(Canvas, ACropDragThroughTheCanvasWritesTheRowAndKeepsItsHoldUntilReleased)
{
    CanvasRig rig(solidPng(100, 100, QColor(40, 90, 160)));
    rig.model->setRecord({TreatmentEntry(CropSpec{0, 0, 100, 100}), TreatmentEntry(brighter())});
    EXPECT_FALSE(rig.canvas->overlays().crop());
    rig.model->setSelection(row(*rig.model, 0).id);
    const CropOverlay* crop = rig.canvas->overlays().crop();
    ASSERT_TRUE(crop);
    EXPECT_EQ(rig.canvas->imageRect(), QRectF(98, 48, 204, 204));

    // The top-left handle, 51 points in: 25 pixels at 2.04 points a pixel.
    QTest::mousePress(rig.canvas.get(), Qt::LeftButton, {}, QPoint(98, 48));
    QTest::mouseMove(rig.canvas.get(), QPoint(149, 99));
    EXPECT_EQ(row(*rig.model, 0).treatment.cropSpec(), (CropSpec{25, 25, 75, 75}));
    // The write re-rendered the bench; the drag still holds its anchor.
    EXPECT_EQ(crop->anchor(), QPointF(100, 100));
    QTest::mouseMove(rig.canvas.get(), QPoint(200, 150));
    EXPECT_EQ(row(*rig.model, 0).treatment.cropSpec(), (CropSpec{50, 50, 50, 50}));
    QTest::mouseRelease(rig.canvas.get(), Qt::LeftButton, {}, QPoint(200, 150));
    EXPECT_FALSE(crop->anchor());

    // Another row takes the overlay away, and a drag in progress with it.
    QTest::mousePress(rig.canvas.get(), Qt::LeftButton, {}, QPoint(200, 150));
    EXPECT_TRUE(crop->grip());
    rig.model->setSelection(row(*rig.model, 1).id);
    EXPECT_FALSE(rig.canvas->overlays().crop());
    rig.model->setSelection(row(*rig.model, 0).id);
    EXPECT_FALSE(rig.canvas->overlays().crop()->grip());
}

TEST(Canvas, ExtendTextAndStampRowsGetTheirOutlineAndBoxes)
{
    CanvasRig rig(solidPng(100, 100, QColor(40, 90, 160)));
    StampSpec undecodable;
    undecodable.imageData = "not an image";
    undecodable.width = 30;
    StampSpec wide = undecodable;
    wide.imageData = solidPng(20, 10, Qt::red);
    rig.model->setRecord({TreatmentEntry(ExtendSpec{150, 120, {2, 2}}), TreatmentEntry(sizedText(40, 1.4)),
        TreatmentEntry(undecodable), TreatmentEntry(wide)});

    // The canvas grows 50 pixels to the left and 20 up: at 1.7 points a pixel, the outline fills
    // the height between the margins and the image sits in its bottom-right corner.
    rig.model->setSelection(row(*rig.model, 0).id);
    EXPECT_EQ(rig.canvas->imageRect(), QRectF(157.5, 82, 170, 170));
    EXPECT_EQ(rig.canvas->overlays().extendOutline(), QRectF(72.5, 48, 255, 204));
    EXPECT_FALSE(rig.canvas->overlays().placement());

    rig.model->setSelection(row(*rig.model, 1).id);
    EXPECT_FALSE(rig.canvas->overlays().extendOutline());
    ASSERT_TRUE(rig.canvas->overlays().placement());
    EXPECT_EQ(rig.canvas->overlays().placement()->boxSize(),
        Renderer::textBoxSize(*row(*rig.model, 1).treatment.textSpec()));

    // A stamp that no longer decodes is placed as a square.
    rig.model->setSelection(row(*rig.model, 2).id);
    EXPECT_EQ(rig.canvas->overlays().placement()->boxSize(), QSizeF(30, 30));
    rig.model->setSelection(row(*rig.model, 3).id);
    EXPECT_EQ(rig.canvas->overlays().placement()->boxSize(), QSizeF(30, 15));
}

TEST(Canvas, TheScaleHandleScalesATextsTypeAndOutlineAndAStampsWidth)
{
    auto model = benchOver(solidPng(100, 100, Qt::white));
    StampSpec stamp;
    stamp.imageData = solidPng(8, 8, Qt::red);
    stamp.width = 20;
    stamp.opacity = 0.5;
    model->setRecord({TreatmentEntry(sizedText(40, 1.4)), TreatmentEntry(sizedText(5, 1.4)),
        TreatmentEntry(stamp), TreatmentEntry(sizedText(0, 1))});
    const auto text = [&](qint64 index) { return *row(*model, index).treatment.textSpec(); };
    const auto boxWidth = [&](qint64 index) { return Renderer::textBoxSize(text(index)).width(); };

    model->resizeText(0, boxWidth(0) * 1.5);
    EXPECT_NEAR(text(0).size, 60, 1e-9);
    EXPECT_NEAR(text(0).outlineWidth, 2.1, 1e-9);
    // Never below 4 points of type; the outline still follows the box.
    model->resizeText(1, boxWidth(1) * 0.5);
    EXPECT_EQ(text(1).size, 4);
    EXPECT_NEAR(text(1).outlineWidth, 0.7, 1e-9);

    const TreatmentRecord before = model->record();
    model->resizeText(3, 50); // no size to scale
    model->resizeText(2, 50); // a stamp
    model->resizeText(9, 50);
    model->resizeStamp(0, 50); // a text
    model->resizeStamp(-1, 50);
    EXPECT_EQ(model->record(), before);

    model->resizeStamp(2, 77);
    StampSpec scaled = stamp;
    scaled.width = 77;
    EXPECT_EQ(row(*model, 2).treatment.stampSpec(), scaled);
}

TEST(Canvas, GroundsFollowThePreferencesAtOnceAndTheButtonsChooseThem)
{
    CanvasRig rig(solidPng(32, 32, QColor(40, 90, 160)));
    const QSizeF area(rig.canvas->size());
    const QPoint darkButton = CanvasChrome::groundButtonRect(area, CanvasGround::dark).center().toPoint();
    EXPECT_EQ(rig.model->ground(), CanvasGround::checker);
    QTest::mouseClick(rig.canvas.get(), Qt::LeftButton, {}, darkButton);
    EXPECT_EQ(rig.model->ground(), CanvasGround::dark);

    rig.settings.prefs().setPreviewDarkHex(QStringLiteral("#FF0000"));
    EXPECT_EQ(rig.shownAt(QPoint(5, 5)), QColor(255, 0, 0));
    EXPECT_EQ(rig.shownAt(darkButton), QColor(255, 0, 0));
    rig.settings.prefs().setPreviewDarkHex(QStringLiteral("#00FF00"));
    EXPECT_EQ(rig.shownAt(QPoint(5, 5)), QColor(0, 255, 0));
    EXPECT_EQ(rig.shownAt(darkButton), QColor(0, 255, 0));
    // A hex that does not parse draws clear: the bench's background shows.
    rig.settings.prefs().setPreviewDarkHex(QStringLiteral("#12345"));
    EXPECT_EQ(rig.shownAt(QPoint(5, 5)), Theme::background());

    QHelpEvent help(QEvent::ToolTip, darkButton, rig.canvas->mapToGlobal(darkButton));
    QApplication::sendEvent(rig.canvas.get(), &help);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("dark"));
    QToolTip::hideText();
}

TEST(Canvas, WithoutAnImageTheCanvasSaysSoAndKeepsItsGroundButtons)
{
    CanvasRig rig("not an image");
    rig.model->setRecord({TreatmentEntry(CropSpec{0, 0, 10, 10})});
    rig.model->setSelection(row(*rig.model, 0).id);
    EXPECT_FALSE(rig.canvas->overlays().crop());
    EXPECT_TRUE(rig.canvas->imageRect().isEmpty());
    EXPECT_EQ(rig.canvas->failureText(), QStringLiteral("Couldn\u2019t render cat.png."));
    const QPoint light
        = CanvasChrome::groundButtonRect(QSizeF(rig.canvas->size()), CanvasGround::light).center().toPoint();
    QTest::mouseClick(rig.canvas.get(), Qt::LeftButton, {}, light);
    EXPECT_EQ(rig.model->ground(), CanvasGround::light);
}
