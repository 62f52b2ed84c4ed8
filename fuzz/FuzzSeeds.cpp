#include "FuzzSeeds.h"

#include "ApngBuilder.h"
#include "GifBuilder.h"
#include "HostileFiles.h"
#include "PeerTools.h"
#include "SyntheticImages.h"
#include "imaging/write/AnimatedWebPWriter.h"
#include "imaging/write/BmpWriter.h"
#include "imaging/write/HeifWriter.h"
#include "imaging/write/JpegWriter.h"
#include "imaging/write/TiffWriter.h"
#include "imaging/write/WebPLosslessWriter.h"
#include "imaging/write/WebPWriter.h"

#include <QTemporaryDir>

namespace plenoria::fuzz {

using namespace plenoria::test;

namespace {

void add(std::vector<NamedBytes>& seeds, const QString& name, const std::optional<QByteArray>& bytes)
{
    if (bytes && !bytes->isEmpty())
        seeds.push_back({name, *bytes});
}

void addPngs(std::vector<NamedBytes>& seeds)
{
    add(seeds, QStringLiteral("still.png"), encodePng(discImage(8, 8, Qt::red)));
    add(seeds, QStringLiteral("indexed.png"), indexedPng());
    const std::vector<ApngFrame> frames{{solidImage(8, 8, Qt::red), {}, 1, 10, 0, 0},
        {discImage(4, 4, Qt::blue), {2, 3}, 3, 0, 1, 1}, {solidImage(5, 2, Qt::green), {1, 1}, 0, 100, 2, 1}};
    const QByteArray animated = makeApng(frames, {{}, 2, std::nullopt});
    add(seeds, QStringLiteral("animated.png"), animated);
    add(seeds, QStringLiteral("hidden-default.png"), makeApng(frames, {{}, 0, solidImage(8, 8, Qt::gray)}));
    add(seeds, QStringLiteral("profiled.png"),
        withChunkAfterHeader(withChunkAfterHeader(animated, "gAMA", QByteArray("\x00\x00\xB1\x8F", 4)),
            "iCCP", iccpPayload(200, QByteArray(196, '\0'))));
    add(seeds, QStringLiteral("indexed-animated.png"), singleFrameApng(indexedPng()));
    add(seeds, QStringLiteral("huge-sides.png"), hugeSidedPng(2147483647u, 2147483647u));
    add(seeds, QStringLiteral("fctl-flood.png"), fcTLFloodApng(40, QSize(1024, 1024)));
}

void addGifs(std::vector<NamedBytes>& seeds)
{
    const QByteArray animated
        = makeGif({{discImage(8, 8, Qt::red), {}, 10, 2}, {solidImage(4, 4, Qt::blue), {2, 2}, 0, 3, true},
                      {discImage(6, 5, Qt::green), {1, 1}, std::nullopt, 1}},
            {QSize(8, 8), 3});
    add(seeds, QStringLiteral("animated.gif"), animated);
    add(seeds, QStringLiteral("still.gif"), makeGif({{discImage(5, 5, Qt::red), {}, std::nullopt}}));
    add(seeds, QStringLiteral("damaged.gif"), corruptGifFrame(animated, 1));
    add(seeds, QStringLiteral("stray-control.gif"), gifWithStrayControl());
    add(seeds, QStringLiteral("many-descriptors.gif"), manyDescriptorGif(40, QSize(1024, 1024)));
}

void addOthers(std::vector<NamedBytes>& seeds)
{
    const QImage disc = discImage(8, 8, Qt::red);
    add(seeds, QStringLiteral("lossy.webp"), WebPWriter::encodeStillWebP(disc, 50));
    add(seeds, QStringLiteral("lossless.webp"), WebPLosslessWriter::encode(disc));
    Filmstrip strip;
    strip.frames = {disc, discImage(8, 8, Qt::blue), solidImage(8, 8, QColor(0, 255, 0, 128))};
    strip.delays = {40, 0, 120};
    add(seeds, QStringLiteral("animated-lossy.webp"), AnimatedWebPWriter::encode(strip, false, 2));
    add(seeds, QStringLiteral("animated-lossless.webp"), AnimatedWebPWriter::encode(strip, true, 0));
    add(seeds, QStringLiteral("many-frames.webp"), manyFrameWebP(20, QSize(4, 4)));
    add(seeds, QStringLiteral("photo.jpg"), JpegWriter::encode(gradientImage(16, 8, Qt::red, Qt::blue)));
    add(seeds, QStringLiteral("still.tiff"), TiffWriter::encode(disc));
    add(seeds, QStringLiteral("pages.tiff"),
        multiPageTiff({disc, solidImage(4, 12, Qt::blue), solidImage(8, 8, QColor(0, 0, 0, 0))}));
    add(seeds, QStringLiteral("still.bmp"), BmpWriter::encode(disc));
    add(seeds, QStringLiteral("huge-sides.bmp"), hugeSidedBmp(INT_MAX, -INT_MAX));
    add(seeds, QStringLiteral("still.heic"), HeifWriter::encode(disc, HeifWriter::Compression::HEVC));
    add(seeds, QStringLiteral("still.avif"), HeifWriter::encode(disc, HeifWriter::Compression::AV1));
}

// The flavours our writers never make: progressive and CMYK JPEG, run-length and OS/2 BMP,
// compressed multi-page TIFF, GIFs optimised to partial frames.
void addPeerMade(std::vector<NamedBytes>& seeds)
{
    QTemporaryDir dir;
    const auto path = [&](const char* name) { return dir.filePath(QString::fromLatin1(name)); };
    if (!discImage(8, 8, Qt::red, Qt::white).save(path("a.png"))
        || !discImage(8, 8, Qt::blue).save(path("b.png")))
        return;
    // `format` forces ImageMagick's flavour of the output ("BMP3:"), `file` is where it goes.
    const auto convert = [&](const QStringList& arguments, const QString& format, const char* file) {
        if (runPeer(QStringLiteral("convert-im6.q16"), arguments + QStringList{format + path(file)}))
            add(seeds, QString::fromLatin1(file), readFileBytes(path(file)));
    };
    convert({path("a.png"), QStringLiteral("-interlace"), QStringLiteral("Plane")}, {}, "progressive.jpg");
    convert({path("a.png"), QStringLiteral("-colorspace"), QStringLiteral("CMYK")}, {}, "cmyk.jpg");
    convert({path("a.png"), QStringLiteral("-colors"), QStringLiteral("8"), QStringLiteral("-compress"),
                QStringLiteral("RLE")},
        QStringLiteral("BMP3:"), "rle.bmp");
    convert({path("a.png")}, QStringLiteral("BMP2:"), "os2.bmp");
    convert({path("a.png"), path("b.png"), QStringLiteral("-compress"), QStringLiteral("LZW")}, {},
        "lzw-pages.tiff");
    convert({QStringLiteral("-delay"), QStringLiteral("7"), path("a.png"), path("b.png")}, {}, "magick.gif");
    if (runPeer(QStringLiteral("gifsicle"),
            {QStringLiteral("-O3"), path("magick.gif"), QStringLiteral("-o"), path("optimised.gif")}))
        add(seeds, QStringLiteral("optimised.gif"), readFileBytes(path("optimised.gif")));
}

} // namespace

std::vector<NamedBytes> fuzzSeeds(bool withPeers)
{
    std::vector<NamedBytes> seeds;
    addPngs(seeds);
    addGifs(seeds);
    addOthers(seeds);
    if (withPeers)
        addPeerMade(seeds);
    return seeds;
}

std::vector<NamedBytes> recordSeeds()
{
    const QByteArray hash(64, 'a');
    return {{QStringLiteral("one.record"), "395 " + hash + '\n'},
        {QStringLiteral("two.record"), "0 " + hash + "\n18446744073 " + QByteArray(64, '9') + '\n'}};
}

} // namespace plenoria::fuzz
