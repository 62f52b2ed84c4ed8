#include "AnimatedWebPWriter.h"

#include "WriterPixels.h"

#include <webp/encode.h>
#include <webp/mux.h>

#include <limits>
#include <memory>
#include <new>

namespace plenoria {

namespace {

constexpr qint64 maxTimestamp = std::numeric_limits<int>::max();
constexpr qint64 maxLoopCount = 65535; // ANIM stores the loop count in 16 bits

struct EncoderDeleter {
    void operator()(WebPAnimEncoder* encoder) const { WebPAnimEncoderDelete(encoder); }
};

struct PictureGuard {
    WebPPicture picture{};
    ~PictureGuard() { WebPPictureFree(&picture); }
};

std::optional<WebPConfig> frameConfig(bool lossless)
{
    WebPConfig config;
    if (!WebPConfigInit(&config))
        return std::nullopt;
    config.lossless = lossless ? 1 : 0;
    config.method = AnimatedWebPWriter::method;
    // For lossless, quality is the effort spent on compression; the lossy figure is the save quality.
    config.quality = lossless ? 50.0f : float(AnimatedWebPWriter::lossyQuality);
    if (!WebPValidateConfig(&config))
        return std::nullopt;
    return config;
}

bool addFrame(WebPAnimEncoder* encoder, const QImage& prepared, qint64 timestamp, const WebPConfig& config)
{
    const auto straight = WriterPixels::straightRGBA(prepared);
    if (!straight)
        return false;
    PictureGuard guard;
    if (!WebPPictureInit(&guard.picture))
        return false;
    guard.picture.width = prepared.width();
    guard.picture.height = prepared.height();
    guard.picture.use_argb = 1;
    if (!WebPPictureImportRGBA(
            &guard.picture, reinterpret_cast<const uint8_t*>(straight->constData()), 4 * prepared.width()))
        return false;
    return WebPAnimEncoderAdd(encoder, &guard.picture, int(timestamp), &config);
}

} // namespace

std::optional<QByteArray> AnimatedWebPWriter::encode(const Filmstrip& strip, bool lossless, qint64 loopCount)
{
    if (strip.frames.empty() || strip.frames.size() != strip.delays.size() || loopCount < 0
        || loopCount > maxLoopCount)
        return std::nullopt;
    const auto first = WriterPixels::prepared(strip.frames.front());
    if (!first || first->width() > WEBP_MAX_DIMENSION || first->height() > WEBP_MAX_DIMENSION)
        return std::nullopt;
    const QSize canvas = first->size();
    // Timestamps are checked before any pixel work: a strip that cannot be timed fails at once.
    qint64 total = 0;
    for (qint64 delay : strip.delays) {
        if (delay < 0 || delay > maxTimestamp - total)
            return std::nullopt;
        total += delay;
    }

    WebPAnimEncoderOptions options;
    if (!WebPAnimEncoderOptionsInit(&options))
        return std::nullopt;
    options.anim_params.loop_count = int(loopCount);
    std::unique_ptr<WebPAnimEncoder, EncoderDeleter> encoder(
        WebPAnimEncoderNew(canvas.width(), canvas.height(), &options));
    const auto config = frameConfig(lossless);
    if (!encoder || !config)
        return std::nullopt;

    qint64 timestamp = 0;
    for (size_t i = 0; i < strip.frames.size(); ++i) {
        const auto frame = i == 0 ? first : WriterPixels::prepared(strip.frames[i]);
        if (!frame || frame->size() != canvas || !addFrame(encoder.get(), *frame, timestamp, *config))
            return std::nullopt;
        timestamp += strip.delays[i];
    }
    // A last add without a picture gives the final frame its own delay.
    if (!WebPAnimEncoderAdd(encoder.get(), nullptr, int(timestamp), nullptr))
        return std::nullopt;
    WebPData assembled;
    WebPDataInit(&assembled);
    if (!WebPAnimEncoderAssemble(encoder.get(), &assembled))
        return std::nullopt;
    std::optional<QByteArray> result;
    try {
        if (assembled.size > 0 && assembled.bytes)
            result = QByteArray(reinterpret_cast<const char*>(assembled.bytes), qsizetype(assembled.size));
    } catch (const std::bad_alloc&) {
        result.reset();
    }
    WebPDataClear(&assembled);
    return result;
}

} // namespace plenoria
