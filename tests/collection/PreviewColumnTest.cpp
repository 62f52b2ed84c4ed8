#include "collection/preview/PreviewColumn.h"
#include "CollectionFixture.h"
#include "PeerTools.h"
#include "PreviewTestSupport.h"
#include "bench/sheets/Chip.h"
#include "collection/chrome/PlainButton.h"
#include "collection/preview/PreviewColumnController.h"
#include "collection/preview/PreviewPaneView.h"
#include "collection/preview/PreviewTile.h"
#include "collection/preview/ZoomControls.h"
#include "imaging/model/Theme.h"
#include "inspectors/controls/ElidedLabel.h"

#include <QCoreApplication>
#include <QDir>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;

namespace {

// The column over a controller rig, with an animated GIF of usable delays, one whose frames
// declare none, and a still PNG.
struct ColumnRig {
    ColumnRig()
    {
        rig.folder.addGif("dance.gif", 4, 7);
        rig.folder.addGif("rush.gif", 4, 0);
        rig.folder.store().reload();
        column = std::make_unique<PreviewColumn>(*rig.controller);
    }

    PreviewColumnController& controller() { return column->controller(); }
    Preferences& prefs() { return rig.folder.prefs(); }
    void show(int width, int height)
    {
        column->resize(width, height);
        column->show();
        QCoreApplication::processEvents();
    }

    ControllerRig rig{{"still.png"}};
    std::unique_ptr<PreviewColumn> column;
};

TEST(PreviewColumnZoom, StepsStopAtBothEndsAndTheReadoutResetsToTheDefault)
{
    ColumnRig rig;
    PreviewColumnController& controller = rig.controller();
    ASSERT_EQ(rig.prefs().zoom(), ZoomLevel::px128);

    controller.zoomOut();
    EXPECT_EQ(rig.prefs().zoom(), ZoomLevel::px64);
    controller.zoomOut();
    EXPECT_EQ(rig.prefs().zoom(), ZoomLevel::px32);
    EXPECT_FALSE(controller.canZoomOut());
    EXPECT_FALSE(rig.column->zoomControls()->zoomOutButton()->isEnabled());
    controller.zoomOut();
    EXPECT_EQ(rig.prefs().zoom(), ZoomLevel::px32);

    for (int step = 0; step < 6; ++step)
        controller.zoomIn();
    EXPECT_EQ(rig.prefs().zoom(), ZoomLevel::px512);
    EXPECT_FALSE(controller.canZoomIn());
    EXPECT_TRUE(controller.canZoomOut());
    EXPECT_FALSE(rig.column->zoomControls()->zoomInButton()->isEnabled());
    EXPECT_EQ(rig.rig.folder.settings().value("zoomLevel").toLongLong(), 512);

    rig.prefs().setDefaultZoom(ZoomLevel::px256);
    rig.column->zoomControls()->readout()->click();
    EXPECT_EQ(rig.prefs().zoom(), ZoomLevel::px256);
    EXPECT_EQ(rig.column->zoomControls()->readout()->toolTip(), "Reset to default zoom — press 0");
}

TEST(PreviewColumnZoom, TheReadoutMarksASideSmallerThanTheZoom)
{
    EXPECT_EQ(PreviewColumnController::zoomLabel(ZoomLevel::px512, 0), "512 px");
    EXPECT_EQ(PreviewColumnController::zoomLabel(ZoomLevel::px512, 252), "< 512 px");
    EXPECT_EQ(PreviewColumnController::zoomLabel(ZoomLevel::px128, 127.6), "128 px");
    EXPECT_EQ(PreviewColumnController::zoomLabel(ZoomLevel::px128, 127.4), "< 128 px");
    EXPECT_EQ(PreviewColumnController::zoomLabel(ZoomLevel::px32, 0.5), "32 px");
    EXPECT_EQ(PreviewColumnController::zoomLabel(ZoomLevel::px32, 0.6), "< 32 px");
    EXPECT_EQ(PreviewColumnController::zoomLabel(ZoomLevel::px512, 1024), "512 px");

    // The side the tiles report reaches the readout: narrow at 512, then wide enough.
    ColumnRig rig;
    rig.prefs().setZoom(ZoomLevel::px512);
    rig.show(500, 700);
    const double side = rig.column->pane()->zoomSide();
    EXPECT_LT(side, 512);
    EXPECT_EQ(rig.rig.controller->previewZoomSide(), side);
    EXPECT_EQ(rig.column->zoomControls()->readout()->text(), "< 512 px");
    rig.column->resize(700, 1500);
    QCoreApplication::processEvents();
    EXPECT_EQ(rig.rig.controller->previewZoomSide(), 512);
    EXPECT_EQ(rig.column->zoomControls()->readout()->text(), "512 px");
}

TEST(PreviewColumnChips, FollowTheSelectedImagesTiming)
{
    ColumnRig rig;
    PreviewColumnController& controller = rig.controller();
    PreviewColumn& column = *rig.column;
    QSignalSpy repairs(&controller, &PreviewColumnController::timingRepairRequested);

    rig.rig.select("still.png");
    EXPECT_EQ(column.title()->text(), "still.png");
    EXPECT_TRUE(column.playbackChip()->isHidden());
    EXPECT_TRUE(column.timingChip()->isHidden());
    controller.requestTimingRepair();
    EXPECT_TRUE(repairs.isEmpty()) << "no repair without the chip";

    rig.rig.select("dance.gif");
    EXPECT_FALSE(column.playbackChip()->isHidden());
    EXPECT_TRUE(column.timingChip()->isHidden());
    EXPECT_EQ(column.playbackChip()->symbolName(), "media-playback-start");
    EXPECT_EQ(column.playbackChip()->tint(), &Theme::moss);
    EXPECT_EQ(column.playbackChip()->toolTip(), "Animation on — press / to freeze");

    column.playbackChip()->click();
    EXPECT_FALSE(rig.prefs().animateGIFs());
    EXPECT_EQ(rig.rig.folder.settings().value("animateGIFs").toBool(), false);
    EXPECT_EQ(column.playbackChip()->symbolName(), "media-playback-pause");
    EXPECT_EQ(column.playbackChip()->tint(), &Theme::inkSecondary);
    EXPECT_EQ(column.playbackChip()->toolTip(), "Animation off — press / to play");
    EXPECT_FALSE(column.pane()->model().animate());

    rig.rig.select("rush.gif");
    EXPECT_FALSE(column.playbackChip()->isHidden());
    EXPECT_FALSE(column.timingChip()->isHidden());
    EXPECT_EQ(column.timingChip()->text(), "! fix timing");
    EXPECT_EQ(column.timingChip()->tint(), &Theme::rust);
    column.timingChip()->click();
    EXPECT_EQ(repairs.size(), 1);

    // A selection the filter hides is no selection here.
    rig.rig.controller->setFilterQuery("dance");
    rig.rig.controller->setSelection(rig.rig.folder.url("rush.gif"));
    EXPECT_EQ(column.title()->text(), "No specimen");
    EXPECT_EQ(column.title()->font().pointSizeF(), Theme::serifFont(15, QFont::DemiBold).pointSizeF());
    EXPECT_TRUE(column.playbackChip()->isHidden());
    EXPECT_TRUE(column.timingChip()->isHidden());
}

TEST(PreviewColumnPane, ShowsTheSelectionOnThePreferredGrounds)
{
    ColumnRig rig;
    rig.prefs().setPreviewDarkHex(" #102030 ");
    rig.prefs().setPreviewLightHex("F0E0D0");
    rig.rig.select("still.png");
    rig.show(400, 700);
    PreviewPaneView& pane = *rig.column->pane();
    ASSERT_TRUE(waitUntil([&] { return pane.model().animation() != nullptr; }));

    const auto corner = [&](int position) { return rendered(*pane.tile(position)).pixelColor(4, 4); };
    EXPECT_TRUE(near(corner(0), QColor(0x10, 0x20, 0x30)));
    EXPECT_TRUE(near(corner(1), QColor(0xF0, 0xE0, 0xD0)));
    rig.prefs().setPreviewDarkFirst(false);
    EXPECT_EQ(pane.tile(0)->ground().label, "Light");
    EXPECT_TRUE(near(corner(0), QColor(0xF0, 0xE0, 0xD0)));
    EXPECT_TRUE(near(corner(1), QColor(0x10, 0x20, 0x30)));

    // The image itself: the fixture's PNGs are one solid colour.
    const QImage tile = rendered(*pane.tile(0));
    EXPECT_TRUE(near(tile.pixelColor(tile.width() / 2, tile.height() / 2), QColor(200, 80, 40)));

    rig.rig.controller->setFilterQuery("nothing matches");
    EXPECT_EQ(pane.model().animation(), nullptr) << "cleared at once";
}

TEST(PreviewColumnPane, SavingAndPuttingBackDecodeTheFileAgain)
{
    ColumnRig rig;
    rig.rig.select("still.png");
    rig.show(400, 700);
    PreviewPaneModel& model = rig.column->pane()->model();
    ASSERT_TRUE(waitUntil([&] { return model.animation() && !model.isDecoding(); }));
    const auto middle = [&] {
        const QImage tile = rendered(*rig.column->pane()->tile(0));
        return tile.pixelColor(tile.width() / 2, tile.height() / 2);
    };
    const QColor original = middle();

    FolderStore& store = rig.rig.folder.store();
    const qint64 revision = store.contentRevision();
    RestorationSession session;
    session.fileURL = rig.rig.folder.url("still.png");
    session.originalData = readFileBytes(rig.rig.folder.path("still.png"));
    ToneSpec tone;
    tone.brightness = 0.6;
    session.record.push_back(TreatmentEntry(Treatment(tone)));
    ASSERT_TRUE(store.save(session, true).item.has_value());
    EXPECT_GT(store.contentRevision(), revision);
    ASSERT_TRUE(waitUntil([&] { return !model.isDecoding() && !near(middle(), original, 10); }));

    const std::optional<ImageItem> saved = rig.rig.controller->selectedItem();
    ASSERT_TRUE(saved.has_value());
    ASSERT_TRUE(store.putBackOriginal(*saved).item.has_value());
    ASSERT_TRUE(waitUntil([&] { return !model.isDecoding() && near(middle(), original); }));
}

} // namespace
