#include "ApngBuilder.h"

#include "ApngStructure.h"

#include <QBuffer>
#include <QtEndian>

#include <array>

namespace plenoria::test {

namespace {

void appendBigEndian(QByteArray& out, quint32 value)
{
    char bytes[4];
    qToBigEndian(value, bytes);
    out.append(bytes, 4);
}

void appendChunk(QByteArray& out, const char* type, const QByteArray& payload)
{
    appendBigEndian(out, quint32(payload.size()));
    const QByteArray body = QByteArray(type, 4) + payload;
    out.append(body);
    appendBigEndian(out, pngCrc(body));
}

QByteArray imageData(const QImage& image)
{
    QByteArray data;
    for (const PngChunk& chunk : pngChunks(encodePng(image)).value_or(std::vector<PngChunk>{}))
        if (chunk.type == "IDAT")
            data += chunk.data;
    return data;
}

QByteArray frameControl(quint32 sequence, const ApngFrame& frame)
{
    QByteArray fc;
    appendBigEndian(fc, sequence);
    appendBigEndian(fc, quint32(frame.image.width()));
    appendBigEndian(fc, quint32(frame.image.height()));
    appendBigEndian(fc, quint32(frame.offset.x()));
    appendBigEndian(fc, quint32(frame.offset.y()));
    fc.append(char(frame.delayNumerator >> 8)).append(char(frame.delayNumerator));
    fc.append(char(frame.delayDenominator >> 8)).append(char(frame.delayDenominator));
    fc.append(char(frame.dispose)).append(char(frame.blend));
    return fc;
}

} // namespace

QByteArray encodePng(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    // ARGB32 always has an alpha channel, so every frame shares one colour type.
    image.convertToFormat(QImage::Format_ARGB32).save(&buffer, "PNG");
    return bytes;
}

QByteArray makeApng(const std::vector<ApngFrame>& frames, const ApngOptions& options)
{
    const QSize canvas
        = options.canvas.isEmpty() && !frames.empty() ? frames.front().image.size() : options.canvas;
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    QByteArray header;
    appendBigEndian(header, quint32(canvas.width()));
    appendBigEndian(header, quint32(canvas.height()));
    header.append("\x08\x06\x00\x00\x00", 5);
    appendChunk(png, "IHDR", header);
    QByteArray control;
    appendBigEndian(control, quint32(frames.size()));
    appendBigEndian(control, quint32(options.plays));
    appendChunk(png, "acTL", control);

    quint32 sequence = 0;
    for (size_t i = 0; i < frames.size(); ++i) {
        const ApngFrame& frame = frames[i];
        if (i == 0 && options.hiddenDefault)
            appendChunk(png, "IDAT", imageData(*options.hiddenDefault));
        appendChunk(png, "fcTL", frameControl(sequence++, frame));
        if (i == 0 && !options.hiddenDefault) {
            appendChunk(png, "IDAT", imageData(frame.image));
            continue;
        }
        QByteArray data;
        appendBigEndian(data, sequence++);
        appendChunk(png, "fdAT", data + imageData(frame.image));
    }
    appendChunk(png, "IEND", {});
    return png;
}

QByteArray withFixedPngCrcs(QByteArray png)
{
    for (qsizetype offset = 8; offset + 12 <= png.size();) {
        const quint32 length = qFromBigEndian<quint32>(png.constData() + offset);
        if (offset + 12 + qsizetype(length) > png.size())
            break;
        char crc[4];
        qToBigEndian(pngCrc(QByteArrayView(png).sliced(offset + 4, 4 + qsizetype(length))), crc);
        png.replace(offset + 8 + qsizetype(length), 4, crc, 4);
        offset += 12 + qsizetype(length);
    }
    return png;
}

} // namespace plenoria::test
