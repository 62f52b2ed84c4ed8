#include "imaging/write/WebPAnimationEncoder.h"

#include "imaging/read/CorePool.h"
#include "imaging/write/WebPFramePicture.h"

#include <QtConcurrent/QtConcurrentRun>

#include <limits>
#include <memory>
#include <new>
#include <webp/mux.h>

namespace plenoria {

namespace {

constexpr qint64 maxTimestamp = std::numeric_limits<int>::max();

struct EncoderDeleter {
    void operator()(WebPAnimEncoder* encoder) const { WebPAnimEncoderDelete(encoder); }
};
using Encoder = std::unique_ptr<WebPAnimEncoder, EncoderDeleter>;

// Every timestamp fits libwebp's int, checked before any pixel work.
bool timeable(const std::vector<qint64>& delays)
{
    qint64 total = 0;
    for (const qint64 delay : delays) {
        if (delay < 0 || delay > maxTimestamp - total)
            return false;
        total += delay;
    }
    return true;
}

// The assembled file; the encoder's frames are let go before the file is copied.
std::optional<QByteArray> assemble(Encoder encoder)
{
    WebPData assembled;
    WebPDataInit(&assembled);
    const bool assembledOk = WebPAnimEncoderAssemble(encoder.get(), &assembled);
    encoder.reset();
    std::optional<QByteArray> result;
    try {
        if (assembledOk && assembled.size > 0 && assembled.bytes)
            result = QByteArray(reinterpret_cast<const char*>(assembled.bytes), qsizetype(assembled.size));
    } catch (const std::bad_alloc&) {
        result.reset();
    }
    WebPDataClear(&assembled);
    return result;
}

} // namespace

std::optional<QByteArray> WebPAnimationEncoder::encode(const std::vector<QImage>& frames,
    const std::vector<qint64>& delays, qint64 loopCount, const WebPConfig& config)
{
    if (frames.empty() || frames.size() != delays.size() || loopCount < 0 || loopCount > maxLoopCount
        || !timeable(delays))
        return std::nullopt;
    const QSize canvas = frames.front().size();
    WebPFramePicture first(canvas);
    WebPFramePicture second(canvas);
    WebPAnimEncoderOptions options;
    if (!first.isValid() || !second.isValid() || !WebPAnimEncoderOptionsInit(&options))
        return std::nullopt;
    options.anim_params.loop_count = int(loopCount);
    Encoder encoder(WebPAnimEncoderNew(canvas.width(), canvas.height(), &options));
    if (!encoder)
        return std::nullopt;

    bool loaded = first.load(frames.front());
    qint64 timestamp = 0;
    for (size_t i = 0; i < frames.size(); ++i) {
        if (!loaded)
            return std::nullopt;
        WebPFramePicture& current = i % 2 ? second : first;
        WebPFramePicture& next = i % 2 ? first : second;
        // libwebp reads `current` until it returns and keeps a copy: the frame after next may then
        // be read into it.
        QFuture<bool> reading;
        if (i + 1 < frames.size())
            reading = QtConcurrent::run(
                &CorePool::instance(), [&next, &frames, i] { return next.load(frames[i + 1]); });
        const bool added = WebPAnimEncoderAdd(encoder.get(), current.picture(), int(timestamp), &config);
        // The reading writes into `next`, which lives here: it is waited for even when libwebp failed.
        loaded = i + 1 < frames.size() ? reading.result() : true;
        if (!added)
            return std::nullopt;
        timestamp += delays[i];
    }
    // A last add without a picture gives the final frame its own duration.
    if (!WebPAnimEncoderAdd(encoder.get(), nullptr, int(timestamp), nullptr))
        return std::nullopt;
    return assemble(std::move(encoder));
}

} // namespace plenoria
