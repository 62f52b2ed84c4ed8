#include "ApngStructure.h"
#include "SyntheticImages.h"
#include "TranslucentImages.h"
#include "WriterPeers.h"
#include "imaging/model/Bitmap.h"
#include "imaging/read/CorePool.h"
#include "imaging/read/ImageSource.h"
#include "imaging/write/APNGWriter.h"

#include <QPainter>
#include <QThreadPool>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;

namespace {

// What an fcTL chunk states about its frame.
struct FrameControl {
    QRect rect;
    int dispose = 0;
    int blend = 0;
};

std::vector<FrameControl> frameControls(const QByteArray& png)
{
    std::vector<FrameControl> controls;
    for (const PngChunk& chunk : pngChunks(png).value_or(std::vector<PngChunk>())) {
        if (chunk.type != "fcTL" || chunk.data.size() != 26)
            continue;
        const auto field
            = [&](int offset) { return int(qFromBigEndian<quint32>(chunk.data.constData() + offset)); };
        controls.push_back({QRect(field(12), field(16), field(4), field(8)), chunk.data[24], chunk.data[25]});
    }
    return controls;
}

QString colorTypeOf(const QByteArray& png)
{
    switch (png[25]) { // IHDR's colour type, right after the signature, length, type, size and depth
    case 2:
        return QStringLiteral("RGB");
    case 3:
        return QStringLiteral("palette");
    case 6:
        return QStringLiteral("RGBA");
    }
    return QStringLiteral("other");
}

Filmstrip strip(std::vector<QImage> frames)
{
    const size_t count = frames.size();
    return {std::move(frames), std::vector<qint64>(count, 50), 0};
}

// Every pixel a colour of its own, far more than a palette holds.
QImage manyColors(int width, int height, int alpha = 255)
{
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixelColor(x, y, QColor(x * 4 % 256, y * 5 % 256, (x + 3 * y) % 256, alpha));
    return image.convertToFormat(pixelFormat);
}

// A disc crossing `ground`: only the disc's old and new place change from frame to frame.
Filmstrip movingDisc(const QImage& ground, QColor disc, int count)
{
    std::vector<QImage> frames;
    for (int i = 0; i < count; ++i) {
        QImage frame = ground.convertToFormat(pixelFormat);
        QPainter painter(&frame);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(disc);
        painter.drawEllipse(QPointF(10 + 5 * i, 20 + 2 * i), 6, 6);
        painter.end();
        frames.push_back(frame);
    }
    return strip(frames);
}

// Opaque squares changing colour in two far corners: the frame's rectangle spans the canvas while
// the pixels between them stay as they were.
Filmstrip blinkingCorners(const QImage& ground, int count)
{
    std::vector<QImage> frames;
    for (int i = 0; i < count; ++i) {
        QImage frame = ground.convertToFormat(pixelFormat);
        const QColor color = QColor::fromHsv(i * 50 % 360, 220, 230);
        QPainter painter(&frame);
        painter.fillRect(2, 2, 5, 5, color);
        painter.fillRect(frame.width() - 8, frame.height() - 8, 5, 5, color);
        painter.end();
        frames.push_back(frame);
    }
    return strip(frames);
}

// A ground, a flash over part of it, the ground again: the flash is undone by restoring the canvas.
Filmstrip flash(const QImage& ground)
{
    QImage flashed = ground.convertToFormat(pixelFormat);
    QPainter(&flashed).fillRect(5, 4, 9, 7, QColor(255, 255, 255, 200));
    return strip(
        {ground.convertToFormat(pixelFormat), flashed, ground.convertToFormat(pixelFormat), flashed});
}

// Over nothing, a square that goes away but for its right edge: the square's frame is cleared to
// the background, and the edge, the same in both frames, has to be stored again.
Filmstrip clearedButItsRightEdge()
{
    QImage dot = solidImage(30, 20, Qt::transparent).convertToFormat(pixelFormat);
    QPainter(&dot).fillRect(2, 2, 2, 2, Qt::blue);
    QImage square = dot;
    QPainter(&square).fillRect(10, 5, 8, 6, Qt::red);
    QImage edge = dot;
    QPainter(&edge).fillRect(17, 5, 1, 6, Qt::red);
    return strip({dot, square, edge});
}

// Over nothing, a wedge widest in its last row, then a change of one row alone: each frame's
// rectangle reaches as far as its last row does.
Filmstrip wedgeThenOneRow()
{
    QImage dot = solidImage(30, 20, Qt::transparent).convertToFormat(pixelFormat);
    QPainter(&dot).fillRect(2, 2, 2, 2, Qt::blue);
    QImage wedge = dot;
    for (int r = 0; r < 5; ++r)
        QPainter(&wedge).fillRect(10, 5 + r, 2 + 2 * r, 1, Qt::red);
    QImage line = wedge;
    QPainter(&line).fillRect(3, 15, 20, 1, Qt::green);
    return strip({dot, wedge, line});
}

// The image fading out: every pixel changes, to a value that is no longer opaque.
Filmstrip fading(int count)
{
    std::vector<QImage> frames;
    const QImage image = manyColors(40, 40);
    for (int i = 0; i < count; ++i) {
        QImage frame(image.size(), pixelFormat);
        frame.fill(Qt::transparent);
        QPainter painter(&frame);
        painter.setOpacity(1.0 - i / double(count));
        painter.drawImage(0, 0, image);
        painter.end();
        frames.push_back(frame);
    }
    return strip(frames);
}

// Opaque spots appearing one at a time, each in a new place, over a translucent ground that
// changes every twelfth frame: the frames between are stored against that ground, far back.
Filmstrip wanderingSpots(int count, int width, int height)
{
    std::vector<QImage> frames;
    for (int k = 0; k < count; ++k) {
        QImage frame = manyColors(width, height, 200 - 40 * (k / 12));
        // Every row ends in an opaque pixel: the frames are translucent all the same.
        QPainter(&frame).fillRect(width - 1, 0, 1, height, Qt::black);
        if (k % 12 != 0)
            QPainter(&frame).fillRect(
                (k * 7) % (width - 3), (k * 3) % (height - 3), 3, 3, QColor::fromHsv(k * 29 % 360, 255, 255));
        frames.push_back(frame);
    }
    // One frame in another format, brought into the pixel convention while it is written.
    frames[7] = frames[7].convertToFormat(QImage::Format_ARGB32);
    return strip(frames);
}

// Every frame of `bytes`, as our reader and apngdis composite them, is exactly the frame given.
void expectFramesExact(const QByteArray& bytes, const Filmstrip& given)
{
    const std::optional<ImageSource> source = ImageSource::fromData(bytes);
    ASSERT_TRUE(source);
    const auto ours = source->decodeFrames();
    ASSERT_TRUE(ours);
    ASSERT_EQ(ours->size(), given.frames.size());
    const auto apngdis = disassembleAPNG(bytes);
    ASSERT_TRUE(apngdis);
    ASSERT_EQ(apngdis->frames.size(), given.frames.size());
    for (size_t i = 0; i < given.frames.size(); ++i) {
        const QImage expected = given.frames[i].convertToFormat(pixelFormat);
        EXPECT_EQ((*ours)[i].image, expected) << "our reader, frame " << i;
        EXPECT_EQ(apngdis->frames[i], expected) << "apngdis, frame " << i;
    }
}

} // namespace

TEST(APNGFrames, EveryClipDecodesToExactlyItsFramesWhateverEachFrameStores)
{
    const QImage ground = manyColors(64, 48);
    const QImage clear = solidImage(64, 48, Qt::transparent);
    const struct {
        const char* name;
        Filmstrip clip;
        QString colorType;
    } clips[] = {
        {"still", strip(std::vector<QImage>(5, translucentImage(30, 20, 3))), QStringLiteral("RGBA")},
        {"moving over a gradient", movingDisc(ground, QColor(200, 30, 60), 8), QStringLiteral("RGB")},
        {"moving over a translucent ground", movingDisc(manyColors(64, 48, 140), Qt::red, 8),
            QStringLiteral("RGBA")},
        {"moving over nothing", movingDisc(clear, QColor(200, 30, 60), 8), QStringLiteral("palette")},
        {"moving, half transparent", movingDisc(clear, QColor(20, 30, 250, 120), 8),
            QStringLiteral("palette")},
        {"blinking over a translucent ground", blinkingCorners(manyColors(40, 30, 90), 5),
            QStringLiteral("RGBA")},
        {"blinking over an opaque ground", blinkingCorners(solidImage(40, 30, Qt::gray), 5),
            QStringLiteral("palette")},
        {"a flash over a translucent ground", flash(manyColors(30, 20, 200)), QStringLiteral("RGBA")},
        {"cleared but for its right edge", clearedButItsRightEdge(), QStringLiteral("palette")},
        {"widest in its last row", wedgeThenOneRow(), QStringLiteral("palette")},
        {"fading", fading(6), QStringLiteral("RGBA")},
        {"every pixel translucent and changing", translucentStrip(17, 9, {100, 250, 0, 40}),
            QStringLiteral("RGBA")},
    };
    for (const auto& [name, clip, colorType] : clips) {
        SCOPED_TRACE(name);
        const std::optional<QByteArray> bytes = encodeAPNG(clip, 0);
        ASSERT_TRUE(bytes);
        EXPECT_EQ(colorTypeOf(*bytes), colorType);
        EXPECT_TRUE(isWellFormedApng(*bytes, qint64(clip.frames.size()), 0));
        expectFramesExact(*bytes, clip);
        const std::vector<FrameControl> controls = frameControls(*bytes);
        ASSERT_EQ(controls.size(), clip.frames.size());
        EXPECT_EQ(controls[0].rect, clip.frames[0].rect()) << "the first frame covers the canvas";
        EXPECT_EQ(controls[0].blend, 0);
    }
}

TEST(APNGFrames, LaterFramesStoreOnlyWhatChanged)
{
    // A repeated frame is one pixel; a moving disc is the box around its old and new place, drawn
    // over what stays where nothing but the disc changes.
    const auto still = encodeAPNG(strip(std::vector<QImage>(3, translucentImage(30, 20))), 0);
    ASSERT_TRUE(still);
    const std::vector<FrameControl> repeated = frameControls(*still);
    ASSERT_EQ(repeated.size(), 3u);
    EXPECT_EQ(repeated[1].rect, QRect(0, 0, 1, 1));
    EXPECT_EQ(repeated[2].rect, QRect(0, 0, 1, 1));

    const Filmstrip clip = movingDisc(manyColors(64, 48), Qt::red, 6);
    const auto moving = encodeAPNG(clip, 0);
    ASSERT_TRUE(moving);
    const std::vector<FrameControl> controls = frameControls(*moving);
    ASSERT_EQ(controls.size(), clip.frames.size());
    for (size_t i = 1; i < controls.size(); ++i) {
        EXPECT_LE(controls[i].rect.width(), 20) << "frame " << i;
        EXPECT_LE(controls[i].rect.height(), 16) << "frame " << i;
        EXPECT_TRUE(clip.frames[0].rect().contains(controls[i].rect));
    }

    // Changes that are all opaque are drawn over the canvas, keeping the pixels between them.
    for (const QImage& ground : {manyColors(40, 30, 90), solidImage(40, 30, Qt::gray)}) {
        const auto blinking = encodeAPNG(blinkingCorners(ground, 3), 0);
        ASSERT_TRUE(blinking);
        const std::vector<FrameControl> blended = frameControls(*blinking);
        ASSERT_EQ(blended.size(), 3u);
        EXPECT_EQ(blended[1].rect, QRect(2, 2, 35, 25));
        EXPECT_EQ(blended[1].blend, 1) << "over";
    }

    // A flash that ends restores the canvas from before it: nothing is left to store.
    const auto flashed = encodeAPNG(flash(manyColors(30, 20, 200)), 0);
    ASSERT_TRUE(flashed);
    const std::vector<FrameControl> restored = frameControls(*flashed);
    ASSERT_EQ(restored.size(), 4u);
    EXPECT_EQ(restored[1].rect, QRect(5, 4, 9, 7));
    EXPECT_EQ(restored[1].dispose, 2) << "previous";
    EXPECT_EQ(restored[2].rect, QRect(0, 0, 1, 1));

    // Over nothing, the disc's old place is cleared by disposing of it rather than stored again.
    const auto overNothing = encodeAPNG(movingDisc(solidImage(64, 48, Qt::transparent), Qt::red, 6), 0);
    ASSERT_TRUE(overNothing);
    const std::vector<FrameControl> cleared = frameControls(*overNothing);
    ASSERT_EQ(cleared.size(), 6u);
    EXPECT_EQ(cleared[0].dispose, 1) << "background";
    for (size_t i = 1; i < cleared.size(); ++i)
        EXPECT_LE(cleared[i].rect.width(), 14) << "frame " << i;
}

TEST(APNGFrames, LongStripsAreTheSameFileWhateverTheCoresAndKeepTheFramesTheyReferTo)
{
    // 37 frames, compressed a few at a time: in batches of 2 (one core), 6 (three) and this machine's.
    const Filmstrip clip = wanderingSpots(37, 23, 13);
    QThreadPool* pool = &CorePool::instance();
    const int cores = pool->maxThreadCount();
    std::optional<QByteArray> first;
    for (int threads : {1, 3, cores}) {
        pool->setMaxThreadCount(threads);
        const std::optional<QByteArray> bytes = encodeAPNG(clip, 0);
        ASSERT_TRUE(bytes);
        if (!first)
            first = bytes;
        EXPECT_EQ(*bytes, *first) << threads << " threads";
    }
    pool->setMaxThreadCount(cores);
    EXPECT_TRUE(isWellFormedApng(*first, 37, 0));
    EXPECT_EQ(colorTypeOf(*first), QStringLiteral("RGBA"));
    expectFramesExact(*first, clip);
    const std::vector<FrameControl> controls = frameControls(*first);
    ASSERT_EQ(controls.size(), 37u);
    // Frame 20's spot is stored alone, over the canvas that frame 19 leaves by restoring frame 12.
    EXPECT_EQ(controls[20].rect, QRect((20 * 7) % 20, (20 * 3) % 10, 3, 3));
    EXPECT_EQ(controls[20].blend, 1) << "over";
    EXPECT_EQ(controls[19].dispose, 2) << "previous";
}
