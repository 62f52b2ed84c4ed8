#include "imaging/read/GifCodec.h"

#include "imaging/model/Bitmap.h"
#include "imaging/read/FrameCompositor.h"

#include <gif_lib.h>

#include <array>
#include <cstring>
#include <memory>

namespace plenoria {

namespace {

struct ByteReader {
    const uchar* data = nullptr;
    qint64 size = 0;
    qint64 position = 0;
};

int readBytes(GifFileType* gif, GifByteType* buffer, int length)
{
    auto* reader = static_cast<ByteReader*>(gif->UserData);
    const qint64 available = std::clamp<qint64>(reader->size - reader->position, 0, length);
    std::memcpy(buffer, reader->data + reader->position, size_t(available));
    reader->position += available;
    return int(available);
}

struct GifCloser {
    void operator()(GifFileType* gif) const
    {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};

FrameCompositor::Disposal disposalOf(int method)
{
    switch (method) {
    case 2:
        return FrameCompositor::Disposal::background;
    case 3:
        return FrameCompositor::Disposal::previous;
    default:
        return FrameCompositor::Disposal::none; // 0, 1 and the undefined 4–7
    }
}

// Colour index → premultiplied RGBA bytes. Indices beyond the table are drawn black, as most readers do.
std::array<quint32, 256> colorLookup(const ColorMapObject& map, std::optional<int> transparentIndex)
{
    std::array<quint32, 256> table{};
    for (int i = 0; i < 256; ++i) {
        uchar rgba[4] = {0, 0, 0, 255};
        if (i < map.ColorCount) {
            rgba[0] = map.Colors[i].Red;
            rgba[1] = map.Colors[i].Green;
            rgba[2] = map.Colors[i].Blue;
        }
        std::memcpy(&table[size_t(i)], rgba, 4);
    }
    if (transparentIndex && *transparentIndex >= 0 && *transparentIndex < 256)
        table[size_t(*transparentIndex)] = 0;
    return table;
}

// Interlaced images store rows in four passes; this gives the image row of the n-th stored row.
int storedRowToImageRow(int stored, int height)
{
    static constexpr int starts[4] = {0, 4, 2, 1};
    static constexpr int steps[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        const int rows = height > starts[pass] ? (height - starts[pass] + steps[pass] - 1) / steps[pass] : 0;
        if (stored < rows)
            return starts[pass] + stored * steps[pass];
        stored -= rows;
    }
    return -1;
}

} // namespace

GifCodec::GifCodec(const QByteArray& data, GifStructure structure)
    : Codec(data)
    , m_structure(std::move(structure))
    , m_canvas(m_structure.canvas())
{ }

std::shared_ptr<const GifCodec> GifCodec::create(const QByteArray& data)
{
    std::optional<GifStructure> structure = GifStructure::parse(data);
    if (!structure)
        return nullptr;
    return std::make_shared<const GifCodec>(data, std::move(*structure));
}

FrameProperties GifCodec::frameProperties(qint64 index) const
{
    const GifStructure::Frame& frame = m_structure.frames[size_t(index)];
    FrameProperties properties;
    if (!m_canvas.isEmpty())
        properties.pixelSize = m_canvas;
    properties.gif = DelayProperties{};
    if (frame.hasControl) {
        const double seconds = frame.delayCentiseconds / 100.0;
        properties.gif = DelayProperties{seconds, seconds};
    }
    return properties;
}

std::optional<QImage> GifCodec::framePixels(const GifStructure::Frame& frame) const
{
    const QRect rect = frame.rect();
    if (rect.isEmpty())
        return QImage();
    if (!withinFrameLimit(rect.width(), rect.height()))
        return std::nullopt;

    ByteReader reader{reinterpret_cast<const uchar*>(m_data.constData()), m_data.size(), 0};
    int error = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&reader, readBytes, &error));
    if (!gif)
        return std::nullopt;
    reader.position = frame.descriptorOffset;
    if (DGifGetImageDesc(gif.get()) != GIF_OK)
        return std::nullopt;
    const GifImageDesc& desc = gif->Image;
    const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
    if (!map || desc.Width != rect.width() || desc.Height != rect.height())
        return std::nullopt;

    const std::array<quint32, 256> colors = colorLookup(*map, frame.transparentIndex());
    const QRect visible = rect.intersected(QRect(QPoint(0, 0), m_canvas));
    QImage pixels(visible.size(), pixelFormat);
    if (!visible.isEmpty() && pixels.isNull())
        return std::nullopt;
    std::vector<GifPixelType> line(size_t(desc.Width));
    for (int stored = 0; stored < desc.Height; ++stored) {
        if (DGifGetLine(gif.get(), line.data(), desc.Width) != GIF_OK)
            return std::nullopt;
        const int y = rect.top() + (desc.Interlace ? storedRowToImageRow(stored, desc.Height) : stored);
        if (y < visible.top() || y > visible.bottom())
            continue;
        auto* out = reinterpret_cast<quint32*>(pixels.scanLine(y - visible.top()));
        const GifPixelType* in = line.data() + (visible.left() - rect.left());
        for (int x = 0; x < visible.width(); ++x)
            out[x] = colors[in[x]];
    }
    return pixels;
}

void GifCodec::decode(qint64 last, const FrameSink& sink) const
{
    last = std::min(last, frameCount() - 1);
    std::optional<FrameCompositor> compositor = FrameCompositor::create(m_canvas);
    for (qint64 index = 0; index <= last; ++index) {
        const GifStructure::Frame& frame = m_structure.frames[size_t(index)];
        std::optional<QImage> pixels = compositor ? framePixels(frame) : std::nullopt;
        std::optional<QImage> shown;
        if (pixels) {
            const QPoint origin = frame.rect().intersected(QRect(QPoint(0, 0), m_canvas)).topLeft();
            shown
                = compositor->draw(*pixels, origin, FrameCompositor::Blend::over, disposalOf(frame.disposal));
        } else if (compositor) {
            compositor->skip();
        }
        if (!sink(index, std::move(shown)))
            return;
    }
}

} // namespace plenoria
