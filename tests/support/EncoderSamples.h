#pragma once

#include "PeerTools.h"

#include <QByteArray>
#include <QImage>
#include <optional>
#include <vector>

namespace plenoria::test {

// `count` distinct frames of an animated emoji: a disc moving over a colourful ground with some noise,
// so that each frame has thousands of colours. With `transparentGround` the ground is transparent and
// the disc's edge is soft (partial alpha).
std::vector<QImage> emojiFrames(int count, int width, int height, bool transparentGround, quint32 seed = 1);

// `count` distinct sticker frames: the noisy opaque frames of emojiFrames cut to a disc, with a soft
// edge and transparent corners; thousands of colours each, as a real animated emoji has.
std::vector<QImage> stickerFrames(int count, int width, int height, quint32 seed = 1);

// A frame with exactly `colors` distinct opaque colours (and a transparent column when asked).
QImage paletteImage(int width, int height, int colors, bool transparentColumn);

// One frame of a GIF as giflib's reader sees it.
struct InspectedGifFrame {
    int left = 0, top = 0, width = 0, height = 0;
    int delayCs = -1; // -1 without a Graphic Control Extension
    int disposal = -1;
    int transparentIndex = -1;
    int localColorCount = 0; // 0 without a local colour table
    QImage image; // the frame alone, transparent index as alpha 0, in the pixel convention
};

struct InspectedGif {
    int width = 0, height = 0;
    std::optional<int> loopCount; // from a NETSCAPE2.0 extension
    std::vector<InspectedGifFrame> frames;
};

// None when giflib cannot read the bytes.
std::optional<InspectedGif> inspectGif(const QByteArray& bytes);

// What `webpmux -info` reports about a WebP file.
struct WebPMuxInfo {
    int width = 0, height = 0;
    bool animated = false;
    int loopCount = -1;
    std::vector<int> durations; // one per frame of an animation
};

// None when webpmux cannot read the bytes.
std::optional<WebPMuxInfo> webpmuxInfo(const QByteArray& webp);

// The peer-tool file helpers under the names some tests use.
inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    return writeFileBytes(path, bytes);
}
inline QByteArray readFile(const QString& path)
{
    return readFileBytes(path);
}

} // namespace plenoria::test
