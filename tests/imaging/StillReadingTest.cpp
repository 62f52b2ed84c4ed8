#include "ApngBuilder.h"
#include "PeerTools.h"
#include "SyntheticImages.h"
#include "imaging/model/ImageType.h"
#include "imaging/read/Filmstrip.h"
#include "imaging/read/FrameDelay.h"
#include "imaging/read/ImageSource.h"

#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;

namespace {

// The start of an ISO-BMFF file: an ftyp box of the major brand, minor version and compatible
// brands, then the box that follows it.
QByteArray fileTypeBox(QByteArray major, QByteArray minor, const QByteArrayList& compatible)
{
    QByteArray box(4, '\0');
    qToBigEndian<quint32>(quint32(16 + 4 * compatible.size()), box.data());
    box += "ftyp" + major + minor + compatible.join();
    return box + QByteArray("\0\0\0\x10meta\0\0\0\0avif", 16);
}

} // namespace

TEST(StillReading, PngGivesOneFrameOfOneTenthAndNoLoopCount)
{
    const QImage image = discImage(20, 12, QColor(200, 40, 10, 255));
    const std::optional<Filmstrip> strip = Filmstrip::fromData(encodePng(image));
    ASSERT_TRUE(strip);
    ASSERT_EQ(strip->frames.size(), 1u);
    EXPECT_EQ(strip->delays, std::vector<qint64>{100});
    EXPECT_EQ(strip->loopCount, 0);
    EXPECT_EQ(strip->frames[0].format(), QImage::Format_RGBA8888_Premultiplied);
    EXPECT_EQ(strip->frames[0], image);
}

TEST(StillReading, TranslucentPngPixelsArePremultiplied)
{
    QImage straight(2, 1, QImage::Format_ARGB32);
    straight.setPixel(0, 0, qRgba(200, 100, 50, 128));
    straight.setPixel(1, 0, qRgba(255, 255, 255, 0));
    const auto frame = ImageSource::fromData(encodePng(straight))->decodeFrame(0);
    ASSERT_TRUE(frame);
    const uchar* p = frame->constScanLine(0);
    EXPECT_EQ(p[3], 128);
    EXPECT_NEAR(p[0], 100, 1);
    EXPECT_NEAR(p[1], 50, 1);
    EXPECT_EQ(p[7], 0);
    EXPECT_EQ(p[4], 0);
}

TEST(StillReading, JpegDecodesOpaqueAtItsStoredSize)
{
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("in.png"));
    gradientImage(31, 9, Qt::red, Qt::blue).save(png);
    for (const QString& colorspace :
        {QStringLiteral("sRGB"), QStringLiteral("Gray"), QStringLiteral("CMYK")}) {
        SCOPED_TRACE(colorspace.toStdString());
        const QString jpg = dir.filePath(colorspace + QStringLiteral(".jpg"));
        ASSERT_TRUE(
            runPeer(QStringLiteral("convert"), {png, QStringLiteral("-colorspace"), colorspace, jpg}));
        const std::optional<ImageSource> source = ImageSource::fromData(readFileBytes(jpg));
        ASSERT_TRUE(source);
        EXPECT_EQ(source->type(), ImageType::JPEG);
        EXPECT_FALSE(source->isLossless());
        EXPECT_EQ(source->frameProperties(0).pixelSize, QSize(31, 9));
        const std::optional<QImage> frame = source->decodeFrame(0);
        ASSERT_TRUE(frame);
        EXPECT_EQ(frame->size(), QSize(31, 9));
        EXPECT_EQ(pixelAt(*frame, 5, 5).alpha(), 255);
        if (colorspace != QStringLiteral("Gray")) {
            // Red on the left, blue on the right, whatever the stored colour model.
            EXPECT_GT(pixelAt(*frame, 0, 4).red(), 180);
            EXPECT_LT(pixelAt(*frame, 0, 4).blue(), 80);
            EXPECT_GT(pixelAt(*frame, 30, 4).blue(), 180);
        }
        EXPECT_EQ(frameDelay(*source, 0), std::nullopt);
    }
}

// Repeating a progressive file's last scan costs nothing to store but a pass over the image to decode.
TEST(StillReading, AJpegOfThousandsOfScansIsRefusedRatherThanGroundThrough)
{
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("in.png"));
    const QString jpg = dir.filePath(QStringLiteral("p.jpg"));
    gradientImage(64, 64, Qt::red, Qt::blue).save(png);
    ASSERT_TRUE(
        runPeer(QStringLiteral("convert"), {png, QStringLiteral("-interlace"), QStringLiteral("JPEG"), jpg}));
    const QByteArray progressive = readFileBytes(jpg);
    const qsizetype lastScan = progressive.lastIndexOf("\xff\xda");
    const qsizetype end = progressive.lastIndexOf("\xff\xd9");
    ASSERT_TRUE(lastScan > 0 && end > lastScan);
    ASSERT_TRUE(ImageSource::fromData(progressive)->decodeFrame(0));

    const QByteArray scan = progressive.mid(lastScan, end - lastScan);
    const QByteArray bomb = progressive.left(end) + scan.repeated(1500) + progressive.mid(end);
    const std::optional<ImageSource> source = ImageSource::fromData(bomb);
    ASSERT_TRUE(source);
    EXPECT_EQ(source->frameProperties(0).pixelSize, QSize(64, 64));
    EXPECT_FALSE(source->decodeFrame(0));
}

TEST(StillReading, TheTypeComesFromTheContentOnly)
{
    EXPECT_EQ(ImageSource::fromData(encodePng(solidImage(2, 2, Qt::red)))->type(), ImageType::PNG);
    QTemporaryDir dir;
    const QString misnamed = dir.filePath(QStringLiteral("really-a-png.jpg"));
    ASSERT_TRUE(writeFileBytes(misnamed, encodePng(solidImage(3, 2, Qt::red))));
    const std::optional<ImageSource> opened = ImageSource::open(misnamed);
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->type(), ImageType::PNG);
    EXPECT_EQ(opened->frameProperties(0).pixelSize, QSize(3, 2));
}

TEST(StillReading, AnIsoBrandCountsWhereverItStandsInTheFileTypeBoxAndNowhereElse)
{
    const QByteArray none("\0\0\0\0", 4);
    EXPECT_EQ(detectImageType(fileTypeBox("avif", none, {"mif1", "miaf"})), ImageType::AVIF);
    EXPECT_EQ(detectImageType(fileTypeBox("mp42", none, {"isom", "mp41", "avif"})), ImageType::AVIF);
    EXPECT_EQ(detectImageType(fileTypeBox("mp42", none, {"isom", "mp41", "heic"})), ImageType::HEIC);
    EXPECT_EQ(detectImageType(fileTypeBox("mp42", none, {"isom", "mp41", "heic"}).left(28)), ImageType::HEIC)
        << "the box ends with the bytes";
    EXPECT_EQ(detectImageType(fileTypeBox("mif1", none, {"heic", "avif"})), ImageType::AVIF);
    // The minor version is a number, and the box that follows is not the file type's.
    EXPECT_EQ(detectImageType(fileTypeBox("mp42", "avif", {"isom", "mp41"})), std::nullopt);
}

TEST(StillReading, EmptyAndTextBytesGiveNoStrip)
{
    EXPECT_FALSE(Filmstrip::fromData({}));
    EXPECT_FALSE(Filmstrip::fromData("this is not an image at all"));
    EXPECT_FALSE(ImageSource::open(QStringLiteral("/nonexistent/file.png")));
}
