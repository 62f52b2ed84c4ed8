#include "imaging/gif/GIFWriter.h"

#include "imaging/gif/ColorQuantization.h"
#include "imaging/gif/GIFColorReduction.h"
#include "imaging/model/PixelConventions.h"
#include "imaging/model/Rounding.h"

#include <gif_lib.h>

#include <QThread>
#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

namespace plenoria {

namespace {

// The largest delay a GIF can store: 65535 hundredths of a second.
constexpr qint64 maxDelayMs = 655350;
constexpr qint64 maxGifSide = 65535;
constexpr qint64 windowPixelBudget = 16LL * 1024 * 1024;

int appendToBuffer(GifFileType* gif, const GifByteType* data, int length)
{
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

// A giflib encoder writing into memory; closed (and freed) exactly once.
class GifStream {
public:
    GifStream() { m_gif = EGifOpen(&m_bytes, appendToBuffer, nullptr); }
    ~GifStream()
    {
        if (m_gif)
            EGifCloseFile(m_gif, nullptr);
    }
    GifStream(const GifStream&) = delete;
    GifStream& operator=(const GifStream&) = delete;

    bool start(qint64 width, qint64 height)
    {
        if (!m_gif)
            return false;
        // giflib picks the version from the extensions of images it holds; ours are streamed, so say it.
        EGifSetGifVersion(m_gif, true);
        return EGifPutScreenDesc(m_gif, int(width), int(height), 8, 0, nullptr) == GIF_OK;
    }

    bool putLoopCount(qint64 loopCount)
    {
        const int loops = int(std::clamp<qint64>(loopCount, 0, 65535));
        const GifByteType data[3] = {1, GifByteType(loops & 0xFF), GifByteType(loops >> 8)};
        return EGifPutExtensionLeader(m_gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK
            && EGifPutExtensionBlock(m_gif, 11, "NETSCAPE2.0") == GIF_OK
            && EGifPutExtensionBlock(m_gif, 3, data) == GIF_OK && EGifPutExtensionTrailer(m_gif) == GIF_OK;
    }

    bool putControl(qint64 delayCs, int disposal, std::optional<qint64> transparentIndex)
    {
        GraphicsControlBlock control{};
        control.DisposalMode = disposal;
        control.UserInputFlag = false;
        control.DelayTime = int(delayCs);
        control.TransparentColor = transparentIndex ? int(*transparentIndex) : NO_TRANSPARENT_COLOR;
        GifByteType extension[4];
        EGifGCBToExtension(&control, extension);
        return EGifPutExtension(m_gif, GRAPHICS_EXT_FUNC_CODE, 4, extension) == GIF_OK;
    }

    bool putImage(IndexedFrame& frame)
    {
        // A colour table has 2^n entries, at least two.
        int size = 2;
        while (size < int(frame.colors.size()))
            size *= 2;
        std::vector<GifColorType> colors(std::size_t(size), GifColorType{0, 0, 0});
        for (std::size_t i = 0; i < frame.colors.size(); ++i)
            colors[i] = {GifByteType(frame.colors[i].r), GifByteType(frame.colors[i].g),
                GifByteType(frame.colors[i].b)};
        ColorMapObject* map = GifMakeMapObject(size, colors.data());
        if (!map)
            return false;
        // giflib keeps its own copy of the map.
        const bool described
            = EGifPutImageDesc(m_gif, 0, 0, int(frame.width), int(frame.height), false, map) == GIF_OK;
        GifFreeMapObject(map);
        return described
            && EGifPutLine(m_gif, frame.indices.data(), int(frame.width * frame.height)) == GIF_OK;
    }

    std::optional<QByteArray> finish()
    {
        GifFileType* gif = std::exchange(m_gif, nullptr);
        if (!gif || EGifCloseFile(gif, nullptr) != GIF_OK)
            return std::nullopt;
        return m_bytes;
    }

private:
    QByteArray m_bytes;
    GifFileType* m_gif = nullptr;
};

bool hasTransparentPixel(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        const uchar* row = image.constScanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            if (row[4 * x + 3] < 128)
                return true;
        }
    }
    return false;
}

std::optional<IndexedFrame> indexedFrame(const QImage& frame, QSize canvas, const GIFPalette& palette)
{
    QImage source = frame;
    if (frame.size() != canvas) {
        const auto padded = PixelConventions::cropOrPad(frame, 0, 0, canvas.width(), canvas.height());
        if (!padded)
            return std::nullopt;
        source = *padded;
    }
    if (const GIFPalette::Limited* limited = palette.asLimited()) {
        if (const auto normal = PixelConventions::normalized(source)) {
            // The transparent index takes one of GIF's 256 entries.
            const qint64 colors
                = hasTransparentPixel(*normal) ? std::min<qint64>(limited->colors, 255) : limited->colors;
            source = ColorQuantization::quantize(*normal, colors, limited->dither).value_or(*normal);
        }
    }
    return GIFColorReduction::reduce(source);
}

// Makes item i = produce(i) for every i below `count` on worker threads, at most `window` items ahead of the
// calling thread, which takes them in order with consume(i, item) meanwhile; stops at the first consume
// that returns false, and returns whether every item was consumed. Frames are independent (each has its
// own palette) while the file must be written in order, so reduction and writing overlap.
template <typename Item, typename Produce, typename Consume>
bool produceInParallelConsumeInOrder(std::size_t count, std::size_t window, Produce produce, Consume consume)
{
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<Item> items(count);
    std::vector<char> ready(count, 0);
    std::size_t next = 0;
    std::size_t taken = 0;
    bool stop = false;
    const auto work = [&] {
        std::unique_lock lock(mutex);
        while (true) {
            changed.wait(lock, [&] { return stop || next >= count || next < taken + window; });
            if (stop || next >= count)
                return;
            const std::size_t i = next++;
            lock.unlock();
            Item item = produce(i);
            lock.lock();
            items[i] = std::move(item);
            ready[i] = 1;
            changed.notify_all();
        }
    };
    std::vector<std::thread> pool;
    const std::size_t threads = std::min<std::size_t>(std::max(1, QThread::idealThreadCount()), count);
    for (std::size_t t = 0; t < threads; ++t) {
        try {
            pool.emplace_back(work);
        } catch (const std::system_error&) {
            break; // out of threads: fewer workers, or the calling thread alone
        }
    }
    bool complete = true;
    for (std::size_t i = 0; i < count && complete; ++i) {
        Item item;
        if (pool.empty()) {
            item = produce(i);
        } else {
            std::unique_lock lock(mutex);
            changed.wait(lock, [&] { return ready[i] != 0; });
            item = std::move(items[i]);
            ++taken;
            changed.notify_all();
        }
        complete = consume(i, std::move(item));
    }
    {
        const std::lock_guard lock(mutex);
        stop = true;
    }
    changed.notify_all();
    for (std::thread& thread : pool)
        thread.join();
    return complete;
}

} // namespace

std::optional<QByteArray> GIFWriter::encodeGIF(const Filmstrip& strip, const GIFPalette& palette)
{
    if (strip.frames.empty() || strip.delays.size() != strip.frames.size())
        return std::nullopt;
    QSize canvas;
    for (const QImage& frame : strip.frames)
        canvas = canvas.expandedTo(frame.size());
    if (canvas.width() < 1 || canvas.height() < 1 || canvas.width() > maxGifSide
        || canvas.height() > maxGifSide)
        return std::nullopt;

    GifStream gif;
    if (!gif.start(canvas.width(), canvas.height()) || !gif.putLoopCount(strip.loopCount))
        return std::nullopt;
    // Reduced frames wait for the writer in a window, so that a long animation of large frames never holds
    // all its working copies at once (about 13 bytes a pixel while a frame is reduced).
    const qint64 framePixels = qint64(canvas.width()) * canvas.height();
    const auto window = std::size_t(
        std::clamp<qint64>(windowPixelBudget / framePixels, 1, 2 * std::max(1, QThread::idealThreadCount())));
    const bool written = produceInParallelConsumeInOrder<std::optional<IndexedFrame>>(
        strip.frames.size(), window,
        [&](std::size_t i) { return indexedFrame(strip.frames[i], canvas, palette); },
        [&](std::size_t i, std::optional<IndexedFrame> frame) {
            const qint64 delayCs
                = roundHalfAway(double(std::clamp<qint64>(strip.delays[i], 0, maxDelayMs)) / 10.0);
            return frame && gif.putControl(delayCs, DISPOSE_BACKGROUND, frame->transparentIndex)
                && gif.putImage(*frame);
        });
    if (!written)
        return std::nullopt;
    return gif.finish();
}

std::optional<QByteArray> GIFWriter::encodeStill(const QImage& image)
{
    if (image.isNull() || image.width() > maxGifSide || image.height() > maxGifSide)
        return std::nullopt;
    std::optional<IndexedFrame> frame = GIFColorReduction::reduce(image);
    if (!frame)
        return std::nullopt;
    GifStream gif;
    if (!gif.start(frame->width, frame->height))
        return std::nullopt;
    // Only transparency needs a Graphic Control Extension in a still.
    if (frame->transparentIndex && !gif.putControl(0, DISPOSAL_UNSPECIFIED, frame->transparentIndex))
        return std::nullopt;
    if (!gif.putImage(*frame))
        return std::nullopt;
    return gif.finish();
}

std::optional<qint64> GIFWriter::gifHeaderLength(const QByteArray& bytes)
{
    if (bytes.size() < 14 || !bytes.startsWith("GIF"))
        return std::nullopt;
    const uchar packed = uchar(bytes[10]);
    if (!(packed & 0x80))
        return 13;
    const qint64 length = 13 + 3 * (qint64(1) << ((packed & 7) + 1));
    if (length > bytes.size())
        return std::nullopt;
    return length;
}

namespace {

// The position just after the 0 byte that ends the sub-block chain starting at `at`; none when the chain
// runs off the end of the data.
std::optional<qint64> afterSubBlocks(const QByteArray& bytes, qint64 at)
{
    const qint64 size = bytes.size();
    while (at < size) {
        const qint64 length = uchar(bytes[at]);
        if (length == 0)
            return at + 1;
        at += 1 + length;
    }
    return std::nullopt;
}

} // namespace

std::optional<QByteArray> GIFWriter::rewriteGIFDelays(
    const QByteArray& gif, const std::vector<qint64>& delays)
{
    const qint64 size = gif.size();
    const std::optional<qint64> header = gifHeaderLength(gif);
    if (!header || *header >= size)
        return std::nullopt;
    QByteArray patched = gif;
    qint64 p = *header;
    std::size_t image = 0;
    // The Graphic Control Extension waiting for its image. The reader gives an image the last one
    // before it, so a delay is written there; one that no image takes would hide a delay.
    qint64 control = -1;
    while (true) {
        std::optional<qint64> next;
        switch (uchar(gif[p])) {
        case 0x21: {
            if (p + 1 >= size)
                return std::nullopt;
            if (uchar(gif[p + 1]) == 0xF9) {
                if (p + 7 >= size || uchar(gif[p + 2]) != 4 || control >= 0)
                    return std::nullopt;
                control = p;
                next = afterSubBlocks(gif, p + 7);
            } else {
                next = afterSubBlocks(gif, p + 2);
            }
            break;
        }
        case 0x2C: {
            if (p + 9 >= size || control < 0 || image == delays.size())
                return std::nullopt;
            const qint64 hundredths
                = std::clamp<qint64>(roundHalfAway(double(delays[image]) / 10.0), 0, 65535);
            patched[control + 4] = char(hundredths & 0xFF);
            patched[control + 5] = char(hundredths >> 8);
            control = -1;
            ++image;
            const uchar packed = uchar(gif[p + 9]);
            qint64 q = p + 10 + ((packed & 0x80) ? 3 * (qint64(1) << ((packed & 7) + 1)) : 0) + 1;
            if (q > size)
                return std::nullopt;
            next = afterSubBlocks(gif, q);
            break;
        }
        case 0x3B:
            if (control >= 0 || image != delays.size())
                return std::nullopt;
            return patched;
        default:
            return std::nullopt;
        }
        if (!next || *next >= size)
            return std::nullopt;
        p = *next;
    }
}

} // namespace plenoria
