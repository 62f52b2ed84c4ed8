#include "imaging/read/ImageSource.h"

#include "imaging/model/Bitmap.h"
#include "imaging/read/BmpCodec.h"
#include "imaging/read/GifCodec.h"
#include "imaging/read/HeifCodec.h"
#include "imaging/read/ImageSourceCodec.h"
#include "imaging/read/JpegCodec.h"
#include "imaging/read/PngCodec.h"
#include "imaging/read/RegularFile.h"
#include "imaging/read/TiffCodec.h"
#include "imaging/read/WebPCodec.h"

namespace plenoria {

namespace {

std::shared_ptr<const ImageSource::Codec> makeCodec(ImageType type, const QByteArray& data)
{
    switch (type) {
    case ImageType::GIF:
        return GifCodec::create(data);
    case ImageType::PNG:
        return PngCodec::create(data);
    case ImageType::JPEG:
        return JpegCodec::create(data);
    case ImageType::WebP:
        return WebPCodec::create(data);
    case ImageType::HEIC:
    case ImageType::AVIF:
        return HeifCodec::create(data, type);
    case ImageType::TIFF:
        return TiffCodec::create(data);
    case ImageType::BMP:
        return BmpCodec::create(data);
    }
    return nullptr;
}

} // namespace

std::optional<QImage> makeCanvas(QSize size)
{
    if (size.isEmpty() || !withinFrameLimit(size.width(), size.height()))
        return std::nullopt;
    QImage canvas(size, pixelFormat);
    if (canvas.isNull())
        return std::nullopt;
    canvas.fill(Qt::transparent);
    return canvas;
}

bool withinFrameLimit(qint64 width, qint64 height)
{
    return width > 0 && height > 0 && width <= maxDecodedFramePixels / height;
}

qint64 maxDecodableFrames(QSize canvas)
{
    if (!withinFrameLimit(canvas.width(), canvas.height()))
        return 1;
    return maxDecodedBytesPerFile
        / (qint64(canvas.width()) * canvas.height() * 4 + decodedFrameOverheadBytes);
}

ImageSource::ImageSource(std::shared_ptr<const Codec> codec)
    : m_codec(std::move(codec))
{ }

std::optional<ImageSource> ImageSource::open(const QString& path)
{
    RegularFile::Contents contents = RegularFile::readWhole(path);
    if (!contents.ok())
        return std::nullopt;
    return fromData(contents.bytes);
}

std::optional<ImageSource> ImageSource::fromData(const QByteArray& data)
{
    const std::optional<ImageType> type = detectImageType(data);
    if (!type)
        return std::nullopt;
    std::shared_ptr<const Codec> codec = makeCodec(*type, data);
    if (!codec)
        return std::nullopt;
    return ImageSource(std::move(codec));
}

ImageType ImageSource::type() const
{
    return m_codec->type();
}

qint64 ImageSource::frameCount() const
{
    return m_codec->frameCount();
}

FrameProperties ImageSource::frameProperties(qint64 index) const
{
    if (index < 0 || index >= frameCount())
        return {};
    return m_codec->frameProperties(index);
}

std::optional<qint64> ImageSource::gifLoopCount() const
{
    return m_codec->gifLoopCount();
}

qint64 ImageSource::fileLoopCount() const
{
    return m_codec->fileLoopCount();
}

bool ImageSource::isLossless() const
{
    return m_codec->isLossless();
}

std::optional<QImage> ImageSource::decodeFrame(qint64 index) const
{
    if (index < 0 || index >= frameCount())
        return std::nullopt;
    std::optional<QImage> result;
    m_codec->decode(index, [&](qint64 i, std::optional<QImage> frame) {
        if (i == index)
            result = std::move(frame);
        return i < index;
    });
    return result;
}

std::optional<std::vector<DecodedFrame>> ImageSource::decodeFrames(
    const std::function<void(const DecodedFrame&)>& decoded, std::stop_token stop) const
{
    const QSize canvas = m_codec->canvasSize();
    const qint64 count = frameCount();
    if (count <= 0 || canvas.isEmpty())
        return std::vector<DecodedFrame>{};
    // Every frame is a full canvas, so the budget is known before anything is decoded. The sides are
    // checked first: two stated sides of 2^31 would overflow the product.
    if (!withinFrameLimit(canvas.width(), canvas.height()) || count > maxDecodableFrames(canvas))
        return std::nullopt;

    if (stop.stop_requested())
        return std::nullopt;

    std::vector<DecodedFrame> frames;
    bool stopped = false;
    m_codec->decode(count - 1, [&](qint64 index, std::optional<QImage> frame) {
        if (frame) {
            frames.push_back({index, std::move(*frame)});
            if (decoded)
                decoded(frames.back());
        }
        // Every reader asks here before it reads the next frame, so a stop costs at most the frame
        // being read, however many the file holds.
        stopped = stop.stop_requested();
        return !stopped;
    });
    if (stopped)
        return std::nullopt;
    return frames;
}

const QByteArray& ImageSource::data() const
{
    return m_codec->data();
}

} // namespace plenoria
