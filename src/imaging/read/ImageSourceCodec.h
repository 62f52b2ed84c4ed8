#pragma once

#include "imaging/read/ImageSource.h"

#include <QRect>
#include <functional>

namespace plenoria {

// Decoding limits that keep a hostile or damaged file from exhausting memory.
inline constexpr qint64 maxDecodedFramePixels = 64LL * 1024 * 1024;
inline constexpr qint64 maxDecodedBytesPerFile = 1024LL * 1024 * 1024;
// What a decoded frame costs beyond its pixels (image header, allocation), so that millions of tiny
// frames count against the budget too.
inline constexpr qint64 decodedFrameOverheadBytes = 1024;

// The format-specific half of ImageSource. A codec is built once over immutable bytes and never
// changes afterwards, so one codec may serve several threads at once; every decode keeps its
// working state on the stack.
class ImageSource::Codec {
public:
    explicit Codec(QByteArray data)
        : m_data(std::move(data))
    { }
    virtual ~Codec() = default;
    Codec(const Codec&) = delete;
    Codec& operator=(const Codec&) = delete;

    virtual ImageType type() const = 0;
    // The size every decoded frame has; empty when the file states none.
    virtual QSize canvasSize() const = 0;
    virtual qint64 frameCount() const = 0;
    virtual FrameProperties frameProperties(qint64 index) const = 0;
    virtual std::optional<qint64> gifLoopCount() const { return std::nullopt; }
    virtual qint64 fileLoopCount() const { return 0; }
    virtual bool isLossless() const = 0;

    // Receives frame `index` composited onto the canvas, or none when it did not decode; returns
    // false to stop decoding.
    using FrameSink = std::function<bool(qint64 index, std::optional<QImage> frame)>;
    // Decodes frames 0 … `last` in order (animations composite each frame onto the ones before).
    virtual void decode(qint64 last, const FrameSink& sink) const = 0;

    const QByteArray& data() const { return m_data; }

protected:
    QByteArray m_data;
};

// A transparent canvas in the pixel convention; none above the frame limit or without memory.
std::optional<QImage> makeCanvas(QSize size);

// Whether a frame of this size may be decoded at all; never overflows, whatever the sides.
bool withinFrameLimit(qint64 width, qint64 height);

// The most frames of this canvas the decode budget could ever accept (at least 1). A reader stops
// its walk one frame beyond it: the file is refused all the same, and what it states beyond that
// costs neither time nor memory.
qint64 maxDecodableFrames(QSize canvas);

} // namespace plenoria
