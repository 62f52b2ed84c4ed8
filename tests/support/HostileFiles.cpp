#include "HostileFiles.h"

#include "ApngBuilder.h"
#include "GifBuilder.h"
#include "PeerTools.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QtEndian>
#include <tiffio.h>
#include <webp/encode.h>
#include <zlib.h>

namespace plenoria::test {

namespace {

void appendLittle(QByteArray& out, quint32 value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.append(char((value >> (8 * i)) & 0xFF));
}

void appendBig32(QByteArray& out, quint32 value)
{
    char bytes[4];
    qToBigEndian(value, bytes);
    out.append(bytes, 4);
}

void appendRiffChunk(QByteArray& out, const char* tag, const QByteArray& payload)
{
    out.append(tag, 4);
    appendLittle(out, quint32(payload.size()), 4);
    out.append(payload);
    if (payload.size() % 2)
        out.append('\0');
}

// The VP8L chunk (header included) of a 1 × 1 lossless picture.
QByteArray tinyLosslessChunk()
{
    const uchar pixel[4] = {200, 40, 40, 255};
    uint8_t* output = nullptr;
    const size_t size = WebPEncodeLosslessRGBA(pixel, 1, 1, 4, &output);
    const QByteArray file(reinterpret_cast<const char*>(output), qsizetype(size));
    WebPFree(output);
    return file.mid(12); // past "RIFF", its size and "WEBP"
}

} // namespace

QByteArray hugeSidedPng(quint32 width, quint32 height)
{
    QByteArray png = encodePng(QImage(1, 1, QImage::Format_ARGB32));
    QByteArray sides;
    appendBig32(sides, width);
    appendBig32(sides, height);
    png.replace(16, 8, sides);
    return withFixedPngCrcs(png);
}

QByteArray hugeSidedBmp(qint32 width, qint32 height)
{
    QByteArray bmp("BM");
    appendLittle(bmp, 64, 4); // file size
    appendLittle(bmp, 0, 4);
    appendLittle(bmp, 54, 4); // pixel data offset
    appendLittle(bmp, 40, 4); // header size
    appendLittle(bmp, quint32(width), 4);
    appendLittle(bmp, quint32(height), 4);
    appendLittle(bmp, 1, 2); // planes
    appendLittle(bmp, 32, 2); // bits per pixel
    bmp.append(QByteArray(24, '\0'));
    bmp.append(QByteArray(10, '\x7F'));
    return bmp;
}

QByteArray manyFrameWebP(qint64 frames, QSize canvas)
{
    const QByteArray bitstream = tinyLosslessChunk();
    QByteArray frame;
    appendLittle(frame, 0, 3); // x / 2
    appendLittle(frame, 0, 3); // y / 2
    appendLittle(frame, 0, 3); // width − 1
    appendLittle(frame, 0, 3); // height − 1
    appendLittle(frame, 10, 3); // duration
    frame.append('\0'); // blend, keep
    frame.append(bitstream);
    QByteArray anmf;
    appendRiffChunk(anmf, "ANMF", frame);

    QByteArray body("WEBP");
    QByteArray extended;
    extended.append(char(0x12)); // animation and alpha
    appendLittle(extended, 0, 3);
    appendLittle(extended, quint32(canvas.width() - 1), 3);
    appendLittle(extended, quint32(canvas.height() - 1), 3);
    appendRiffChunk(body, "VP8X", extended);
    QByteArray animation;
    appendLittle(animation, 0, 4); // background
    appendLittle(animation, 0, 2); // loop for ever
    appendRiffChunk(body, "ANIM", animation);
    body.reserve(body.size() + anmf.size() * qsizetype(frames));
    for (qint64 i = 0; i < frames; ++i)
        body.append(anmf);
    QByteArray riff("RIFF");
    appendLittle(riff, quint32(body.size()), 4);
    return riff + body;
}

QByteArray manyDescriptorGif(qint64 descriptors, QSize screen)
{
    QByteArray gif("GIF89a");
    appendLittle(gif, quint32(screen.width()), 2);
    appendLittle(gif, quint32(screen.height()), 2);
    gif.append("\x80\x00\x00", 3); // a global colour table of two entries
    gif.append("\x00\x00\x00\xff\xff\xff", 6);
    // Image separator, origin 0,0, 1 × 1, no local table, LZW code size 2, no data sub-blocks.
    static const QByteArray descriptor("\x2C\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x00", 12);
    gif.reserve(gif.size() + descriptor.size() * qsizetype(descriptors) + 1);
    for (qint64 i = 0; i < descriptors; ++i)
        gif.append(descriptor);
    gif.append('\x3B');
    return gif;
}

QByteArray fcTLFloodApng(qint64 chunks, QSize canvas)
{
    QImage first(canvas, QImage::Format_ARGB32);
    first.fill(Qt::transparent);
    QByteArray apng = makeApng({{first, {}, 1, 10}});
    const qsizetype end = apng.size() - 12; // IEND
    QByteArray empty;
    appendBig32(empty, 0);
    empty.append("fcTL", 4);
    appendBig32(empty, quint32(crc32(0, reinterpret_cast<const Bytef*>("fcTL"), 4)));
    QByteArray flood;
    flood.reserve(empty.size() * qsizetype(chunks));
    for (qint64 i = 0; i < chunks; ++i)
        flood.append(empty);
    return apng.insert(end, flood);
}

QByteArray withChunkAfterHeader(const QByteArray& png, const char* type, const QByteArray& payload)
{
    QByteArray chunk;
    appendBig32(chunk, quint32(payload.size()));
    chunk.append(type, 4).append(payload);
    appendBig32(chunk, 0); // fixed below
    return withFixedPngCrcs(QByteArray(png).insert(33, chunk));
}

QByteArray iccpPayload(quint32 statedLength, const QByteArray& body)
{
    QByteArray profile;
    appendBig32(profile, statedLength);
    profile.append(body);
    uLongf size = compressBound(uLong(profile.size()));
    QByteArray compressed(qsizetype(size), Qt::Uninitialized);
    compress2(reinterpret_cast<Bytef*>(compressed.data()), &size,
        reinterpret_cast<const Bytef*>(profile.constData()), uLong(profile.size()), 9);
    compressed.resize(qsizetype(size));
    return QByteArray("icc\0\0", 5) + compressed;
}

QByteArray indexedPng()
{
    QImage image(6, 6, QImage::Format_Indexed8);
    image.setColorTable({qRgba(0, 0, 0, 0), qRgb(200, 30, 30), qRgb(30, 30, 200)});
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x)
            image.setPixel(x, y, uint((x + y) % 3));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray singleFrameApng(const QByteArray& png)
{
    QByteArray control;
    appendBig32(control, 1); // frames
    appendBig32(control, 0); // plays
    QByteArray frame;
    appendBig32(frame, 0); // sequence
    frame.append(png.mid(16, 8)); // the image's own width and height
    appendBig32(frame, 0);
    appendBig32(frame, 0);
    frame.append("\x00\x01\x00\x0A\x00\x00", 6);
    const qsizetype data = png.indexOf("IDAT") - 4;
    QByteArray chunks;
    for (const auto& [type, payload] : {std::pair{"acTL", control}, std::pair{"fcTL", frame}}) {
        appendBig32(chunks, quint32(payload.size()));
        chunks.append(type, 4).append(payload);
        appendBig32(chunks, 0); // fixed below
    }
    return withFixedPngCrcs(QByteArray(png).insert(data, chunks));
}

QByteArray gifWithStrayControl()
{
    QImage first(4, 4, QImage::Format_ARGB32);
    first.fill(Qt::red);
    QImage second(4, 4, QImage::Format_ARGB32);
    second.fill(Qt::blue);
    QByteArray gif = makeGif({{first, {}, std::nullopt}, {second, {}, 11}});
    gif.insert(gif.size() - 1, QByteArray("\x21\xF9\x04\x00\x05\x00\x00\x00", 8));
    return gif;
}

QByteArray multiPageTiff(const std::vector<QImage>& pages)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("pages.tiff"));
    TIFF* tiff = TIFFOpen(path.toLocal8Bit().constData(), "w");
    if (!tiff)
        return {};
    for (const QImage& page : pages) {
        const QImage pixels = page.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
        const uint16_t extra[] = {EXTRASAMPLE_ASSOCALPHA};
        TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, uint32_t(pixels.width()));
        TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, uint32_t(pixels.height()));
        TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, uint16_t(8));
        TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, uint16_t(4));
        TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, uint16_t(1), extra);
        TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, uint16_t(PHOTOMETRIC_RGB));
        TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, uint16_t(PLANARCONFIG_CONTIG));
        TIFFSetField(tiff, TIFFTAG_SUBFILETYPE, uint32_t(FILETYPE_PAGE));
        for (int y = 0; y < pixels.height(); ++y)
            TIFFWriteScanline(tiff, const_cast<uchar*>(pixels.constScanLine(y)), uint32_t(y), 0);
        TIFFWriteDirectory(tiff);
    }
    TIFFClose(tiff);
    return readFileBytes(path);
}

} // namespace plenoria::test
