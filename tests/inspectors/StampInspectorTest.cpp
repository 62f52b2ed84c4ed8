#include "inspectors/stamp/StampInspector.h"
#include "ButtonClicks.h"
#include "HeldSpec.h"
#include "SyntheticImages.h"
#include "inspectors/controls/BorderedButton.h"
#include "inspectors/controls/ElidedLabel.h"
#include "inspectors/controls/FieldMarksSlider.h"
#include "inspectors/controls/InspectorSlider.h"
#include "inspectors/stamp/StampThumbnail.h"

#include <QBuffer>
#include <QTest>
#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;

namespace {

QByteArray pngOf(const QImage& image)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return data;
}

StampSpec sticker()
{
    StampSpec spec;
    spec.imageData = pngOf(discImage(40, 20, Qt::red));
    spec.name = QStringLiteral("sticker.png");
    spec.center = QPointF(10, 12);
    spec.width = 30;
    spec.rotation = -44.5;
    spec.opacity = 0.555;
    return spec;
}

struct Rig {
    explicit Rig(QSizeF inputSize, StampSpec spec = sticker())
    {
        held.spec = std::move(spec);
        inspector
            = std::make_unique<StampInspector>(held.binding(), inputSize, [this] { ++replaceRequests; });
    }
    HeldSpec<StampSpec> held;
    int replaceRequests = 0;
    std::unique_ptr<StampInspector> inspector;
};

std::pair<double, double> range(InspectorSlider* slider)
{
    return {slider->slider()->lower(), slider->slider()->upper()};
}

} // namespace

TEST(StampInspectorTest, TheWidthRangeFollowsTheInputAndTheValuesReadRounded)
{
    Rig rig({128, 64});
    EXPECT_EQ(range(rig.inspector->widthSlider()), std::make_pair(4.0, 256.0));
    EXPECT_EQ(range(rig.inspector->rotationSlider()), std::make_pair(-180.0, 180.0));
    EXPECT_EQ(range(rig.inspector->opacitySlider()), std::make_pair(0.0, 1.0));
    rig.inspector->setInputs(rig.held.binding(), {3, 64});
    EXPECT_EQ(range(rig.inspector->widthSlider()), std::make_pair(4.0, 8.0));
    rig.inspector->setInputs(rig.held.binding(), {0, 0});
    EXPECT_EQ(range(rig.inspector->widthSlider()), std::make_pair(4.0, 8.0));

    EXPECT_EQ(rig.inspector->widthSlider()->valueText(), "30px") << "outside the range, left alone";
    EXPECT_EQ(rig.held.spec.width, 30);
    EXPECT_EQ(rig.inspector->rotationSlider()->valueText(), "-45\u00B0");
    EXPECT_EQ(rig.inspector->opacitySlider()->valueText(), "56%");
    rig.inspector->opacitySlider()->slider()->step(+100);
    EXPECT_EQ(rig.held.spec.opacity, 1);
    EXPECT_EQ(rig.inspector->opacitySlider()->valueText(), "100%");
}

TEST(StampInspectorTest, CenterAndFitWidthWriteOneFieldEachInOneWrite)
{
    Rig rig({128, 64});
    rig.inspector->centerStamp();
    StampSpec expected = sticker();
    expected.center = QPointF(64, 32);
    EXPECT_EQ(rig.held.spec, expected);
    rig.inspector->fitWidth();
    expected.width = 128;
    EXPECT_EQ(rig.held.spec, expected);
    EXPECT_EQ(rig.held.writes, 2);

    rig.inspector->setInputs(rig.held.binding(), {0, 0});
    rig.inspector->centerStamp();
    EXPECT_EQ(rig.held.spec.center, QPointF(0, 0));
}

TEST(StampInspectorTest, CenterAndFitWidthEachDoTheirOwnWhenClicked)
{
    StampSpec centred = sticker();
    centred.center = QPointF(64, 32);
    StampSpec fitted = sticker();
    fitted.width = 128;
    for (const auto& [title, expected] : {std::pair{"Center", centred}, {"Fit width", fitted}}) {
        SCOPED_TRACE(title);
        Rig rig({128, 64});
        rig.inspector->resize(250, 700);
        rig.inspector->show();
        clickButton(rig.inspector.get(), QString::fromUtf8(title));
        EXPECT_EQ(rig.held.spec, expected);
        EXPECT_EQ(rig.held.writes, 1);
    }
}

TEST(StampInspectorTest, ThePictureShowsWhileItDecodesAndTheNameElidesInTheMiddle)
{
    Rig rig({128, 64});
    rig.inspector->resize(250, 500);
    rig.inspector->show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(rig.inspector->thumbnail()->isVisible());
    EXPECT_EQ(rig.inspector->thumbnail()->image().size(), QSize(40, 20));
    EXPECT_EQ(rig.inspector->nameLabel()->shownText(), "sticker.png");

    rig.held.spec.imageData = QByteArray("no longer an image");
    rig.held.spec.name = QString(150, QLatin1Char('a')) + QString(150, QLatin1Char('z'));
    rig.inspector->refresh();
    QCoreApplication::processEvents();
    EXPECT_FALSE(rig.inspector->thumbnail()->isVisible());
    EXPECT_TRUE(rig.inspector->nameLabel()->isVisible());
    EXPECT_TRUE(rig.inspector->replaceButton()->isVisible());
    const QString shown = rig.inspector->nameLabel()->shownText();
    EXPECT_LT(shown.size(), 60);
    EXPECT_TRUE(shown.startsWith("aaa") && shown.endsWith("zzz") && shown.contains(QChar(0x2026)))
        << shown.toStdString();
    EXPECT_LE(rig.inspector->nameLabel()->geometry().right(), rig.inspector->viewport()->width());

    QTest::mouseClick(rig.inspector->replaceButton(), Qt::LeftButton);
    EXPECT_EQ(rig.replaceRequests, 1);
    EXPECT_EQ(rig.held.writes, 0);
}
