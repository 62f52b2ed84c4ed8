#include "ApngStructure.h"

#include <QSize>
#include <QString>
#include <QtEndian>

namespace plenoria::test {

namespace {

constexpr qsizetype signatureLength = 8;
constexpr qsizetype frameControlLength = 26;

quint32 bigEndian32(const QByteArray& data, qsizetype at)
{
    return qFromBigEndian<quint32>(data.constData() + at);
}

testing::AssertionResult broken(const QString& rule)
{
    return testing::AssertionFailure() << rule.toStdString();
}

// Where a walk through the chunks has got to, and what the chunks so far promised.
struct Walk {
    enum class Phase { beforeImageData, inImageData, afterImageData };
    Phase phase = Phase::beforeImageData;
    QSize canvas;
    std::optional<std::pair<quint32, quint32>> animationControl; // num_frames, num_plays
    quint32 nextSequence = 0;
    qint64 frameControls = 0;
    bool frameAwaitsData = false; // an fcTL whose image data has not come yet
    bool frameTakesFdat = false; // the current frame's data is fdAT (it follows the IDATs)
};

// fcTL and fdAT share one counter that starts at 0 and goes up by one a chunk.
testing::AssertionResult takeSequence(Walk& walk, const PngChunk& chunk)
{
    const quint32 sequence = bigEndian32(chunk.data, 0);
    if (sequence != walk.nextSequence)
        return broken(QStringLiteral("%1 has sequence number %2 where %3 was due")
                          .arg(QString::fromLatin1(chunk.type))
                          .arg(sequence)
                          .arg(walk.nextSequence));
    ++walk.nextSequence;
    return testing::AssertionSuccess();
}

testing::AssertionResult takeFrameControl(Walk& walk, const PngChunk& chunk)
{
    const QString which = QStringLiteral("fcTL %1").arg(walk.frameControls);
    if (chunk.data.size() != frameControlLength)
        return broken(which + QStringLiteral(" is not 26 bytes long"));
    if (walk.frameAwaitsData)
        return broken(which + QStringLiteral(" follows a frame that has no image data"));
    if (walk.phase == Walk::Phase::inImageData)
        return broken(which + QStringLiteral(" stands between IDAT chunks"));
    if (auto sequence = takeSequence(walk, chunk); !sequence)
        return sequence;
    const qint64 width = bigEndian32(chunk.data, 4);
    const qint64 height = bigEndian32(chunk.data, 8);
    const qint64 x = bigEndian32(chunk.data, 12);
    const qint64 y = bigEndian32(chunk.data, 16);
    if (width == 0 || height == 0 || x + width > walk.canvas.width() || y + height > walk.canvas.height())
        return broken(which + QStringLiteral(" reaches outside the canvas"));
    if (quint8(chunk.data[24]) > 2 || quint8(chunk.data[25]) > 1)
        return broken(which + QStringLiteral(" has an unknown dispose or blend operation"));
    // An fcTL before the image data makes the default image the first frame, which covers the canvas.
    if (walk.phase == Walk::Phase::beforeImageData
        && (walk.frameControls > 0 || x != 0 || y != 0 || QSize(int(width), int(height)) != walk.canvas))
        return broken(which + QStringLiteral(" before the image data is not one frame of the canvas's size"));
    walk.frameTakesFdat = walk.phase == Walk::Phase::afterImageData;
    walk.frameAwaitsData = true;
    ++walk.frameControls;
    return testing::AssertionSuccess();
}

testing::AssertionResult takeChunk(Walk& walk, const PngChunk& chunk)
{
    if (walk.phase == Walk::Phase::inImageData && chunk.type != "IDAT")
        walk.phase = Walk::Phase::afterImageData;
    if (chunk.type == "acTL") {
        if (walk.animationControl || walk.phase != Walk::Phase::beforeImageData || chunk.data.size() != 8)
            return broken(QStringLiteral("acTL is not one 8-byte chunk before the image data"));
        walk.animationControl = std::pair(bigEndian32(chunk.data, 0), bigEndian32(chunk.data, 4));
    } else if (chunk.type == "fcTL") {
        return takeFrameControl(walk, chunk);
    } else if (chunk.type == "IDAT") {
        if (walk.phase == Walk::Phase::afterImageData)
            return broken(QStringLiteral("the IDAT chunks are not consecutive"));
        walk.phase = Walk::Phase::inImageData;
        walk.frameAwaitsData = false;
    } else if (chunk.type == "fdAT") {
        if (!walk.frameTakesFdat || chunk.data.size() < 4)
            return broken(QStringLiteral("an fdAT belongs to no frame that follows the image data"));
        if (auto sequence = takeSequence(walk, chunk); !sequence)
            return sequence;
        walk.frameAwaitsData = false;
    }
    return testing::AssertionSuccess();
}

} // namespace

std::optional<std::vector<PngChunk>> pngChunks(const QByteArray& png)
{
    std::vector<PngChunk> chunks;
    qsizetype at = signatureLength;
    while (at < png.size()) {
        if (png.size() - at < 12)
            return std::nullopt;
        const qint64 length = bigEndian32(png, at);
        if (length > png.size() - at - 12)
            return std::nullopt;
        chunks.push_back(
            {png.mid(at + 4, 4), png.mid(at + 8, qsizetype(length)), bigEndian32(png, at + 8 + length)});
        at += 12 + length;
    }
    return chunks;
}

quint32 pngCrc(QByteArrayView typeAndData)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : typeAndData) {
        crc ^= uchar(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
    }
    return crc ^ 0xFFFFFFFFu;
}

testing::AssertionResult isWellFormedApng(const QByteArray& png, qint64 frames, qint64 plays)
{
    if (!png.startsWith(QByteArrayView("\x89PNG\r\n\x1a\n", signatureLength)))
        return broken(QStringLiteral("the PNG signature is missing"));
    const std::optional<std::vector<PngChunk>> chunks = pngChunks(png);
    if (!chunks || chunks->empty())
        return broken(QStringLiteral("the chunks do not fill the file exactly"));
    for (size_t i = 0; i < chunks->size(); ++i) {
        const PngChunk& chunk = (*chunks)[i];
        if (pngCrc(chunk.type + chunk.data) != chunk.storedCrc)
            return broken(
                QStringLiteral("chunk %1 (%2) has a wrong CRC").arg(i).arg(QString::fromLatin1(chunk.type)));
    }
    if (chunks->front().type != "IHDR" || chunks->front().data.size() != 13)
        return broken(QStringLiteral("the file does not begin with IHDR"));
    if (chunks->back().type != "IEND")
        return broken(QStringLiteral("the file does not end with IEND"));

    Walk walk;
    walk.canvas = QSize(int(bigEndian32(chunks->front().data, 0)), int(bigEndian32(chunks->front().data, 4)));
    for (size_t i = 1; i + 1 < chunks->size(); ++i)
        if (auto taken = takeChunk(walk, (*chunks)[i]); !taken)
            return taken;
    if (walk.phase == Walk::Phase::beforeImageData)
        return broken(QStringLiteral("there is no IDAT"));
    if (walk.frameAwaitsData)
        return broken(QStringLiteral("the last frame has no image data"));
    if (!walk.animationControl)
        return broken(QStringLiteral("there is no acTL"));
    const auto [statedFrames, statedPlays] = *walk.animationControl;
    if (walk.frameControls != qint64(statedFrames))
        return broken(QStringLiteral("acTL states %1 frames, the file has %2 fcTL chunks")
                          .arg(statedFrames)
                          .arg(walk.frameControls));
    if (qint64(statedFrames) != frames || qint64(statedPlays) != plays)
        return broken(QStringLiteral("acTL states %1 frames and %2 plays, not %3 and %4")
                          .arg(statedFrames)
                          .arg(statedPlays)
                          .arg(frames)
                          .arg(plays));
    return testing::AssertionSuccess();
}

} // namespace plenoria::test
