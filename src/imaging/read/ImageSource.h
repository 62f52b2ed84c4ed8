#pragma once

#include "imaging/model/ImageType.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>
#include <vector>

namespace plenoria {

// The delay values one frame states in one container's properties, in seconds, exactly as stored.
struct DelayProperties {
    std::optional<double> unclamped;
    std::optional<double> plain;
    bool operator==(const DelayProperties&) const = default;
};

// What a file states about one frame, read from metadata only (no pixel data is decoded).
struct FrameProperties {
    std::optional<QSize> pixelSize;      // absent when the file states no size
    std::optional<DelayProperties> gif;  // present for every GIF frame (empty without a Graphic Control Extension)
    std::optional<DelayProperties> webp; // present for the frames of an animated WebP
    std::optional<DelayProperties> apng; // present for the frames of an animated PNG
    bool operator==(const FrameProperties&) const = default;
};

// One decoded frame: its index in the file and the full canvas, Format_RGBA8888_Premultiplied.
struct DecodedFrame {
    qint64 index = 0;
    QImage image;
};

// Our image reader: opens a file or bytes, tells the type from the content, reads frame metadata
// cheaply and decodes frames with the format's compositing applied.
// An instance is a value over immutable bytes; different instances may be used on different threads.
class ImageSource {
public:
    // None when the content is not one of the image types we read (the extension is never consulted)
    // or its header cannot be parsed; `open` also when the path holds no regular file of at most
    // RegularFile::maxFileBytes.
    [[nodiscard]] static std::optional<ImageSource> open(const QString& path);
    [[nodiscard]] static std::optional<ImageSource> fromData(const QByteArray& data);

    ImageType type() const;
    qint64 frameCount() const;

    // Metadata of frame `index`; empty properties when the index is out of range.
    FrameProperties frameProperties(qint64 index) const;

    // The NETSCAPE2.0 loop count as stored; none for other types or when the GIF has no loop extension.
    std::optional<qint64> gifLoopCount() const;
    // The file's own loop count (GIF, WebP ANIM, APNG num_plays; 0 = for ever), 0 for other types.
    qint64 fileLoopCount() const;
    // Whether the frames are stored losslessly (WebP VP8L; PNG, GIF, TIFF, BMP: true; JPEG, HEIC, AVIF: false).
    bool isLossless() const;

    // Frame `index` composited onto the full canvas; none when it does not decode or passes the memory limits.
    std::optional<QImage> decodeFrame(qint64 index) const;
    // Every frame that decodes, in file order, skipping the ones that do not; none when the frames
    // together pass the memory budget. `decoded`, when given, sees each frame as soon as it is
    // decoded, on the calling thread, while later ones are still to come. A stop requested on `stop`
    // (from any thread) is seen between two frames: no further frame is read, and the result is none.
    std::optional<std::vector<DecodedFrame>> decodeFrames(
        const std::function<void(const DecodedFrame&)>& decoded = {}, std::stop_token stop = {}) const;

    const QByteArray& data() const;

    class Codec; // format-specific reader behind the interface
private:
    explicit ImageSource(std::shared_ptr<const Codec> codec);
    std::shared_ptr<const Codec> m_codec;
};

} // namespace plenoria
