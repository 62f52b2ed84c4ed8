#include "imaging/write/ImageWriter.h"
#include "TranslucentImages.h"
#include "WriterPeers.h"
#include "imaging/model/Bitmap.h"
#include "imaging/read/ImageSource.h"

#include <QtConcurrent>
#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;

namespace {

const std::vector<ImageType> writableTypes{ImageType::PNG, ImageType::GIF, ImageType::JPEG, ImageType::TIFF,
    ImageType::BMP, ImageType::WebP, ImageType::HEIC, ImageType::AVIF};
const std::vector<ImageType> losslessTypes{ImageType::PNG, ImageType::TIFF, ImageType::BMP, ImageType::WebP};

bool hasTranslucency(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y).alpha() != 255)
                return true;
    return false;
}

int largestDifference(const QImage& a, const QImage& b)
{
    int largest = 0;
    for (int y = 0; y < a.height(); ++y) {
        const uchar* p = a.constScanLine(y);
        const uchar* q = b.constScanLine(y);
        for (int i = 0; i < 4 * a.width(); ++i)
            largest = std::max(largest, std::abs(int(p[i]) - int(q[i])));
    }
    return largest;
}

// Empty when the images are equal; else where and how the first pixel differs.
std::string firstDifference(const QImage& actual, const QImage& expected)
{
    if (actual.size() != expected.size())
        return "sizes differ";
    for (int y = 0; y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x)
            if (actual.pixel(x, y) != expected.pixel(x, y))
                return QStringLiteral("(%1, %2): %3 instead of %4")
                    .arg(x)
                    .arg(y)
                    .arg(actual.pixelColor(x, y).name(QColor::HexArgb),
                        expected.pixelColor(x, y).name(QColor::HexArgb))
                    .toStdString();
    return {};
}

} // namespace

TEST(ImageWriterRoundTrip, EveryTypeDecodesBackAtItsSizeAndKeepsOrDropsAlphaAsItCan)
{
    const QImage image = translucentImage(17, 9);
    for (ImageType type : writableTypes) {
        SCOPED_TRACE(imageTypeName(type).toStdString());
        const auto bytes = ImageWriter::encode(image, type);
        ASSERT_TRUE(bytes);
        EXPECT_EQ(detectImageType(*bytes), type);
        const auto decoded = decodeWithPeer(*bytes, type);
        ASSERT_TRUE(decoded);
        EXPECT_EQ(decoded->size(), QSize(17, 9));
        if (std::find(losslessTypes.begin(), losslessTypes.end(), type) != losslessTypes.end())
            EXPECT_EQ(firstDifference(*decoded, image), "");
        else if (type == ImageType::JPEG)
            EXPECT_FALSE(hasTranslucency(*decoded));
        else
            EXPECT_EQ(decoded->pixelColor(0, 4).alpha(), 0) << "the transparent column survives";
    }
}

TEST(ImageWriterRoundTrip, OurReaderGetsBackWhatEachTypeCanKeep)
{
    const QImage image = translucentImage(17, 9);
    int read = 0;
    for (ImageType type : writableTypes) {
        SCOPED_TRACE(imageTypeName(type).toStdString());
        const auto bytes = ImageWriter::encode(image, type);
        ASSERT_TRUE(bytes);
        const auto source = ImageSource::fromData(*bytes);
        if (!source) {
            EXPECT_NE(type, ImageType::PNG);
            EXPECT_NE(type, ImageType::GIF);
            EXPECT_NE(type, ImageType::JPEG);
            continue; // a type our reader does not read yet; the peers above vouch for it
        }
        ++read;
        EXPECT_EQ(source->type(), type);
        EXPECT_EQ(source->frameCount(), 1);
        const auto decoded = source->decodeFrame(0);
        ASSERT_TRUE(decoded);
        ASSERT_EQ(decoded->size(), QSize(17, 9));
        const bool lossless
            = std::find(losslessTypes.begin(), losslessTypes.end(), type) != losslessTypes.end();
        if (lossless) {
            EXPECT_EQ(firstDifference(*decoded, image), "");
        }
        if (type == ImageType::JPEG) {
            EXPECT_FALSE(hasTranslucency(*decoded)) << "the save gate relies on JPEG dropping alpha";
        }
        if (type == ImageType::GIF) {
            // Fewer colours than a palette holds: opaque pixels come back exactly, alpha as on or off.
            for (int y = 0; y < 9; ++y)
                for (int x = 0; x < 17; ++x) {
                    const int alpha = decoded->pixelColor(x, y).alpha();
                    EXPECT_TRUE(alpha == 0 || alpha == 255);
                    if (image.pixelColor(x, y).alpha() == 255) {
                        EXPECT_EQ(decoded->pixel(x, y), image.pixel(x, y)) << x << ", " << y;
                    }
                }
            EXPECT_EQ(decoded->pixelColor(0, 4).alpha(), 0);
        }
    }
    EXPECT_GE(read, 3);
}

TEST(ImageWriterRoundTrip, JpegCompositesOverBlack)
{
    const QImage halfRed = QImage(QSize(16, 16), QImage::Format_ARGB32);
    QImage input = halfRed;
    input.fill(QColor(255, 0, 0, 128));
    const auto bytes = ImageWriter::encode(input, ImageType::JPEG);
    ASSERT_TRUE(bytes);
    const auto decoded = decodeWithPeer(*bytes, ImageType::JPEG);
    ASSERT_TRUE(decoded);
    const QColor centre = decoded->pixelColor(8, 8);
    EXPECT_NEAR(centre.red(), 128, 6);
    EXPECT_LE(centre.green(), 6);
    EXPECT_EQ(centre.alpha(), 255);
}

TEST(ImageWriterRoundTrip, OpaqueImagesGetNoAlphaWhereTheTypeCanOmitIt)
{
    const QImage opaque = translucentImage(17, 9).convertToFormat(QImage::Format_RGB32);
    for (ImageType type : {ImageType::HEIC, ImageType::AVIF}) {
        const auto bytes = ImageWriter::encode(opaque, type);
        ASSERT_TRUE(bytes);
        const auto info
            = peerOutput(QStringLiteral("heif-info"), {writeTemporaryFile(*bytes, QStringLiteral("o.heif"))});
        ASSERT_TRUE(info);
        EXPECT_TRUE(info->contains("alpha channel: no")) << info->toStdString();
    }
    const auto translucent = ImageWriter::encode(translucentImage(17, 9), ImageType::AVIF);
    ASSERT_TRUE(translucent);
    const auto info = peerOutput(
        QStringLiteral("heif-info"), {writeTemporaryFile(*translucent, QStringLiteral("t.avif"))});
    ASSERT_TRUE(info);
    EXPECT_TRUE(info->contains("alpha channel: yes")) << info->toStdString();
}

TEST(ImageWriterRoundTrip, BmpAlphaIsSeenByImageMagickToo)
{
    const auto bytes = ImageWriter::encode(translucentImage(17, 9), ImageType::BMP);
    ASSERT_TRUE(bytes);
    const QString path = writeTemporaryFile(*bytes, QStringLiteral("alpha.bmp"));
    const auto described = peerOutput(
        QStringLiteral("identify"), {QStringLiteral("-format"), QStringLiteral("%w %h %A"), path});
    ASSERT_TRUE(described);
    EXPECT_EQ(described->trimmed(), "17 9 True");
}

TEST(ImageWriterInput, AnyQImageFormatAndRowPaddingGiveTheSamePixels)
{
    const QImage reference = translucentImage(17, 9);
    const auto expected = ImageWriter::encode(reference, ImageType::PNG);
    ASSERT_TRUE(expected);

    // The same pixels seen through rows padded beyond 4 × width bytes.
    const qsizetype stride = 4 * 17 + 12;
    QByteArray padded(stride * 9, '\x5a');
    for (int y = 0; y < 9; ++y)
        std::memcpy(padded.data() + stride * y, reference.constScanLine(y), 4 * 17);
    const QImage paddedImage(reinterpret_cast<const uchar*>(padded.constData()), 17, 9, stride, pixelFormat);

    const std::vector<QImage> inputs{reference.convertToFormat(QImage::Format_ARGB32),
        reference.convertToFormat(QImage::Format_RGBA8888), paddedImage};
    for (const QImage& input : inputs) {
        for (ImageType type : losslessTypes) {
            SCOPED_TRACE(
                imageTypeName(type).toStdString() + " from format " + std::to_string(int(input.format())));
            const auto bytes = ImageWriter::encode(input, type);
            ASSERT_TRUE(bytes);
            const auto decoded = decodeWithPeer(*bytes, type);
            ASSERT_TRUE(decoded);
            EXPECT_LE(largestDifference(*decoded, reference), 1);
        }
    }
    const QImage grey = reference.convertToFormat(QImage::Format_Grayscale8);
    EXPECT_TRUE(ImageWriter::encode(grey, ImageType::JPEG));
}

TEST(ImageWriterInput, RefusesNullAndOversizedImagesWithoutBytes)
{
    const QImage tooWide(int(maxBitmapSide) + 1, 1, QImage::Format_Mono);
    const QImage tooLarge(8200, 8200, QImage::Format_Mono);
    ASSERT_FALSE(tooWide.isNull());
    ASSERT_FALSE(tooLarge.isNull());
    for (ImageType type : writableTypes) {
        SCOPED_TRACE(imageTypeName(type).toStdString());
        EXPECT_FALSE(ImageWriter::encode(QImage(), type));
        EXPECT_FALSE(ImageWriter::encode(tooWide, type));
        EXPECT_FALSE(ImageWriter::encode(tooLarge, type));
    }
    // WebP's own limit is one pixel below ours.
    EXPECT_FALSE(ImageWriter::encode(QImage(int(maxBitmapSide), 1, QImage::Format_Mono), ImageType::WebP));
}

TEST(ImageWriterConcurrency, ParallelEncodesMatchSequentialOnes)
{
    std::vector<std::pair<ImageType, int>> jobs;
    for (ImageType type : losslessTypes)
        for (int seed = 0; seed < 6; ++seed)
            jobs.emplace_back(type, seed);
    const auto encodeJob = [](const std::pair<ImageType, int>& job) {
        return ImageWriter::encode(translucentImage(40, 30, job.second), job.first).value_or(QByteArray());
    };
    const std::vector<QByteArray> parallel = QtConcurrent::blockingMapped(jobs, encodeJob);
    for (size_t i = 0; i < jobs.size(); ++i) {
        EXPECT_FALSE(parallel[i].isEmpty());
        EXPECT_EQ(parallel[i], encodeJob(jobs[i]));
    }
}
