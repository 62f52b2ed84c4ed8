#include "bench/inspect/InspectorPane.h"
#include "ApngBuilder.h"
#include "BenchTestSupport.h"
#include "SyntheticImages.h"
#include "bench/inspect/CropInspector.h"
#include "bench/inspect/OriginalSummary.h"
#include "bench/inspect/OriginalSummaryPage.h"
#include "bench/inspect/PixelField.h"
#include "inspectors/controls/InspectorColumn.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;

namespace {

QStringList labelTexts(const QWidget& widget)
{
    QStringList texts;
    for (const QLabel* label : widget.findChildren<QLabel*>())
        texts << label->text();
    return texts;
}

QString columnTitle(const InspectorPane& pane)
{
    const auto* column = pane.page()->findChild<InspectorColumn*>();
    return column ? column->title() : QString();
}

CropInspector& cropPage(const InspectorPane& pane)
{
    auto* page = qobject_cast<CropInspector*>(pane.page());
    EXPECT_NE(page, nullptr);
    return *page;
}

CropSpec cropOf(const BenchModel& model, qint64 index)
{
    return row(model, index).treatment.cropSpec().value_or(CropSpec{-1, -1, -1, -1});
}

void typeInto(PixelField* field, const QString& text)
{
    field->lineEdit()->selectAll();
    QTest::keyClicks(field->lineEdit(), text);
}

// A bench over a still of `width` × `height` with one crop row, selected.
std::unique_ptr<BenchModel> croppingBench(int width, int height, CropSpec crop)
{
    auto model = benchOver(gradientPng(width, height));
    model->appendEntry(crop);
    return model;
}

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

TEST(InspectorPaneTest, WithoutASelectedRowThePaneSummarisesTheOriginal)
{
    auto model = benchOver(gradientPng(8, 8));
    InspectorPane pane(*model);
    ASSERT_NE(qobject_cast<OriginalSummaryPage*>(pane.page()), nullptr);
    const QStringList texts = labelTexts(*pane.page());
    for (const QString& expected : {QStringLiteral("Original"), QStringLiteral("Type"), QStringLiteral("PNG"),
             QStringLiteral("Size"), QStringLiteral("1 KB"), OriginalSummary::selectHint})
        EXPECT_TRUE(texts.contains(expected)) << expected.toStdString();
    EXPECT_FALSE(texts.contains(OriginalSummary::animatedHint));

    // The selected row removed: the selection names nothing, which reads as none.
    model->appendEntry(CropSpec{0, 0, 8, 8});
    EXPECT_EQ(columnTitle(pane), QStringLiteral("Crop"));
    model->setRecord({});
    ASSERT_TRUE(model->selection());
    EXPECT_EQ(columnTitle(pane), QStringLiteral("Original"));

    auto animated = benchOver(colourFramesGif(2), QStringLiteral("blink.gif"));
    InspectorPane animatedPane(*animated);
    EXPECT_TRUE(labelTexts(*animatedPane.page()).contains(OriginalSummary::animatedHint));
}

TEST(InspectorPaneTest, TheSummaryCountsWholeKilobytesAndTakesTheTypeFromTheName)
{
    const auto summary = [](qsizetype bytes, const QString& name) {
        return OriginalSummary::of(sessionOver(QByteArray(bytes, 'x'), name));
    };
    EXPECT_EQ(summary(0, QStringLiteral("a.png")).sizeText(), QStringLiteral("1 KB"));
    EXPECT_EQ(summary(1024, QStringLiteral("a.png")).sizeText(), QStringLiteral("1 KB"));
    EXPECT_EQ(summary(2047, QStringLiteral("a.png")).sizeText(), QStringLiteral("1 KB"));
    EXPECT_EQ(summary(2048, QStringLiteral("a.png")).sizeText(), QStringLiteral("2 KB"));
    EXPECT_EQ(summary(10, QStringLiteral("party.webp")).type, QStringLiteral("WEBP"));
    EXPECT_EQ(summary(10, QStringLiteral("README")).type, QString());
    EXPECT_FALSE(summary(3000, QStringLiteral("a.gif")).animated) << "not an image at all";
    EXPECT_FALSE(OriginalSummary::of(sessionOver(gradientPng(4, 4))).animated);
}

TEST(InspectorPaneTest, FullAndSquareFitTheCropToTheInput)
{
    auto model = croppingBench(64, 48, CropSpec{3, 4, 10, 10});
    InspectorPane pane(*model);
    cropPage(pane).fullButton()->click();
    EXPECT_EQ(cropOf(*model, 0), (CropSpec{0, 0, 64, 48}));
    EXPECT_EQ(cropPage(pane).captionText(), QStringLiteral("Input 64×48 · applies to the whole frame."));

    auto wide = croppingBench(301, 200, CropSpec{0, 0, 1, 1});
    InspectorPane widePane(*wide);
    cropPage(widePane).squareButton()->click();
    EXPECT_EQ(cropOf(*wide, 0), (CropSpec{50, 0, 200, 200}));

    auto tall = croppingBench(200, 301, CropSpec{0, 0, 1, 1});
    InspectorPane tallPane(*tall);
    cropPage(tallPane).squareButton()->click();
    EXPECT_EQ(cropOf(*tall, 0), (CropSpec{0, 50, 200, 200}));
}

TEST(InspectorPaneTest, TrimNarrowsTheCropToVisiblePixelsAndNeverGrowsIt)
{
    QImage content(64, 64, QImage::Format_ARGB32);
    content.fill(Qt::transparent);
    content.setPixelColor(10, 12, Qt::red);
    content.setPixelColor(49, 41, Qt::blue); // the content spans (10, 12, 40, 30)
    auto model = benchOver(encodePng(content));
    model->appendEntry(CropSpec{0, 0, 64, 64});
    InspectorPane pane(*model);
    QPushButton* trim = cropPage(pane).trimButton();
    trim->click();
    EXPECT_EQ(cropOf(*model, 0), (CropSpec{10, 12, 40, 30}));

    for (const CropSpec& kept : {CropSpec{20, 20, 10, 10}, CropSpec{0, 0, 8, 8}}) {
        model->setTreatment(0, kept);
        trim->click();
        EXPECT_EQ(cropOf(*model, 0), kept);
    }

    // No input image at all: nothing to trim to, and nothing changes.
    auto broken = benchOver(QByteArray("not an image"));
    broken->appendEntry(CropSpec{0, 0, 5, 5});
    InspectorPane brokenPane(*broken);
    cropPage(brokenPane).trimButton()->click();
    EXPECT_EQ(cropOf(*broken, 0), (CropSpec{0, 0, 5, 5}));
    EXPECT_EQ(cropPage(brokenPane).captionText(), QStringLiteral("Input 0×0 · applies to the whole frame."));
}

TEST(InspectorPaneTest, TypedCropSidesAreSettledInsideTheInput)
{
    auto model = croppingBench(64, 48, CropSpec{10, 0, 20, 20});
    InspectorPane pane(*model);
    PixelField* width = cropPage(pane).widthField();
    typeInto(width, QStringLiteral("0"));
    EXPECT_EQ(cropOf(*model, 0), (CropSpec{10, 0, 1, 20}));
    typeInto(width, QStringLiteral("500"));
    EXPECT_EQ(cropOf(*model, 0), (CropSpec{0, 0, 64, 20}));
    typeInto(cropPage(pane).yField(), QStringLiteral("40"));
    EXPECT_EQ(cropOf(*model, 0), (CropSpec{0, 28, 64, 20}));
}

TEST(InspectorPaneTest, APageLastsWhileItsKindStaysSelected)
{
    auto model = benchOver(gradientPng(64, 48));
    model->setRecord({TreatmentEntry(CropSpec{1, 2, 30, 20}), TreatmentEntry(CropSpec{5, 6, 7, 8}),
        TreatmentEntry(brighter()), TreatmentEntry(ToneSpec{}), TreatmentEntry(GroundSpec{})});
    InspectorPane pane(*model);
    model->setSelection(row(*model, 0).id);
    const QPointer<InspectorPage> first = pane.page();
    model->setSelection(row(*model, 1).id);
    EXPECT_EQ(pane.page(), first.data());
    EXPECT_EQ(cropPage(pane).xField()->lineEdit()->text(), QStringLiteral("5"));
    EXPECT_EQ(cropPage(pane).heightField()->lineEdit()->text(), QStringLiteral("8"));
    EXPECT_EQ(cropPage(pane).captionText(), QStringLiteral("Input 30×20 · applies to the whole frame."));

    // Kinds whose editors live elsewhere show their titled column until they plug in.
    model->setSelection(row(*model, 2).id);
    const QPointer<InspectorPage> tone = pane.page();
    EXPECT_EQ(columnTitle(pane), QStringLiteral("Tone"));
    model->setSelection(row(*model, 3).id);
    EXPECT_EQ(pane.page(), tone.data());
    model->setSelection(row(*model, 4).id);
    EXPECT_EQ(columnTitle(pane), QStringLiteral("Ground"));

    model->setSelection(row(*model, 0).id);
    flushDeletes();
    EXPECT_FALSE(first) << "another kind came between: the crop page starts afresh";
    EXPECT_FALSE(tone);
    EXPECT_EQ(cropPage(pane).xField()->lineEdit()->text(), QStringLiteral("1"));
}

TEST(InspectorPaneTest, ACropFieldKeepsItsFocusAndTextWhileTheCanvasRendersUnderIt)
{
    auto model = croppingBench(64, 48, CropSpec{0, 0, 64, 48});
    QWidget window;
    auto* pane = new InspectorPane(*model, &window);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QLineEdit* edit = cropPage(*pane).widthField()->lineEdit();
    edit->setFocus(Qt::MouseFocusReason);
    edit->selectAll();
    const qint64 renders = model->renderCount();
    QTest::keyClicks(edit, QStringLiteral("007"));

    EXPECT_EQ(cropOf(*model, 0).width, 7);
    EXPECT_GT(model->renderCount(), renders);
    EXPECT_EQ(cropPage(*pane).widthField()->lineEdit(), edit) << "the field was not rebuilt";
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(edit->text(), QStringLiteral("007"));
}

TEST(InspectorPaneTest, ReplacingAStampImageKeepsItsPlacement)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("moon.png"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(encodePng(discImage(30, 30, Qt::yellow)));
    file.close();
    qint64 asked = 0;
    auto model = benchOver(gradientPng(64, 48));
    model->setStampChooser([&](const QString&) {
        ++asked;
        return std::optional<QString>(path);
    });
    StampSpec stamp;
    stamp.imageData = encodePng(discImage(4, 4, Qt::red));
    stamp.name = QStringLiteral("dot.png");
    stamp.center = QPointF(12, 13);
    stamp.width = 20;
    stamp.rotation = 30;
    stamp.opacity = 0.5;
    model->setRecord({TreatmentEntry(brighter()), TreatmentEntry(stamp)});

    model->replaceStampImage(0);
    EXPECT_EQ(asked, 0) << "not a stamp row";
    model->replaceStampImage(1);
    const StampSpec replaced = *row(*model, 1).treatment.stampSpec();
    EXPECT_EQ(replaced.name, QStringLiteral("moon.png"));
    EXPECT_NE(replaced.imageData, stamp.imageData);
    EXPECT_EQ(replaced.center, stamp.center);
    EXPECT_EQ(replaced.width, stamp.width);
    EXPECT_EQ(replaced.rotation, stamp.rotation);
    EXPECT_EQ(replaced.opacity, stamp.opacity);

    model->setStampChooser([](const QString&) { return std::optional<QString>(); });
    model->replaceStampImage(1);
    EXPECT_EQ(*row(*model, 1).treatment.stampSpec(), replaced) << "a cancelled pick changes nothing";
}
