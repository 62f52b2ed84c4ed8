#include "GifBuilder.h"

#include "imaging/read/GifStructure.h"

#include <QHash>
#include <gif_lib.h>

#include <memory>

namespace plenoria::test {

namespace {

int appendBytes(GifFileType* gif, const GifByteType* bytes, int length)
{
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(bytes), length);
    return length;
}

struct Palette {
    std::unique_ptr<ColorMapObject, void (*)(ColorMapObject*)> map{nullptr, GifFreeMapObject};
    std::vector<GifPixelType> indices; // one per pixel, row by row
    std::optional<int> transparentIndex;
};

Palette indexImage(const QImage& source, bool allowTransparency)
{
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const qsizetype pixels = qsizetype(image.width()) * image.height();
    const auto* data = reinterpret_cast<const QRgb*>(image.constBits()); // ARGB32 rows are never padded
    const auto transparent = [&](QRgb p) { return allowTransparency && qAlpha(p) < 128; };
    Palette palette;
    palette.map.reset(GifMakeMapObject(256, nullptr));
    QHash<QRgb, int> exact;
    bool hasTransparent = false;
    for (qsizetype i = 0; i < pixels; ++i) {
        if (transparent(data[i]))
            hasTransparent = true;
        else if (exact.size() <= 256)
            exact.insert(data[i] | 0xFF000000u, 0);
    }
    const int first = hasTransparent ? 1 : 0;
    const bool fits = exact.size() + first <= 256;
    if (hasTransparent)
        palette.transparentIndex = 0;
    if (fits) {
        int next = first;
        for (auto it = exact.begin(); it != exact.end(); ++it)
            it.value() = next++;
    }
    for (int i = 0; i < 256; ++i) {
        palette.map->Colors[i] = {0, 0, 0};
        if (!fits && i >= first) // 3-3-2 levels
            palette.map->Colors[i] = {GifByteType(((i >> 5) & 7) * 255 / 7),
                GifByteType(((i >> 2) & 7) * 255 / 7), GifByteType((i & 3) * 255 / 3)};
    }
    for (auto it = exact.begin(); fits && it != exact.end(); ++it)
        palette.map->Colors[it.value()]
            = {GifByteType(qRed(it.key())), GifByteType(qGreen(it.key())), GifByteType(qBlue(it.key()))};
    palette.indices.reserve(size_t(pixels));
    QRgb last = 0;
    int lastIndex = -1;
    for (qsizetype i = 0; i < pixels; ++i) {
        const QRgb p = data[i];
        if (hasTransparent && transparent(p)) {
            palette.indices.push_back(0);
        } else if (fits) {
            if (lastIndex < 0 || p != last) {
                last = p;
                lastIndex = exact.value(p | 0xFF000000u);
            }
            palette.indices.push_back(GifPixelType(lastIndex));
        } else {
            palette.indices.push_back(
                GifPixelType(std::max(first, (qRed(p) >> 5 << 5) | (qGreen(p) >> 5 << 2) | (qBlue(p) >> 6))));
        }
    }
    return palette;
}

} // namespace

QByteArray makeGif(const std::vector<GifFrame>& frames, const GifOptions& options)
{
    QByteArray out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, appendBytes, &error);
    if (!gif)
        return {};
    EGifSetGifVersion(gif, true);
    const QSize screen
        = options.screen.isEmpty() && !frames.empty() ? frames.front().image.size() : options.screen;
    EGifPutScreenDesc(gif, screen.width(), screen.height(), 8, 0, nullptr);
    if (options.loopCount) {
        const GifByteType loop[3]
            = {1, GifByteType(*options.loopCount & 0xFF), GifByteType(*options.loopCount >> 8)};
        EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE);
        EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0");
        EGifPutExtensionBlock(gif, 3, loop);
        EGifPutExtensionTrailer(gif);
    }
    for (const GifFrame& frame : frames) {
        const Palette palette = indexImage(frame.image, frame.delayCentiseconds.has_value());
        if (frame.delayCentiseconds) {
            const int delay = *frame.delayCentiseconds;
            const GifByteType control[4]
                = {GifByteType((frame.disposal & 7) << 2 | (palette.transparentIndex ? 1 : 0)),
                    GifByteType(delay & 0xFF), GifByteType(delay >> 8),
                    GifByteType(palette.transparentIndex.value_or(0))};
            EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, control);
        }
        const int width = frame.image.width();
        const int height = frame.image.height();
        EGifPutImageDesc(
            gif, frame.offset.x(), frame.offset.y(), width, height, frame.interlaced, palette.map.get());
        std::vector<int> rows;
        if (frame.interlaced) {
            for (const auto& [start, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}})
                for (int y = start; y < height; y += step)
                    rows.push_back(y);
        } else {
            for (int y = 0; y < height; ++y)
                rows.push_back(y);
        }
        for (const int y : rows)
            EGifPutLine(gif, const_cast<GifPixelType*>(palette.indices.data() + qsizetype(y) * width), width);
    }
    EGifCloseFile(gif, &error);
    return out;
}

QByteArray makeAnimatedGif(
    int count, QSize size, std::optional<int> delayCentiseconds, std::optional<int> loopCount)
{
    std::vector<GifFrame> frames;
    for (int i = 0; i < count; ++i) {
        QImage image(size, QImage::Format_ARGB32);
        image.fill(QColor::fromHsv((i * 47) % 360, 200, 220));
        frames.push_back({image, {}, delayCentiseconds, 0, false});
    }
    return makeGif(frames, {size, loopCount});
}

QByteArray corruptGifFrame(QByteArray gif, int index)
{
    const std::optional<GifStructure> structure = GifStructure::parse(gif);
    if (!structure || index < 0 || size_t(index) >= structure->frames.size())
        return gif;
    const qint64 descriptor = structure->frames[size_t(index)].descriptorOffset;
    const uchar packed = uchar(gif[qsizetype(descriptor + 8)]);
    const qint64 localTable = (packed & 0x80) ? 3LL << ((packed & 7) + 1) : 0;
    qint64 offset = descriptor + 9 + localTable + 1; // past the LZW code size byte
    while (offset < gif.size() && gif[qsizetype(offset)] != 0) {
        const int length = uchar(gif[qsizetype(offset)]);
        for (int i = 1; i <= length && offset + i < gif.size(); ++i)
            gif[qsizetype(offset + i)] = char(0xFF);
        offset += 1 + length;
    }
    return gif;
}

} // namespace plenoria::test
