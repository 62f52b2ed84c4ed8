#include "ApngBuilder.h"
#include "BenchTestSupport.h"
#include "GifBuilder.h"
#include "HostileEntries.h"
#include "SyntheticImages.h"
#include "bench/model/BenchModel.h"
#include "bench/record/AddTreatmentButton.h"
#include "imaging/read/ImageSource.h"
#include "imaging/render/Renderer.h"

#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;

namespace {

// Picks files from a temporary folder instead of asking anyone; remembers what it was asked.
struct Picker {
    Picker() { EXPECT_TRUE(dir.isValid()); }

    QString write(const QString& name, const QByteArray& bytes)
    {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }
    BenchModel::StampChooser choosing(std::optional<QString> path)
    {
        return [this, path](const QString& message) {
            messages << message;
            return path;
        };
    }

    QTemporaryDir dir;
    QStringList messages;
};

std::vector<TreatmentKind> kindsOf(const BenchModel& model)
{
    return model.addableKinds();
}

} // namespace

TEST(AddingTreatments, AnimatedSourcesAlsoOfferFrames)
{
    auto still = benchOver(gradientPng(8, 8));
    ASSERT_EQ(kindsOf(*still).size(), 7u);
    EXPECT_EQ(kindsOf(*still).back(), TreatmentKind::stamp);

    auto animated = benchOver(colourFramesGif(2), QStringLiteral("blink.gif"));
    ASSERT_EQ(kindsOf(*animated).size(), 8u);
    EXPECT_EQ(kindsOf(*animated).back(), TreatmentKind::frames);

    // The menu lists them in that order, each with its tooltip.
    AddTreatmentButton button(*animated);
    const QList<QAction*> entries = button.menu()->actions();
    ASSERT_EQ(entries.size(), 8);
    EXPECT_EQ(entries.first()->text(), QStringLiteral("Crop"));
    EXPECT_EQ(entries.first()->toolTip(), QStringLiteral("Trim in to a smaller frame"));
    EXPECT_EQ(entries.last()->text(), QStringLiteral("Frames"));
    EXPECT_EQ(entries.last()->toolTip(), QStringLiteral("Timing, skips, and order"));
    EXPECT_TRUE(button.menu()->toolTipsVisible());
}

TEST(AddingTreatments, ANewStampSitsInTheMiddleAtHalfTheWidthButNeverBelowEightPixels)
{
    Picker picker;
    const QString sticker
        = picker.write(QStringLiteral("sticker.png"), encodePng(discImage(40, 20, Qt::red)));
    // The width follows the image's width, whichever side is longer.
    const struct {
        QSize image;
        QPointF center;
        double width;
    } cases[] = {{{128, 128}, {64, 64}, 64}, {{100, 40}, {50, 20}, 50}, {{30, 90}, {15, 45}, 15},
        {{12, 12}, {6, 6}, 8}, {{16, 16}, {8, 8}, 8}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.image.width());
        auto model = benchOver(gradientPng(c.image.width(), c.image.height()), QStringLiteral("photo.png"));
        model->setStampChooser(picker.choosing(sticker));
        model->addTreatment(TreatmentKind::stamp);
        ASSERT_EQ(model->record().size(), 1u);
        const std::optional<StampSpec> stamp = row(*model, 0).treatment.stampSpec();
        ASSERT_TRUE(stamp);
        EXPECT_EQ(stamp->center, c.center);
        EXPECT_EQ(stamp->width, c.width);
        EXPECT_EQ(stamp->rotation, 0);
        EXPECT_EQ(stamp->opacity, 1);
        EXPECT_EQ(stamp->name, QStringLiteral("sticker.png"));
        EXPECT_EQ(ImageSource::fromData(stamp->imageData)->type(), ImageType::PNG);
        EXPECT_EQ(model->selection(), row(*model, 0).id);
    }
    ASSERT_EQ(picker.messages.size(), 5);
    EXPECT_EQ(picker.messages.first(), QStringLiteral("Pick an image to stamp onto photo.png."));
}

TEST(AddingTreatments, AStampLongerThan1024PixelsOnEitherSideIsScaledTo1024)
{
    Picker picker;
    const struct {
        QSize picked;
        QSize stamped;
    } cases[] = {{{1500, 300}, {1024, 205}}, {{300, 1500}, {205, 1024}}, {{1024, 40}, {1024, 40}}};
    for (const auto& c : cases) {
        auto model = benchOver(gradientPng(32, 32));
        model->setStampChooser(picker.choosing(
            picker.write(QStringLiteral("big.png"), gradientPng(c.picked.width(), c.picked.height()))));
        model->addTreatment(TreatmentKind::stamp);
        ASSERT_EQ(model->record().size(), 1u);
        const std::optional<ImageSource> stamp
            = ImageSource::fromData(row(*model, 0).treatment.stampSpec()->imageData);
        ASSERT_TRUE(stamp);
        EXPECT_EQ(stamp->decodeFrame(0)->size(), c.stamped) << c.picked.width();
    }
}

TEST(AddingTreatments, DefaultsFollowTheWholeRecordWhicheverRowIsSelected)
{
    auto model = benchOver(gradientPng(100, 50));
    model->setRecord(
        {TreatmentEntry(CropSpec{0, 0, 40, 20}), TreatmentEntry(brighter()), TreatmentEntry(ToneSpec{})});
    model->setSelection(row(*model, 0).id);
    model->addTreatment(TreatmentKind::text);
    ASSERT_EQ(model->record().size(), 4u);
    EXPECT_EQ(row(*model, 3).treatment, Treatment(TextSpec::defaultFor(QSizeF(40, 20))));
    EXPECT_EQ(model->selection(), row(*model, 3).id);

    // Two rows of one kind are two rows.
    model->addTreatment(TreatmentKind::tone);
    model->addTreatment(TreatmentKind::tone);
    EXPECT_NE(row(*model, 4).id, row(*model, 5).id);
}

TEST(AddingTreatments, FramesStartFromThePlanOfTheWholeRecord)
{
    auto model = benchOver(colourFramesGif(4), QStringLiteral("blink.gif"));
    FramesSpec thinned = framesShowing({0, 1, 2, 3}, 50);
    thinned.edits[1].isSkipped = true;
    model->setRecord({TreatmentEntry(thinned)});
    model->addTreatment(TreatmentKind::frames);
    ASSERT_EQ(model->record().size(), 2u);
    // One edit per frame the record plays; the skipped frame's time has folded into the one before it.
    FramesSpec expected = framesShowing({0, 1, 2}, 50);
    expected.edits[0].delay = 100;
    EXPECT_EQ(row(*model, 1).treatment, Treatment(expected));
}

TEST(AddingTreatments, AnAnimatedStampIsUsedWithANoticeSentBeforeItsRowIsAdded)
{
    Picker picker;
    auto model = benchOver(gradientPng(32, 32));
    std::vector<size_t> rowsAtNotice;
    QStringList notices;
    QObject::connect(model.get(), &BenchModel::noticePosted, [&](const QString& notice) {
        notices << notice;
        rowsAtNotice.push_back(model->record().size());
    });

    model->setStampChooser(picker.choosing(picker.write(QStringLiteral("wave.gif"), colourFramesGif(2))));
    model->addTreatment(TreatmentKind::stamp);
    EXPECT_EQ(notices, QStringList{QStringLiteral("Only the first frame is used for a stamp.")});
    EXPECT_EQ(rowsAtNotice, std::vector<size_t>{0});
    ASSERT_EQ(model->record().size(), 1u);

    model->setStampChooser(picker.choosing(picker.write(QStringLiteral("dot.png"), gradientPng(4, 4))));
    model->addTreatment(TreatmentKind::stamp);
    EXPECT_EQ(model->record().size(), 2u);
    EXPECT_EQ(notices.size(), 1);
}

TEST(AddingTreatments, APickThatGivesNoImageAddsNothingQuietly)
{
    Picker picker;
    QByteArray huge = gradientPng(4, 4);
    qToBigEndian<quint32>(60000, huge.data() + 16);
    qToBigEndian<quint32>(60000, huge.data() + 20);
    const QString hugePath = picker.write(QStringLiteral("huge.png"), withFixedPngCrcs(huge));

    auto model = benchOver(gradientPng(16, 16));
    model->appendEntry(brighter());
    const TreatmentRecord before = model->record();
    QSignalSpy changes(model.get(), &BenchModel::changed);
    QSignalSpy notices(model.get(), &BenchModel::noticePosted);
    std::vector<std::optional<QString>> paths{
        std::nullopt, picker.dir.filePath(QStringLiteral("gone.png")), hugePath};
    // Not one of them is read: each would stall the bench or exhaust memory.
    for (const HostileEntry entry : hostileEntries) {
        paths.push_back(picker.dir.filePath(QStringLiteral("%1.png").arg(int(entry))));
        ASSERT_TRUE(makeHostileEntry(*paths.back(), entry));
    }
    for (const std::optional<QString>& path : paths) {
        model->setStampChooser(picker.choosing(path));
        model->addTreatment(TreatmentKind::stamp);
    }
    EXPECT_EQ(picker.messages.size(), 7);
    EXPECT_EQ(model->record(), before);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(notices.count(), 0);
}
