#include "bench/sheets/SaveGate.h"
#include "ApngBuilder.h"
#include "BenchTestSupport.h"
#include "SyntheticImages.h"
#include "bench/sheets/BenchSheets.h"
#include "bench/sheets/ExportPanel.h"
#include "imaging/render/Renderer.h"
#include "inspectors/controls/ProminentButton.h"
#include "inspectors/controls/ThemedLabel.h"

#include <QCheckBox>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;

namespace {

// A red disc on a white ground, 32 × 32.
QImage discOnWhite()
{
    return discImage(32, 32, QColor(200, 30, 30), Qt::white);
}

// The white ground keyed out, then (with `fillHex`) a colour put behind.
GroundSpec whiteKeyedOut(std::optional<QString> fillHex = std::nullopt)
{
    GroundSpec spec;
    spec.key = ColorKey{QStringLiteral("#FFFFFF"), KeyReach::fromTheBorder, 0.1, 0};
    if (fillHex)
        spec.fill = ColorFill{*fillHex};
    return spec;
}

// Our writer, except for one type it cannot write, as a build without that codec would be.
struct WriterWithout : ImageEncoder {
    explicit WriterWithout(ImageType type)
        : missing(type)
    { }
    std::optional<QByteArray> encode(const QImage& image, ImageType type) const override
    {
        return type == missing ? std::nullopt : ImageEncoder::encode(image, type);
    }
    ImageType missing;
};

// A bench over `data` with its sheets presented over a shown host window.
struct GateRig {
    GateRig(const QByteArray& data, const QString& name)
        : model(benchOver(data, name))
        , sheets(*model, &host)
    {
        host.resize(600, 400);
        host.show();
    }

    SaveGate* openGate()
    {
        model->openSaveGate();
        return sheets.saveGate();
    }

    QWidget host;
    std::unique_ptr<BenchModel> model;
    BenchSheets sheets;
};

} // namespace

TEST(SaveGate, RefusesOnlyWhereTheFilesOwnTypeWouldLoseTheTransparencyTheRecordMade)
{
    const QByteArray png = encodePng(discOnWhite());
    const QByteArray jpeg = *Renderer::encode(discOnWhite(), ImageType::JPEG);
    {
        GateRig rig(png, QStringLiteral("x.png"));
        EXPECT_EQ(rig.openGate()->variant(), SaveGate::Variant::save) << "opaque, nothing done";
        rig.model->keepEditing();
        rig.model->appendEntry(whiteKeyedOut());
        SaveGate* gate = rig.openGate();
        EXPECT_EQ(gate->variant(), SaveGate::Variant::save) << "PNG keeps the keyed-out ground";
        EXPECT_EQ(gate->titleLabel()->text(), QStringLiteral("Save changes to x.png?"));
        EXPECT_EQ(gate->messageLabel()->text(),
            QStringLiteral("This file will replace the original in the collection."));
        EXPECT_EQ(gate->width(), SaveGate::sheetWidth);
    }
    {
        GateRig rig(jpeg, QStringLiteral("x.jpg"));
        rig.model->appendEntry(whiteKeyedOut());
        SaveGate* gate = rig.openGate();
        EXPECT_EQ(gate->variant(), SaveGate::Variant::refusal);
        EXPECT_EQ(gate->titleLabel()->text(), QStringLiteral("Can't save x.jpg"));
        EXPECT_EQ(gate->messageLabel()->text(),
            QStringLiteral(
                "This file format does not support transparency. Export a WEBP, PNG, or GIF instead. If "
                "you really want to save this format, your selected Ground treatment can replace it "
                "with whatever color you like."));
        EXPECT_EQ(gate->actionButton()->text(), QStringLiteral("Export"));
        EXPECT_FALSE(gate->backupToggle());
        rig.model->keepEditing();

        // A fill behind the keyed-out ground makes it opaque again.
        rig.model->setTreatment(0, Treatment(whiteKeyedOut(QStringLiteral("#3366CC"))));
        EXPECT_EQ(rig.openGate()->variant(), SaveGate::Variant::save);
    }
    {
        // Bytes that decode to nothing: nothing can be judged, and the export has nothing to write.
        GateRig rig(QByteArray("not an image"), QStringLiteral("x.png"));
        rig.model->appendEntry(brighter());
        EXPECT_EQ(rig.openGate()->variant(), SaveGate::Variant::save);
        rig.model->keepEditing();
        rig.model->openExport();
        ASSERT_TRUE(rig.sheets.exportPanel());
        EXPECT_FALSE(rig.sheets.exportPanel()->model().strip());
    }
}

TEST(SaveGate, TheWholeRecordIsJudgedWhicheverRowIsSelected)
{
    GateRig rig(*Renderer::encode(discOnWhite(), ImageType::JPEG), QStringLiteral("x.jpg"));
    rig.model->setRecord({TreatmentEntry(whiteKeyedOut()), TreatmentEntry(brighter())});
    for (const std::optional<QUuid>& selected : {std::optional(row(*rig.model, 0).id),
             std::optional(row(*rig.model, 1).id), std::optional<QUuid>()}) {
        rig.model->setSelection(selected);
        EXPECT_EQ(rig.openGate()->variant(), SaveGate::Variant::refusal) << selected.has_value();
        rig.model->keepEditing();
    }
    // A fill in a later row makes the whole opaque again, though the selected row's image is not.
    GroundSpec fill;
    fill.fill = ColorFill{QStringLiteral("#3366CC")};
    rig.model->appendEntry(fill);
    rig.model->setSelection(row(*rig.model, 0).id);
    EXPECT_EQ(rig.openGate()->variant(), SaveGate::Variant::save);
}

TEST(SaveGate, AFileWhoseOwnTypeCannotBeWrittenIsRefusedAndNothingIsSaved)
{
    GateRig rig(encodePng(discOnWhite()), QStringLiteral("x.png"));
    rig.model->setEncoder(std::make_shared<WriterWithout>(ImageType::PNG));
    rig.model->appendEntry(whiteKeyedOut());
    QSignalSpy saves(rig.model.get(), &BenchModel::saveRequested);
    SaveGate* gate = rig.openGate();
    EXPECT_EQ(gate->variant(), SaveGate::Variant::refusal);
    EXPECT_EQ(gate->titleLabel()->text(), QStringLiteral("Can't save x.png"));
    EXPECT_EQ(gate->actionButton()->text(), QStringLiteral("Export"));
    QTest::keyClick(gate, Qt::Key_Return);
    EXPECT_TRUE(rig.model->showingExport());
    EXPECT_EQ(saves.count(), 0);

    // Our own writer back, PNG keeps the keyed-out ground.
    rig.model->cancelExport();
    rig.model->setEncoder(nullptr);
    EXPECT_EQ(rig.openGate()->variant(), SaveGate::Variant::save);
}

TEST(SaveGate, ReturnTakesTheProminentButtonAndKeepEditingOnlyCloses)
{
    GateRig rig(encodePng(discOnWhite()), QStringLiteral("x.png"));
    rig.model->appendEntry(brighter());
    QSignalSpy saves(rig.model.get(), &BenchModel::saveRequested);
    int exports = 0;
    QObject::connect(rig.model.get(), &BenchModel::exportRequested, [&] { ++exports; });

    SaveGate* gate = rig.openGate();
    ASSERT_TRUE(gate->isVisible());
    EXPECT_TRUE(gate->isModal());
    EXPECT_TRUE(gate->actionButton()->isDefault());
    EXPECT_FALSE(gate->keepEditingButton()->autoDefault());
    const TreatmentRecord before = rig.model->record();
    gate->keepEditingButton()->click();
    EXPECT_FALSE(rig.model->showingSaveGate());
    EXPECT_FALSE(rig.sheets.saveGate());
    EXPECT_FALSE(gate->isVisible());
    EXPECT_EQ(rig.model->record(), before);
    EXPECT_EQ(saves.count() + exports, 0);

    // Escape is the platform's way of keeping on editing.
    gate = rig.openGate();
    QTest::keyClick(gate, Qt::Key_Escape);
    EXPECT_FALSE(rig.model->showingSaveGate());
    EXPECT_FALSE(rig.sheets.saveGate());

    // Return from the toggle saves, with the toggle's value, once the gate has closed. The toggle's
    // two lines are its label: a click on them flips it, a press there that ends outside does not.
    gate = rig.openGate();
    QPointer<SaveGate> shown = gate;
    QWidget* label = nullptr;
    for (ThemedLabel* line : gate->findChildren<ThemedLabel*>())
        if (line->text() == QStringLiteral("Back up the original"))
            label = line->parentWidget();
    ASSERT_TRUE(label);
    QTest::mousePress(label, Qt::LeftButton, {}, QPoint(4, 4));
    QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(label->width() + 4, 4));
    EXPECT_TRUE(rig.model->backupOriginal());
    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(4, label->height() - 4));
    EXPECT_FALSE(rig.model->backupOriginal());
    QTest::mouseClick(label, Qt::RightButton, {}, QPoint(4, 4));
    EXPECT_FALSE(rig.model->backupOriginal()) << "only the primary button flips it";
    EXPECT_FALSE(gate->backupToggle()->isChecked());
    QObject::connect(rig.model.get(), &BenchModel::saveRequested, gate, [&] {
        EXPECT_FALSE(shown && shown->isVisible()) << "the gate closes first";
        EXPECT_FALSE(rig.model->showingSaveGate());
    });
    QTest::keyClick(gate->backupToggle(), Qt::Key_Return);
    ASSERT_EQ(saves.count(), 1);
    EXPECT_EQ(saves.first().at(0).value<RestorationSession>(), rig.model->session());
    EXPECT_FALSE(saves.first().at(1).toBool());

    // The choice belongs to the bench: the gate opens again with the toggle as it was left.
    EXPECT_FALSE(rig.openGate()->backupToggle()->isChecked());
}

TEST(SaveGate, TheRefusalsExportClosesTheGateAndOpensTheExportPanel)
{
    const QByteArray jpeg = *Renderer::encode(discOnWhite(), ImageType::JPEG);
    GateRig rig(jpeg, QStringLiteral("x.jpg"));
    rig.model->appendEntry(whiteKeyedOut());
    QPointer<SaveGate> gate = rig.openGate();
    ASSERT_EQ(gate->variant(), SaveGate::Variant::refusal);
    QTest::keyClick(gate->keepEditingButton(), Qt::Key_Return);
    EXPECT_FALSE(rig.model->showingSaveGate());
    EXPECT_TRUE(rig.model->showingExport());
    EXPECT_FALSE(gate && gate->isVisible());
    ASSERT_TRUE(rig.sheets.exportPanel());
    EXPECT_TRUE(rig.sheets.exportPanel()->isVisible());
    EXPECT_EQ(rig.sheets.exportPanel()->model().filename(), QStringLiteral("x.jpg"));
    EXPECT_EQ(rig.sheets.exportPanel()->model().editedName(), QStringLiteral("x"));

    // Never both: the gate stays shut while the panel is open.
    rig.model->openSaveGate();
    EXPECT_FALSE(rig.model->showingSaveGate());
    EXPECT_FALSE(rig.sheets.saveGate());
}
