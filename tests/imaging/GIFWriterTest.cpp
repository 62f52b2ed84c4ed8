#include "imaging/gif/GIFWriter.h"
#include "EncoderSamples.h"
#include "ImageComparison.h"
#include "PeerTools.h"
#include "SyntheticImages.h"
#include "imaging/gif/ColorQuantization.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <set>

using namespace plenoria;
using namespace plenoria::test;

namespace {

Filmstrip strip(std::vector<QImage> frames, std::vector<qint64> delays, qint64 loopCount)
{
    return Filmstrip{std::move(frames), std::move(delays), loopCount};
}

// The offsets at which two files of the same length differ; each must be a delay byte of a Graphic
// Control Extension (0x21 0xF9 0x04 packed [delay low] [delay high]).
std::vector<qsizetype> changedOffsets(const QByteArray& a, const QByteArray& b)
{
    std::vector<qsizetype> offsets;
    for (qsizetype i = 0; i < std::min(a.size(), b.size()); ++i)
        if (a[i] != b[i])
            offsets.push_back(i);
    return offsets;
}

bool isDelayByte(const QByteArray& gif, qsizetype offset)
{
    for (qsizetype start : {offset - 4, offset - 5})
        if (start >= 0 && gif.mid(start, 3) == QByteArray("\x21\xF9\x04", 3))
            return true;
    return false;
}

void expectOnlyDelaysChanged(const QByteArray& before, const QByteArray& after)
{
    ASSERT_EQ(before.size(), after.size());
    for (qsizetype offset : changedOffsets(before, after))
        EXPECT_TRUE(isDelayByte(before, offset)) << "byte " << offset << " changed";
}

std::vector<int> delaysOf(const QByteArray& bytes)
{
    std::vector<int> delays;
    const std::optional<InspectedGif> gif = inspectGif(bytes);
    if (!gif)
        return delays;
    for (const InspectedGifFrame& frame : gif->frames)
        delays.push_back(frame.delayCs);
    return delays;
}

} // namespace

TEST(GIFWriter, WritesFullCanvasFramesWithDelaysDisposalAndLoopCount)
{
    std::vector<QImage> frames;
    for (int i = 0; i < 4; ++i)
        frames.push_back(paletteImage(20, 10, 30 + i, i % 2 == 1));
    const auto bytes = GIFWriter::encodeGIF(strip(frames, {0, 15, 70, 125}, 3), GIFPalette::system());
    ASSERT_TRUE(bytes);
    EXPECT_TRUE(bytes->startsWith("GIF89a"));
    const auto gif = inspectGif(*bytes);
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->width, 20);
    EXPECT_EQ(gif->loopCount, 3);
    ASSERT_EQ(gif->frames.size(), 4u);
    const int expectedDelays[] = {0, 2, 7, 13}; // hundredths, halves going up
    for (int i = 0; i < 4; ++i) {
        const InspectedGifFrame& frame = gif->frames[std::size_t(i)];
        EXPECT_EQ(frame.delayCs, expectedDelays[i]);
        EXPECT_EQ(frame.disposal, 2);
        EXPECT_EQ(QRect(frame.left, frame.top, frame.width, frame.height), QRect(0, 0, 20, 10));
        EXPECT_GT(frame.localColorCount, 0);
        EXPECT_EQ(frame.transparentIndex >= 0, i % 2 == 1);
        EXPECT_EQ(frame.image, frames[std::size_t(i)]) << "frame " << i; // few colours: kept exactly
    }
}

TEST(GIFWriter, HoldsDelaysToWhatAGIFCanStoreAndRefusesBadStrips)
{
    const QImage frame = solidImage(4, 4, Qt::red);
    const auto bytes
        = GIFWriter::encodeGIF(strip({frame, frame, frame}, {700000, -40, 655350}, 0), GIFPalette::system());
    ASSERT_TRUE(bytes);
    EXPECT_EQ(delaysOf(*bytes), (std::vector<int>{65535, 0, 65535}));
    EXPECT_EQ(inspectGif(*bytes)->loopCount, 0);

    const auto single = GIFWriter::encodeGIF(strip({frame}, {70}, 2), GIFPalette::limited(8, false));
    ASSERT_TRUE(single);
    EXPECT_EQ(inspectGif(*single)->loopCount, 2);
    EXPECT_EQ(delaysOf(*single), (std::vector<int>{7}));

    // Frames of another size are placed top-left on a canvas that holds them all.
    const auto mixed
        = GIFWriter::encodeGIF(strip({frame, solidImage(9, 2, Qt::blue)}, {10, 10}, 0), GIFPalette::system());
    ASSERT_TRUE(mixed);
    const auto canvas = inspectGif(*mixed);
    ASSERT_TRUE(canvas);
    EXPECT_EQ(QSize(canvas->width, canvas->height), QSize(9, 4));
    ASSERT_EQ(canvas->frames.size(), 2u);
    EXPECT_EQ(canvas->frames[1].image.pixelColor(8, 1), QColor(Qt::blue));
    EXPECT_EQ(canvas->frames[1].image.pixelColor(0, 3).alpha(), 0);

    EXPECT_FALSE(GIFWriter::encodeGIF(strip({}, {}, 0), GIFPalette::system()));
    EXPECT_FALSE(GIFWriter::encodeGIF(strip({frame, frame}, {10}, 0), GIFPalette::system()));
}

TEST(GIFWriter, LimitedPaletteHoldsColoursAndLeavesRoomForTransparency)
{
    const std::vector<QImage> frames = emojiFrames(3, 48, 48, true);
    const auto two = GIFWriter::encodeGIF(strip(frames, {10, 10, 10}, 0), GIFPalette::limited(2, false));
    const auto twoColors = inspectGif(two.value_or(QByteArray()));
    ASSERT_TRUE(twoColors);
    for (const InspectedGifFrame& frame : twoColors->frames)
        EXPECT_LE(opaqueColors(frame.image).size(), 2u);

    // A transparent frame quantized to 256 would need 257 entries; it is quantized to 255 colours and the
    // transparent one, and written exactly as the quantizer made it.
    std::vector<QImage> opaqueAndHole = emojiFrames(2, 64, 64, false);
    opaqueAndHole[1].setPixelColor(0, 0, Qt::transparent);
    for (bool dither : {false, true}) {
        const auto full
            = GIFWriter::encodeGIF(strip(opaqueAndHole, {10, 10}, 0), GIFPalette::limited(256, dither));
        ASSERT_TRUE(full);
        const auto gif = inspectGif(*full);
        ASSERT_TRUE(gif);
        ASSERT_EQ(gif->frames.size(), 2u);
        EXPECT_EQ(gif->frames[0].transparentIndex, -1);
        EXPECT_EQ(gif->frames[0].image, *ColorQuantization::quantize(opaqueAndHole[0], 256, dither));
        EXPECT_GE(gif->frames[1].transparentIndex, 0);
        EXPECT_EQ(gif->frames[1].image, *ColorQuantization::quantize(opaqueAndHole[1], 255, dither));
        EXPECT_GT(opaqueColors(gif->frames[1].image).size(), 240u);
    }
}

TEST(GIFWriter, OutputIsTheSameOnEveryRunAlthoughFramesAreReducedInParallel)
{
    const Filmstrip animation = strip(emojiFrames(24, 40, 40, true), std::vector<qint64>(24, 50), 0);
    for (const GIFPalette& palette : {GIFPalette::limited(64, true), GIFPalette::system()}) {
        const auto first = GIFWriter::encodeGIF(animation, palette);
        const auto second = GIFWriter::encodeGIF(animation, palette);
        ASSERT_TRUE(first && second);
        EXPECT_EQ(*first, *second);
        EXPECT_EQ(inspectGif(*first)->frames.size(), 24u);
    }
}

TEST(GIFWriter, ATransparentAnimationShowsNoEarlierFrameWhenCoalescedByImageMagick)
{
    QTemporaryDir dir;
    const std::vector<QImage> frames = emojiFrames(3, 40, 40, true);
    const auto bytes = GIFWriter::encodeGIF(strip(frames, {10, 10, 10}, 0), GIFPalette::limited(64, false));
    ASSERT_TRUE(bytes && writeFileBytes(dir.filePath("in.gif"), *bytes));
    ASSERT_TRUE(runPeer("convert", {dir.filePath("in.gif"), "-coalesce", dir.filePath("out-%d.png")}));
    for (int i = 0; i < 3; ++i) {
        const QImage composed(dir.filePath(QString("out-%1.png").arg(i)));
        ASSERT_EQ(composed.size(), QSize(40, 40)) << i;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x)
                ASSERT_EQ(composed.pixelColor(x, y).alpha() == 0,
                    frames[std::size_t(i)].pixelColor(x, y).alpha() < 128)
                    << "frame " << i << " at " << x << "," << y;
    }
}

TEST(GIFHeader, FindsTheFirstBlockAfterTheGlobalColourTable)
{
    QByteArray header("GIF89a\x10\x00\x10\x00\x00\x00\x00", 13);
    header.append('\x3B');
    EXPECT_EQ(GIFWriter::gifHeaderLength(header), 13);
    header[10] = char(0x87); // a global table of 2^(7+1) entries
    EXPECT_FALSE(GIFWriter::gifHeaderLength(header));
    header.append(QByteArray(768, '\0'));
    EXPECT_EQ(GIFWriter::gifHeaderLength(header), 781);
    EXPECT_FALSE(GIFWriter::gifHeaderLength(header.left(13)));
    EXPECT_FALSE(GIFWriter::gifHeaderLength("PNG" + header.mid(3)));
}

TEST(GIFDelayRewrite, ChangesOnlyTheDelayBytesOfOurOwnGIFs)
{
    const QImage a = paletteImage(6, 6, 5, true), b = paletteImage(6, 6, 7, false);
    const QByteArray original = *GIFWriter::encodeGIF(strip({a, b}, {100, 100}, 0), GIFPalette::system());
    const auto patched = GIFWriter::rewriteGIFDelays(original, {70, 125});
    ASSERT_TRUE(patched);
    expectOnlyDelaysChanged(original, *patched);
    EXPECT_EQ(delaysOf(*patched), (std::vector<int>{7, 13}));
    EXPECT_EQ(delaysOf(*GIFWriter::rewriteGIFDelays(original, {700000, -10})), (std::vector<int>{65535, 0}));

    EXPECT_FALSE(GIFWriter::rewriteGIFDelays(original, {10, 20, 30}));
    EXPECT_FALSE(GIFWriter::rewriteGIFDelays(original, {10}));
    EXPECT_FALSE(GIFWriter::rewriteGIFDelays(original.chopped(1), {10, 20})); // no trailer
    EXPECT_FALSE(GIFWriter::rewriteGIFDelays(original.left(13), {}));
    EXPECT_FALSE(GIFWriter::rewriteGIFDelays("XIF" + original.mid(3), {10, 20}));
    // Bytes after the trailer are carried over untouched.
    EXPECT_TRUE(GIFWriter::rewriteGIFDelays(original + "tail", {10, 20})->endsWith("tail"));
}

TEST(GIFDelayRewrite, RefusesEveryStructuralSurprise)
{
    const QImage a = paletteImage(6, 6, 5, false);
    const QByteArray gif = *GIFWriter::encodeGIF(strip({a}, {100}, 0), GIFPalette::system());
    const qsizetype control = gif.indexOf(QByteArray("\x21\xF9\x04", 3));
    const qsizetype image = gif.indexOf('\x2C', control);
    ASSERT_GT(control, 0);

    QByteArray badSize = gif;
    badSize[control + 2] = 5;
    EXPECT_FALSE(GIFWriter::rewriteGIFDelays(badSize, {10}));
    QByteArray unknownBlock = gif;
    unknownBlock[image] = '\x2D';
    EXPECT_FALSE(GIFWriter::rewriteGIFDelays(unknownBlock, {10}));
    // Cut inside the image data: the sub-block chain runs off the end.
    EXPECT_FALSE(GIFWriter::rewriteGIFDelays(gif.left(image + 14), {10}));
    EXPECT_FALSE(GIFWriter::rewriteGIFDelays(gif.left(control + 1), {10}));
    EXPECT_FALSE(GIFWriter::rewriteGIFDelays(gif.left(image + 5), {10}));
}

TEST(GIFDelayRewrite, PatchesGIFsMadeByImageMagickAndGifsicle)
{
    QTemporaryDir dir;
    const std::vector<QImage> frames = emojiFrames(3, 24, 24, true);
    QStringList pngs;
    for (int i = 0; i < 3; ++i) {
        pngs << dir.filePath(QString("f%1.png").arg(i));
        ASSERT_TRUE(frames[std::size_t(i)].save(pngs.last()));
    }
    const QString magick = dir.filePath("magick.gif");
    ASSERT_TRUE(runPeer("convert", QStringList{"-delay", "10", "-loop", "0"} + pngs + QStringList{magick}));
    const QString sicle = dir.filePath("sicle.gif");
    ASSERT_TRUE(
        runPeer("gifsicle", {"--delay", "5", "--loop", "--comment", "made by a peer", magick, "-o", sicle}));

    for (const QString& path : {magick, sicle}) {
        const QByteArray original = readFileBytes(path);
        const auto patched = GIFWriter::rewriteGIFDelays(original, {30, 40, 55});
        ASSERT_TRUE(patched) << path.toStdString();
        expectOnlyDelaysChanged(original, *patched);
        EXPECT_EQ(delaysOf(*patched), (std::vector<int>{3, 4, 6})) << path.toStdString();
    }
    // An image without a Graphic Control Extension has no delay to patch.
    const QByteArray still = makeGif87a({frames[0]});
    ASSERT_TRUE(still.startsWith("GIF87a"));
    EXPECT_FALSE(GIFWriter::rewriteGIFDelays(still, {}));
    EXPECT_FALSE(GIFWriter::rewriteGIFDelays(still, {10}));
}
