#include "imaging/gif/GIFColorReduction.h"

#include "imaging/model/PixelConventions.h"
#include "imaging/model/Unpremultiply.h"

#include <libimagequant.h>

#include <cstring>
#include <memory>

namespace plenoria {

namespace {

constexpr uchar opaqueThreshold = 128;
constexpr quint32 transparentKey = 0x1000000; // above every packed colour
constexpr std::size_t maxEntries = 256;

quint32 straightKey(const uchar* p, const UnpremultiplyTable& straight)
{
    if (p[3] < opaqueThreshold)
        return transparentKey;
    const std::size_t row = std::size_t(p[3]) * 256;
    return quint32(straight[row + p[0]]) << 16 | quint32(straight[row + p[1]]) << 8 | straight[row + p[2]];
}

// Indexes the pixels in order of first appearance; none as soon as a 257th entry would be needed.
std::optional<IndexedFrame> exactColors(const uchar* pixels, qint64 width, qint64 height)
{
    const UnpremultiplyTable& straight = unpremultiplyTable();
    constexpr std::size_t tableSize = 1024; // open addressing, at most a quarter full
    std::vector<quint32> keys(tableSize, 0); // key + 1; 0 marks a free slot
    std::vector<uchar> slotIndex(tableSize, 0);

    IndexedFrame frame;
    frame.width = width;
    frame.height = height;
    frame.indices.resize(std::size_t(width * height));
    quint32 lastWord = 0;
    uchar lastIndex = 0;
    bool hasLast = false;
    for (qint64 i = 0; i < width * height; ++i) {
        const uchar* p = pixels + 4 * i;
        quint32 word;
        std::memcpy(&word, p, 4);
        if (hasLast && word == lastWord) {
            frame.indices[std::size_t(i)] = lastIndex;
            continue;
        }
        const quint32 key = straightKey(p, straight) + 1;
        std::size_t slot = (key * 2654435761u) >> 22;
        while (keys[slot] != 0 && keys[slot] != key)
            slot = (slot + 1) & (tableSize - 1);
        if (keys[slot] == 0) {
            if (frame.colors.size() == maxEntries)
                return std::nullopt;
            keys[slot] = key;
            slotIndex[slot] = uchar(frame.colors.size());
            const quint32 color = key - 1;
            if (color == transparentKey)
                frame.transparentIndex = qint64(frame.colors.size());
            frame.colors.push_back(color == transparentKey
                    ? RGB8{}
                    : RGB8{(color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF});
        }
        lastWord = word;
        lastIndex = slotIndex[slot];
        hasLast = true;
        frame.indices[std::size_t(i)] = lastIndex;
    }
    return frame;
}

struct LiqDeleter {
    void operator()(liq_attr* p) const { liq_attr_destroy(p); }
    void operator()(liq_image* p) const { liq_image_destroy(p); }
    void operator()(liq_result* p) const { liq_result_destroy(p); }
};

std::optional<IndexedFrame> quantizedColors(const uchar* pixels, qint64 width, qint64 height)
{
    const UnpremultiplyTable& straight = unpremultiplyTable();
    const std::size_t count = std::size_t(width * height);
    std::vector<uchar> rgba(4 * count);
    for (std::size_t i = 0; i < count; ++i) {
        const uchar* p = pixels + 4 * i;
        uchar* q = rgba.data() + 4 * i;
        if (p[3] < opaqueThreshold) {
            std::memset(q, 0, 4);
            continue;
        }
        const std::size_t row = std::size_t(p[3]) * 256;
        q[0] = straight[row + p[0]];
        q[1] = straight[row + p[1]];
        q[2] = straight[row + p[2]];
        q[3] = 255;
    }

    std::unique_ptr<liq_attr, LiqDeleter> attr(liq_attr_create());
    if (!attr)
        return std::nullopt;
    std::unique_ptr<liq_image, LiqDeleter> image(
        liq_image_create_rgba(attr.get(), rgba.data(), int(width), int(height), 0));
    if (!image)
        return std::nullopt;
    liq_result* rawResult = nullptr;
    if (liq_image_quantize(image.get(), attr.get(), &rawResult) != LIQ_OK || !rawResult)
        return std::nullopt;
    std::unique_ptr<liq_result, LiqDeleter> result(rawResult);
    liq_set_dithering_level(result.get(), 1.0f);

    IndexedFrame frame;
    frame.width = width;
    frame.height = height;
    frame.indices.resize(count);
    if (liq_write_remapped_image(result.get(), image.get(), frame.indices.data(), count) != LIQ_OK)
        return std::nullopt;
    // Read after remapping: libimagequant refines the palette while it remaps.
    const liq_palette* palette = liq_get_palette(result.get());
    if (!palette || palette->count == 0 || palette->count > maxEntries)
        return std::nullopt;

    // GIF has one transparent index: every entry libimagequant made for transparent pixels maps to the first.
    std::vector<uchar> remap(palette->count);
    for (unsigned i = 0; i < palette->count; ++i) {
        const liq_color& c = palette->entries[i];
        remap[i] = uchar(i);
        if (c.a < opaqueThreshold) {
            if (!frame.transparentIndex)
                frame.transparentIndex = qint64(i);
            remap[i] = uchar(*frame.transparentIndex);
        }
        frame.colors.push_back(c.a < opaqueThreshold ? RGB8{} : RGB8{c.r, c.g, c.b});
    }
    bool usesTransparency = false;
    for (uchar& index : frame.indices) {
        index = remap[index];
        usesTransparency = usesTransparency || (frame.transparentIndex && index == *frame.transparentIndex);
    }
    if (!usesTransparency)
        frame.transparentIndex.reset();
    return frame;
}

} // namespace

std::optional<IndexedFrame> GIFColorReduction::reduce(const QImage& image)
{
    const std::optional<QImage> normal = PixelConventions::normalized(image);
    if (!normal)
        return std::nullopt;
    const std::optional<QByteArray> bytes = PixelConventions::pixelBytes(*normal);
    if (!bytes)
        return std::nullopt;
    const auto* pixels = reinterpret_cast<const uchar*>(bytes->constData());
    if (auto exact = exactColors(pixels, normal->width(), normal->height()))
        return exact;
    return quantizedColors(pixels, normal->width(), normal->height());
}

} // namespace plenoria
