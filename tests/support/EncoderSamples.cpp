#include "EncoderSamples.h"

#include "PeerTools.h"
#include "imaging/model/Bitmap.h"

#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gif_lib.h>

#include <algorithm>
#include <cmath>

namespace plenoria::test {

std::vector<QImage> emojiFrames(int count, int width, int height, bool transparentGround, quint32 seed)
{
    QRandomGenerator random(seed);
    std::vector<QImage> frames;
    for (int i = 0; i < count; ++i) {
        QImage frame(width, height, pixelFormat);
        frame.fill(Qt::transparent);
        if (!transparentGround) {
            for (int y = 0; y < height; ++y) {
                uchar* row = frame.scanLine(y);
                for (int x = 0; x < width; ++x) {
                    const int noise = int(random.bounded(12));
                    row[4 * x] = uchar(std::min(255, x * 127 / std::max(1, width - 1) + noise + i));
                    row[4 * x + 1] = uchar(std::min(255, y * 127 / std::max(1, height - 1) + 60 + noise));
                    row[4 * x + 2] = uchar(std::min(255, 180 - x * 90 / std::max(1, width) + noise));
                    row[4 * x + 3] = 255;
                }
            }
        }
        QPainter painter(&frame);
        painter.setRenderHint(QPainter::Antialiasing, transparentGround);
        painter.setPen(Qt::NoPen);
        QRadialGradient gradient(QPointF(width * 0.4, height * 0.4), width * 0.4);
        gradient.setColorAt(0, QColor::fromHsv((i * 37) % 360, 200, 255));
        gradient.setColorAt(1, QColor::fromHsv((i * 37 + 120) % 360, 255, 120));
        painter.setBrush(gradient);
        const double phase = count > 1 ? double(i) / count : 0;
        painter.drawEllipse(QRectF(width * (0.1 + 0.3 * phase), height * 0.2, width * 0.55, height * 0.55));
        painter.end();
        frames.push_back(frame);
    }
    return frames;
}

std::vector<QImage> stickerFrames(int count, int width, int height, quint32 seed)
{
    std::vector<QImage> frames = emojiFrames(count, width, height, false, seed);
    const double cx = (width - 1) / 2.0, cy = (height - 1) / 2.0, radius = std::min(width, height) * 0.48;
    for (QImage& frame : frames) {
        for (int y = 0; y < height; ++y) {
            uchar* row = frame.scanLine(y);
            for (int x = 0; x < width; ++x) {
                // Alpha falls from 255 to 0 over the outer 3 pixels; premultiplied, so colours scale with it.
                const double distance = std::hypot(x - cx, y - cy);
                const double coverage = std::clamp((radius - distance) / 3.0, 0.0, 1.0);
                for (int c = 0; c < 4; ++c)
                    row[4 * x + c] = uchar(std::lround(row[4 * x + c] * coverage));
            }
        }
    }
    return frames;
}

QImage paletteImage(int width, int height, int colors, bool transparentColumn)
{
    QImage image(width, height, pixelFormat);
    image.fill(Qt::transparent);
    int n = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = transparentColumn ? 1 : 0; x < width; ++x, ++n)
            image.setPixelColor(
                x, y, QColor((n % colors) * 7 % 256, (n % colors) * 13 % 256, (n % colors) % 256));
    }
    return image;
}

namespace {

int readFromBuffer(GifFileType* gif, GifByteType* out, int length)
{
    auto* state = static_cast<std::pair<const QByteArray*, qsizetype>*>(gif->UserData);
    const qsizetype n = std::min<qsizetype>(length, state->first->size() - state->second);
    std::memcpy(out, state->first->constData() + state->second, std::size_t(n));
    state->second += n;
    return int(n);
}

} // namespace

std::optional<InspectedGif> inspectGif(const QByteArray& bytes)
{
    std::pair<const QByteArray*, qsizetype> state{&bytes, 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&state, readFromBuffer, &error);
    if (!gif)
        return std::nullopt;
    if (DGifSlurp(gif) != GIF_OK) {
        DGifCloseFile(gif, &error);
        return std::nullopt;
    }
    InspectedGif result;
    result.width = gif->SWidth;
    result.height = gif->SHeight;
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& saved = gif->SavedImages[i];
        InspectedGifFrame frame;
        frame.left = saved.ImageDesc.Left;
        frame.top = saved.ImageDesc.Top;
        frame.width = saved.ImageDesc.Width;
        frame.height = saved.ImageDesc.Height;
        for (int e = 0; e < saved.ExtensionBlockCount; ++e) {
            const ExtensionBlock& block = saved.ExtensionBlocks[e];
            if (block.Function == APPLICATION_EXT_FUNC_CODE && block.ByteCount == 11
                && std::memcmp(block.Bytes, "NETSCAPE2.0", 11) == 0 && e + 1 < saved.ExtensionBlockCount) {
                const ExtensionBlock& data = saved.ExtensionBlocks[e + 1];
                if (data.ByteCount >= 3)
                    result.loopCount = data.Bytes[1] | data.Bytes[2] << 8;
            }
        }
        GraphicsControlBlock control;
        if (DGifSavedExtensionToGCB(gif, i, &control) == GIF_OK) {
            frame.delayCs = control.DelayTime;
            frame.disposal = control.DisposalMode;
            frame.transparentIndex = control.TransparentColor;
        }
        const ColorMapObject* map = saved.ImageDesc.ColorMap ? saved.ImageDesc.ColorMap : gif->SColorMap;
        frame.localColorCount = saved.ImageDesc.ColorMap ? saved.ImageDesc.ColorMap->ColorCount : 0;
        frame.image = QImage(std::max(1, frame.width), std::max(1, frame.height), pixelFormat);
        frame.image.fill(Qt::transparent);
        for (int y = 0; y < frame.height; ++y) {
            for (int x = 0; x < frame.width; ++x) {
                const int index = saved.RasterBits[y * frame.width + x];
                if (index == frame.transparentIndex || !map || index >= map->ColorCount)
                    continue;
                const GifColorType& c = map->Colors[index];
                frame.image.setPixelColor(x, y, QColor(c.Red, c.Green, c.Blue));
            }
        }
        result.frames.push_back(frame);
    }
    DGifCloseFile(gif, &error);
    return result;
}

std::optional<WebPMuxInfo> webpmuxInfo(const QByteArray& webp)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("probe.webp");
    QByteArray out;
    if (!writeFileBytes(path, webp) || !runPeer("webpmux", {"-info", path}, &out))
        return std::nullopt;
    WebPMuxInfo info;
    bool inTable = false;
    for (const QString& line : QString::fromUtf8(out).split('\n')) {
        const QStringList fields = line.simplified().split(' ');
        if (line.startsWith("Canvas size:") && fields.size() >= 5) {
            info.width = fields[2].toInt();
            info.height = fields[4].toInt();
        } else if (line.contains("Loop Count :")) {
            info.animated = true;
            info.loopCount = line.section("Loop Count :", 1).trimmed().toInt();
        } else if (line.startsWith("No.:")) {
            inTable = true;
        } else if (inTable && fields.size() >= 7) {
            info.durations.push_back(fields[6].toInt());
        }
    }
    if (info.width == 0)
        return std::nullopt;
    return info;
}

} // namespace plenoria::test
