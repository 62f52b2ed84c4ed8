#include "ImageComparison.h"
#include "PeerTools.h"
#include "SyntheticImages.h"
#include "imaging/read/Filmstrip.h"
#include "imaging/read/FrameDelay.h"
#include "imaging/read/ImageItem.h"
#include "imaging/read/ImageSource.h"

#include <QTemporaryDir>
#include <QtConcurrent>
#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;

namespace {

// Files made by the format's own tools, from frames generated here.
class PeerFiles : public testing::Test {
protected:
    void SetUp() override
    {
        m_frames = {solidImage(20, 10, Qt::red), solidImage(20, 10, Qt::red), discImage(20, 10, Qt::green)};
        QImage& second = m_frames[1];
        // Further in than down, so that a frame placed with its offsets swapped lands elsewhere.
        for (int y = 2; y < 7; ++y)
            for (int x = 4; x < 9; ++x)
                second.setPixelColor(x, y, Qt::blue);
        for (size_t i = 0; i < m_frames.size(); ++i)
            ASSERT_TRUE(m_frames[i].save(path(QStringLiteral("frame%1.png").arg(i + 1))));
    }

    QString path(const QString& name) const { return m_dir.filePath(name); }

    std::optional<ImageSource> make(const QString& tool, QStringList arguments, const QString& output)
    {
        QByteArray log;
        EXPECT_TRUE(runPeer(tool, arguments, &log)) << log.toStdString();
        return ImageSource::open(path(output));
    }

    QTemporaryDir m_dir;
    std::vector<QImage> m_frames;
};

std::vector<double> delaysOf(const ImageSource& source)
{
    std::vector<double> delays;
    for (qint64 i = 0; i < source.frameCount(); ++i)
        delays.push_back(frameDelay(source, i).value_or(-1));
    return delays;
}

} // namespace

TEST_F(PeerFiles, AnimatedWebPKeepsItsDurationsLoopAndLosslessness)
{
    const auto source = make(QStringLiteral("img2webp"),
        {QStringLiteral("-loop"), QStringLiteral("3"), QStringLiteral("-d"), QStringLiteral("80"),
            path(QStringLiteral("frame1.png")), QStringLiteral("-d"), QStringLiteral("120"),
            path(QStringLiteral("frame2.png")), path(QStringLiteral("frame3.png")), QStringLiteral("-o"),
            path(QStringLiteral("a.webp"))},
        QStringLiteral("a.webp"));
    ASSERT_TRUE(source);
    EXPECT_EQ(source->type(), ImageType::WebP);
    ASSERT_EQ(source->frameCount(), 3);
    EXPECT_EQ(delaysOf(*source), (std::vector<double>{0.08, 0.12, 0.12}));
    EXPECT_EQ(source->frameProperties(2).pixelSize, QSize(20, 10));
    EXPECT_EQ(source->fileLoopCount(), 3);
    EXPECT_TRUE(source->isLossless());

    // The second frame is stored as a 5 × 5 patch at (4, 2) blended over the first: compositing
    // restores it.
    const std::optional<Filmstrip> strip = Filmstrip::fromData(source->data());
    ASSERT_TRUE(strip);
    EXPECT_EQ(strip->loopCount, 0); // only GIF's loop count travels in a strip
    EXPECT_EQ(strip->delays, (std::vector<qint64>{80, 120, 120}));
    ASSERT_EQ(strip->frames.size(), 3u);
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(maxChannelDifference(strip->frames[i], m_frames[i]), 0) << i;

    const auto mixed = make(QStringLiteral("img2webp"),
        {path(QStringLiteral("frame1.png")), QStringLiteral("-lossy"), path(QStringLiteral("frame3.png")),
            QStringLiteral("-o"), path(QStringLiteral("b.webp"))},
        QStringLiteral("b.webp"));
    ASSERT_TRUE(mixed);
    EXPECT_FALSE(mixed->isLossless());
    EXPECT_EQ(mixed->fileLoopCount(), 0);
}

TEST_F(PeerFiles, StillWebPHasNoDelayAndReportsItsCompression)
{
    const auto lossy = make(QStringLiteral("cwebp"),
        {QStringLiteral("-quiet"), path(QStringLiteral("frame3.png")), QStringLiteral("-o"),
            path(QStringLiteral("s.webp"))},
        QStringLiteral("s.webp"));
    ASSERT_TRUE(lossy);
    EXPECT_EQ(lossy->frameCount(), 1);
    EXPECT_FALSE(lossy->isLossless());
    EXPECT_EQ(frameDelay(*lossy, 0), std::nullopt);
    const auto frame = lossy->decodeFrame(0);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->size(), QSize(20, 10));
    EXPECT_EQ(pixelAt(*frame, 10, 5).alpha(), 255);
    EXPECT_GT(pixelAt(*frame, 10, 5).green(), 100);
    EXPECT_EQ(pixelAt(*frame, 0, 0).alpha(), 0);

    const auto lossless = make(QStringLiteral("cwebp"),
        {QStringLiteral("-quiet"), QStringLiteral("-lossless"), path(QStringLiteral("frame3.png")),
            QStringLiteral("-o"), path(QStringLiteral("l.webp"))},
        QStringLiteral("l.webp"));
    ASSERT_TRUE(lossless);
    EXPECT_TRUE(lossless->isLossless());
    EXPECT_EQ(maxChannelDifference(*lossless->decodeFrame(0), m_frames[2]), 0);
}

TEST_F(PeerFiles, ApngFromApngasmComposesItsOptimisedFrames)
{
    const auto source = make(QStringLiteral("apngasm"),
        {path(QStringLiteral("a.png")), path(QStringLiteral("frame1.png")), QStringLiteral("7"),
            QStringLiteral("100"), QStringLiteral("-l2")},
        QStringLiteral("a.png"));
    ASSERT_TRUE(source);
    EXPECT_EQ(source->type(), ImageType::PNG);
    ASSERT_EQ(source->frameCount(), 3);
    EXPECT_EQ(delaysOf(*source), (std::vector<double>{0.07, 0.07, 0.07}));
    EXPECT_EQ(source->fileLoopCount(), 2);
    const std::optional<Filmstrip> strip = Filmstrip::fromData(source->data());
    ASSERT_TRUE(strip);
    EXPECT_EQ(strip->delays, (std::vector<qint64>{70, 70, 70}));
    EXPECT_EQ(strip->loopCount, 0);
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(maxChannelDifference(strip->frames[i], m_frames[i]), 0) << i;
}

TEST_F(PeerFiles, HeicAndAvifGiveTheirPrimaryImageWithRotationApplied)
{
    const QImage wide = gradientImage(32, 16, Qt::red, Qt::blue);
    ASSERT_TRUE(wide.save(path(QStringLiteral("wide.png"))));

    const auto heic = make(QStringLiteral("heif-enc"),
        {QStringLiteral("-q"), QStringLiteral("90"), path(QStringLiteral("wide.png")), QStringLiteral("-o"),
            path(QStringLiteral("w.heic"))},
        QStringLiteral("w.heic"));
    ASSERT_TRUE(heic);
    EXPECT_EQ(heic->type(), ImageType::HEIC);
    EXPECT_EQ(heic->frameCount(), 1);
    EXPECT_EQ(heic->frameProperties(0).pixelSize, QSize(32, 16));
    const auto heicFrame = heic->decodeFrame(0);
    ASSERT_TRUE(heicFrame);
    EXPECT_LE(maxChannelDifference(*heicFrame, wide), 48);

    // A quarter turn anticlockwise: the left (red) edge ends at the bottom.
    const auto avif = make(QStringLiteral("avifenc"),
        {QStringLiteral("--irot"), QStringLiteral("1"), QStringLiteral("-s"), QStringLiteral("10"),
            path(QStringLiteral("wide.png")), path(QStringLiteral("w.avif"))},
        QStringLiteral("w.avif"));
    ASSERT_TRUE(avif);
    EXPECT_EQ(avif->type(), ImageType::AVIF);
    EXPECT_EQ(avif->frameProperties(0).pixelSize, QSize(16, 32));
    const auto avifFrame = avif->decodeFrame(0);
    ASSERT_TRUE(avifFrame);
    EXPECT_LE(maxChannelDifference(*avifFrame, wide.transformed(QTransform().rotate(-90))), 48);
    EXPECT_FALSE(avif->isLossless());
}

TEST_F(PeerFiles, TiffGivesEveryPageAndBmpKeepsItsAlpha)
{
    const QImage disc = discImage(24, 18, Qt::blue);
    ASSERT_TRUE(disc.save(path(QStringLiteral("disc.png"))));
    const auto tiff = make(QStringLiteral("convert"),
        {path(QStringLiteral("disc.png")), path(QStringLiteral("frame1.png")),
            path(QStringLiteral("t.tiff"))},
        QStringLiteral("t.tiff"));
    ASSERT_TRUE(tiff);
    EXPECT_EQ(tiff->type(), ImageType::TIFF);
    EXPECT_EQ(tiff->frameCount(), 2);
    EXPECT_EQ(tiff->frameProperties(0).pixelSize, QSize(24, 18));
    EXPECT_EQ(maxChannelDifference(*tiff->decodeFrame(0), disc), 0);
    // The smaller second page lies at the top left of the first page's canvas.
    const auto second = tiff->decodeFrame(1);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->size(), QSize(24, 18));
    EXPECT_EQ(pixelAt(*second, 19, 9), QColor(Qt::red));
    EXPECT_EQ(pixelAt(*second, 20, 9).alpha(), 0);

    for (const QString& flavour : {QStringLiteral("BMP:"), QStringLiteral("BMP3:")}) {
        SCOPED_TRACE(flavour.toStdString());
        const auto bmp = make(QStringLiteral("convert"),
            {path(QStringLiteral("disc.png")), flavour + path(QStringLiteral("d.bmp"))},
            QStringLiteral("d.bmp"));
        ASSERT_TRUE(bmp);
        EXPECT_EQ(bmp->type(), ImageType::BMP);
        EXPECT_EQ(bmp->frameProperties(0).pixelSize, QSize(24, 18));
        const auto frame = bmp->decodeFrame(0);
        ASSERT_TRUE(frame);
        EXPECT_EQ(pixelAt(*frame, 12, 9), QColor(Qt::blue));
        // The version 5 header carries alpha; the version 3 file has none to carry.
        EXPECT_EQ(pixelAt(*frame, 0, 0).alpha(), flavour == QStringLiteral("BMP:") ? 0 : 255);
    }
}

TEST_F(PeerFiles, EveryTypeIsReadFromItsContentUnderAnyName)
{
    ASSERT_TRUE(runPeer(QStringLiteral("cwebp"),
        {QStringLiteral("-quiet"), path(QStringLiteral("frame3.png")), QStringLiteral("-o"),
            path(QStringLiteral("looks-like.gif"))}));
    const std::optional<ImageItem> item
        = ImageItem::fromUrl(QUrl::fromLocalFile(path(QStringLiteral("looks-like.gif"))));
    ASSERT_TRUE(item);
    EXPECT_EQ(item->type, QStringLiteral("GIF"));
    EXPECT_EQ(item->pixelSize, QSizeF(20, 10));
    EXPECT_EQ(item->gifTiming, GIFTiming::still());
    EXPECT_EQ(ImageSource::open(path(QStringLiteral("looks-like.gif")))->type(), ImageType::WebP);
}

TEST_F(PeerFiles, EveryFormatDecodesOnSeveralThreadsAtOnce)
{
    QStringList files;
    ASSERT_TRUE(runPeer(QStringLiteral("img2webp"),
        {path(QStringLiteral("frame1.png")), path(QStringLiteral("frame2.png")), QStringLiteral("-o"),
            path(QStringLiteral("t.webp"))}));
    ASSERT_TRUE(runPeer(QStringLiteral("heif-enc"),
        {path(QStringLiteral("frame3.png")), QStringLiteral("-o"), path(QStringLiteral("t.heic"))}));
    ASSERT_TRUE(runPeer(QStringLiteral("avifenc"),
        {QStringLiteral("-s"), QStringLiteral("10"), path(QStringLiteral("frame3.png")),
            path(QStringLiteral("t.avif"))}));
    ASSERT_TRUE(runPeer(
        QStringLiteral("convert"), {path(QStringLiteral("frame3.png")), path(QStringLiteral("t.tiff"))}));
    ASSERT_TRUE(runPeer(
        QStringLiteral("convert"), {path(QStringLiteral("frame3.png")), path(QStringLiteral("t.bmp"))}));
    ASSERT_TRUE(runPeer(
        QStringLiteral("convert"), {path(QStringLiteral("frame3.png")), path(QStringLiteral("t.jpg"))}));
    for (const char* name : {"t.webp", "t.heic", "t.avif", "t.tiff", "t.bmp", "t.jpg", "frame3.png"})
        files << path(QString::fromLatin1(name));

    QList<QByteArray> inputs;
    QList<qint64> expectedFrames;
    for (const QString& file : files) {
        inputs << readFileBytes(file);
        const auto strip = Filmstrip::fromData(inputs.back());
        ASSERT_TRUE(strip) << file.toStdString();
        expectedFrames << qint64(strip->frames.size());
    }
    QList<int> runs(files.size() * 8);
    std::iota(runs.begin(), runs.end(), 0);
    const QList<bool> ok = QtConcurrent::blockingMapped(runs, [&](int run) {
        const auto strip = Filmstrip::fromData(inputs[run % inputs.size()]);
        return strip && qint64(strip->frames.size()) == expectedFrames[run % inputs.size()];
    });
    EXPECT_FALSE(ok.contains(false));
}
