#include "imaging/read/GifStructure.h"

#include "imaging/read/ImageSourceCodec.h"

#include <cstring>

namespace plenoria {

namespace {

class Walker {
public:
    explicit Walker(QByteArrayView data)
        : m_data(reinterpret_cast<const uchar*>(data.data()))
        , m_size(data.size())
    { }

    bool has(qint64 offset, qint64 count) const
    {
        return offset >= 0 && count >= 0 && offset + count <= m_size;
    }
    uchar byte(qint64 offset) const { return m_data[offset]; }
    int word(qint64 offset) const { return m_data[offset] | (m_data[offset + 1] << 8); }
    const uchar* at(qint64 offset) const { return m_data + offset; }

    // The offset after a chain of data sub-blocks, none when the chain runs past the end.
    std::optional<qint64> skipSubBlocks(qint64 offset) const
    {
        while (has(offset, 1)) {
            const qint64 length = m_data[offset];
            offset += 1 + length;
            if (length == 0)
                return offset;
        }
        return std::nullopt;
    }

private:
    const uchar* m_data;
    qint64 m_size;
};

qint64 colorTableBytes(uchar packed)
{
    return (packed & 0x80) ? 3LL << ((packed & 0x07) + 1) : 0;
}

// NETSCAPE2.0 (and its older twin ANIMEXTS1.0) carries the loop count in a sub-block starting with 1.
std::optional<qint64> applicationLoopCount(const Walker& walker, qint64 offset)
{
    if (!walker.has(offset, 12) || walker.byte(offset) != 11)
        return std::nullopt;
    const char* id = reinterpret_cast<const char*>(walker.at(offset + 1));
    if (std::memcmp(id, "NETSCAPE2.0", 11) != 0 && std::memcmp(id, "ANIMEXTS1.0", 11) != 0)
        return std::nullopt;
    qint64 block = offset + 12;
    while (walker.has(block, 1) && walker.byte(block) != 0) {
        const qint64 length = walker.byte(block);
        if (length >= 3 && walker.has(block, 4) && walker.byte(block + 1) == 1)
            return walker.word(block + 2);
        block += 1 + length;
    }
    return std::nullopt;
}

} // namespace

QSize GifStructure::canvas() const
{
    if (!screen.isEmpty() || frames.empty())
        return screen;
    const Frame& first = frames.front();
    return QSize(first.left + first.width, first.top + first.height);
}

std::optional<GifStructure> GifStructure::parse(QByteArrayView data)
{
    const Walker walker(data);
    if (!walker.has(0, 13)
        || (std::memcmp(data.data(), "GIF87a", 6) != 0 && std::memcmp(data.data(), "GIF89a", 6) != 0))
        return std::nullopt;

    GifStructure gif;
    gif.screen = QSize(walker.word(6), walker.word(8));
    const uchar screenPacked = walker.byte(10);
    gif.hasGlobalColorTable = (screenPacked & 0x80) != 0;

    std::optional<Frame> control; // the Graphic Control Extension waiting for its image
    qint64 frameLimit = 1; // known once the canvas is: the screen, or the first image's extent
    qint64 offset = 13 + colorTableBytes(screenPacked);
    while (walker.has(offset, 1)) {
        const uchar introducer = walker.byte(offset);
        if (introducer == 0x21) {
            if (!walker.has(offset, 2))
                break;
            const uchar label = walker.byte(offset + 1);
            const qint64 body = offset + 2;
            if (label == 0xF9 && walker.has(body, 5) && walker.byte(body) >= 4) {
                Frame pending;
                pending.hasControl = true;
                const uchar packed = walker.byte(body + 1);
                pending.disposal = quint8((packed >> 2) & 0x07);
                pending.delayCentiseconds = quint16(walker.word(body + 2));
                pending.hasTransparency = (packed & 0x01) != 0;
                pending.transparent = walker.byte(body + 4);
                control = pending;
            } else if (label == 0xFF) {
                if (const auto loops = applicationLoopCount(walker, body); loops && !gif.loopCount)
                    gif.loopCount = loops;
            }
            const std::optional<qint64> next = walker.skipSubBlocks(body);
            if (!next)
                break;
            offset = *next;
        } else if (introducer == 0x2C) {
            if (!walker.has(offset, 10) || qint64(gif.frames.size()) == frameLimit)
                break;
            Frame frame = control.value_or(Frame{});
            control.reset();
            frame.descriptorOffset = offset + 1;
            frame.left = quint16(walker.word(offset + 1));
            frame.top = quint16(walker.word(offset + 3));
            frame.width = quint16(walker.word(offset + 5));
            frame.height = quint16(walker.word(offset + 7));
            gif.frames.push_back(frame);
            if (gif.frames.size() == 1)
                frameLimit = maxDecodableFrames(gif.canvas()) + 1;
            // Past the local colour table and the LZW code size byte lie the image's data sub-blocks.
            const std::optional<qint64> next
                = walker.skipSubBlocks(offset + 10 + colorTableBytes(walker.byte(offset + 9)) + 1);
            if (!next)
                break;
            offset = *next;
        } else {
            break; // the trailer, or bytes that are no block: nothing after them is trusted
        }
    }
    return gif;
}

} // namespace plenoria
