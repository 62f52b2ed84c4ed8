#include "SubjectImages.h"
#include "SyntheticImages.h"
#include "imaging/model/Bitmap.h"
#include "imaging/model/TreatmentEntry.h"
#include "imaging/render/Renderer.h"

#include <QPainter>
#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;

namespace {

std::set<qint64> instancesOf(const QImage& image)
{
    const auto found = Renderer::foregroundInstances(image);
    return found ? found->allInstances : std::set<qint64>{};
}

// The image that subjectPixels gives, so pixels can be read with QImage's accessors.
QImage lifted(const QImage& image, const std::optional<std::set<qint64>>& included)
{
    const std::optional<QByteArray> bytes = Renderer::subjectPixels(image, included);
    if (!bytes)
        return {};
    QImage result(image.width(), image.height(), pixelFormat);
    std::memcpy(result.bits(), bytes->constData(), size_t(bytes->size()));
    return result;
}

QImage rendered(
    const QImage& image, std::optional<std::set<qint64>> included, GroundFill fill = TransparentFill{})
{
    const TreatmentRecord record
        = {TreatmentEntry(GroundSpec{SubjectKey{std::move(included)}, std::move(fill)})};
    return Renderer::render(image, record);
}

const QColor ground(236, 232, 220);

// A small disc above and a large one below it, so numbering by area differs from reading order.
QImage twoDiscs()
{
    return blobsImage(200, 200,
        {{QRectF(120, 10, 50, 50), QColor(200, 40, 40)}, {QRectF(20, 70, 110, 110), Qt::blue}}, ground);
}

} // namespace

TEST(SubjectDetection, NumbersSubjectsOnAFlatGroundByArea)
{
    const QImage image = twoDiscs();
    EXPECT_EQ(instancesOf(image), (std::set<qint64>{1, 2}));

    const QImage small = lifted(image, std::set<qint64>{2});
    ASSERT_FALSE(small.isNull());
    EXPECT_EQ(small.pixelColor(145, 35), image.pixelColor(145, 35));
    EXPECT_EQ(small.pixelColor(75, 125).alpha(), 0);
    EXPECT_EQ(small.pixelColor(5, 5).alpha(), 0);

    const QImage both = lifted(image, std::nullopt);
    EXPECT_EQ(both.pixelColor(145, 35), image.pixelColor(145, 35));
    EXPECT_EQ(both.pixelColor(75, 125), image.pixelColor(75, 125));
    EXPECT_EQ(both.pixelColor(190, 190).alpha(), 0);

    // The rendered step puts the fill where the ground was and keeps the chosen subject's pixels.
    const QImage onBlack = rendered(image, std::set<qint64>{1, 7}, ColorFill{"#000000"});
    EXPECT_EQ(onBlack.pixelColor(75, 125), image.pixelColor(75, 125));
    EXPECT_EQ(onBlack.pixelColor(145, 35), QColor(Qt::black));
    EXPECT_EQ(onBlack.pixelColor(5, 195), QColor(Qt::black));
}

TEST(SubjectDetection, TheSoftEdgeIsOnePixelWide)
{
    const QImage image = blobsImage(120, 120, {{QRectF(20.3, 20.3, 80, 80), QColor(30, 90, 160)}}, Qt::white);
    const QImage subject = lifted(image, std::nullopt);
    ASSERT_FALSE(subject.isNull());
    qint64 partial = 0;
    for (int y = 0; y < 120; ++y) {
        for (int x = 0; x < 120; ++x) {
            const double r = std::hypot(x + 0.5 - 60.3, y + 0.5 - 60.3);
            const int alpha = subject.pixelColor(x, y).alpha();
            if (r < 38.5)
                EXPECT_EQ(subject.pixelColor(x, y), image.pixelColor(x, y)) << x << "," << y;
            else if (r > 42)
                EXPECT_EQ(alpha, 0) << x << "," << y;
            else if (alpha > 0 && alpha < 255)
                ++partial;
        }
    }
    // The anti-aliased rim is kept in part, not cut hard or kept with the ground's colour at full opacity.
    EXPECT_GT(partial, 100);
}

TEST(SubjectDetection, AFlatOrSubjectlessImageHasNoInstances)
{
    const QImage flat = solidImage(64, 64, ground);
    EXPECT_FALSE(Renderer::foregroundInstances(flat));
    EXPECT_FALSE(Renderer::subjectPixels(flat, std::nullopt));
    EXPECT_EQ(rendered(flat, std::nullopt, ColorFill{"#FF0000"}), flat);

    EXPECT_FALSE(
        Renderer::foregroundInstances(gradientImage(64, 64, QColor(20, 40, 120), QColor(240, 200, 90))));
    EXPECT_FALSE(Renderer::foregroundInstances(withNoise(solidImage(128, 128, ground), 4)));
    EXPECT_FALSE(Renderer::foregroundInstances(solidImage(40, 40, Qt::transparent)));
    // Specks below the size floor are not subjects.
    EXPECT_FALSE(
        Renderer::foregroundInstances(blobsImage(100, 100, {{QRectF(40, 40, 3, 3), Qt::black}}, ground)));
}

TEST(SubjectDetection, APatchExactlyAtTheThresholdStaysGround)
{
    // Distances count steps of four byte values per channel. A subject eight steps off the ground
    // sets the threshold at the noise floor of two steps, where the patch stands.
    const QColor flat(100, 100, 100);
    QImage image = solidImage(64, 64, flat);
    QPainter painter(&image);
    painter.fillRect(QRect(8, 8, 16, 16), QColor(108, 100, 100));
    painter.fillRect(QRect(36, 36, 16, 16), QColor(132, 100, 100));
    painter.end();

    EXPECT_EQ(instancesOf(image), (std::set<qint64>{1}));
    const QImage subject = lifted(image, std::nullopt);
    ASSERT_FALSE(subject.isNull());
    EXPECT_EQ(subject.pixelColor(44, 44), QColor(132, 100, 100));
    EXPECT_EQ(subject.pixelColor(16, 16).alpha(), 0) << "the patch went with the ground";
}

TEST(SubjectDetection, ATransparentGroundGivesTheOpaqueParts)
{
    // One part runs off the left edge, which must not turn it into ground.
    const QImage image = blobsImage(160, 120,
        {{QRectF(-30, 20, 90, 80), QColor(250, 200, 40)}, {QRectF(80, 10, 60, 60), QColor(30, 160, 60)},
            {QRectF(100, 80, 30, 30), QColor(120, 30, 170, 220)}});
    EXPECT_EQ(instancesOf(image), (std::set<qint64>{1, 2, 3}));
    // With every part kept the image comes back as it was, translucent rims included.
    EXPECT_EQ(lifted(image, std::nullopt), image);

    const QImage second = lifted(image, std::set<qint64>{2});
    EXPECT_EQ(second.pixelColor(110, 40), image.pixelColor(110, 40));
    EXPECT_EQ(second.pixelColor(10, 60).alpha(), 0);
    EXPECT_EQ(second.pixelColor(115, 95).alpha(), 0);
}

TEST(SubjectDetection, FindsSubjectsOnHarderGrounds)
{
    // A gradient ground: its colours run along the border, so each ground pixel has a near border twin.
    const QImage gradient = blobsOver(gradientImage(160, 120, QColor(20, 40, 120), QColor(240, 200, 90)),
        {{QRectF(50, 30, 60, 60), QColor(40, 200, 80)}});
    EXPECT_EQ(instancesOf(gradient), (std::set<qint64>{1}));
    const QImage lifted1 = lifted(gradient, std::nullopt);
    EXPECT_EQ(lifted1.pixelColor(80, 60), gradient.pixelColor(80, 60));
    EXPECT_EQ(lifted1.pixelColor(80, 5).alpha(), 0);
    EXPECT_EQ(lifted1.pixelColor(150, 110).alpha(), 0);

    // A ground with compression noise, and a subject running off the bottom edge.
    const QImage noisy = withNoise(
        blobsImage(160, 120,
            {{QRectF(20, 20, 50, 50), QColor(150, 60, 40)}, {QRectF(90, 60, 50, 100), QColor(60, 60, 60)}},
            ground),
        5);
    EXPECT_EQ(instancesOf(noisy), (std::set<qint64>{1, 2}));
    const QImage cut = lifted(noisy, std::set<qint64>{1});
    EXPECT_EQ(cut.pixelColor(115, 119), noisy.pixelColor(115, 119));
    EXPECT_EQ(cut.pixelColor(45, 45).alpha(), 0);

    // A subject filling much of two edges is still no part of the ground.
    const QImage cropped = blobsImage(128, 128, {{QRectF(20, 30, 150, 150), QColor(240, 120, 150)}}, ground);
    EXPECT_EQ(instancesOf(cropped), (std::set<qint64>{1}));
    EXPECT_EQ(lifted(cropped, std::nullopt).pixelColor(127, 127), cropped.pixelColor(127, 127));

    // A pale face whose dark eyes stand far further from the ground than its skin: the skin stays,
    // and so do the white highlights inside the eyes, though they match the ground.
    const QImage face = paleFaceImage(128);
    EXPECT_EQ(instancesOf(face), (std::set<qint64>{1}));
    const QImage lifted2 = lifted(face, std::nullopt);
    EXPECT_EQ(lifted2.pixelColor(64, 100), face.pixelColor(64, 100));
    EXPECT_EQ(lifted2.pixelColor(47, 51), face.pixelColor(47, 51));
    EXPECT_EQ(lifted2.pixelColor(3, 3).alpha(), 0);
}

TEST(SubjectDetection, KeepsAtMostEightSubjectsAboveTheSizeFloor)
{
    std::vector<Blob> blobs;
    for (int i = 0; i < 10; ++i)
        blobs.push_back(
            {QRectF(10 + 30 * (i % 5), 20 + 60 * (i / 5), 10 + 2 * i, 10 + 2 * i), Qt::darkGreen});
    blobs.push_back({QRectF(5, 5, 3, 3), Qt::darkGreen});
    const QImage image = blobsImage(170, 140, blobs, Qt::white);
    EXPECT_EQ(instancesOf(image), (std::set<qint64>{1, 2, 3, 4, 5, 6, 7, 8}));
    // Instance 1 is the largest disc, the last one drawn; the two smallest are left out.
    const QImage largest = lifted(image, std::set<qint64>{1});
    EXPECT_GT(largest.pixelColor(133, 95).alpha(), 0);
    const QImage all = lifted(image, std::nullopt);
    EXPECT_EQ(all.pixelColor(15, 25).alpha(), 0);
    EXPECT_EQ(all.pixelColor(6, 6).alpha(), 0);
}

TEST(SubjectKey, AChoiceOfNoDetectedSubjectLeavesTheImage)
{
    const QImage image = twoDiscs();
    EXPECT_EQ(rendered(image, std::set<qint64>{3, 9}, ColorFill{"#000000"}), image);
    EXPECT_EQ(rendered(image, std::set<qint64>{}, ColorFill{"#000000"}), image);
    EXPECT_FALSE(Renderer::subjectPixels(image, std::set<qint64>{0, -1}));
}

TEST(SubjectCaches, TheSamePixelsInANewImageAreNotAnalysedAgain)
{
    const QImage image = twoDiscs();
    const auto first = Renderer::foregroundInstances(image);
    ASSERT_TRUE(first);
    const QImage copy = image.copy();
    ASSERT_NE(copy.cacheKey(), image.cacheKey());
    const auto again = Renderer::foregroundInstances(copy);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->detection, first->detection);
    // Another format of the same pixels is normalised first and hits the cache too.
    EXPECT_EQ(Renderer::foregroundInstances(image.convertToFormat(QImage::Format_ARGB32))->detection,
        first->detection);
    EXPECT_EQ(Renderer::subjectPixels(copy, std::set<qint64>{2}),
        Renderer::subjectPixels(image, std::set<qint64>{2}));

    // One changed pixel is another image.
    QImage changed = image.copy();
    changed.setPixelColor(100, 100, Qt::green);
    EXPECT_NE(Renderer::foregroundInstances(changed)->detection, first->detection);
    // Same bytes, other shape: not the same image either.
    const QImage wide = solidImage(100, 50, ground);
    const QImage tall = solidImage(50, 100, ground);
    EXPECT_FALSE(Renderer::foregroundInstances(wide));
    QImage tallWithSubject = blobsOver(tall, {{QRectF(10, 30, 30, 30), Qt::red}});
    EXPECT_TRUE(Renderer::foregroundInstances(tallWithSubject));
}

TEST(SubjectDetection, TinyAndOneRowImagesAreSafe)
{
    for (const QSize size : {QSize(1, 1), QSize(1, 60), QSize(60, 1), QSize(2, 2)}) {
        QImage image = solidImage(size.width(), size.height(), Qt::white);
        image.setPixelColor(size.width() / 2, size.height() / 2, Qt::black);
        EXPECT_FALSE(Renderer::foregroundInstances(image)) << size.width() << "×" << size.height();
    }
    // A bar across a one-row image is big enough to count, and is lifted off the ground on both sides.
    QImage row = solidImage(60, 1, Qt::white);
    for (int x = 20; x < 40; ++x)
        row.setPixelColor(x, 0, Qt::black);
    EXPECT_EQ(instancesOf(row), (std::set<qint64>{1}));
    const QImage bar = lifted(row, std::nullopt);
    EXPECT_EQ(bar.pixelColor(30, 0), QColor(Qt::black));
    EXPECT_EQ(bar.pixelColor(5, 0).alpha(), 0);
}
