#include "imaging/read/FrameCompositor.h"

#include "imaging/read/ImageSourceCodec.h"

#include <cstring>

namespace plenoria {

namespace {

inline quint32 divide255(quint32 value)
{
    value += 128;
    return (value + (value >> 8)) >> 8;
}

// Premultiplied "over": the source plus what of the destination its alpha lets through.
void blendRowOver(uchar* destination, const uchar* source, int pixels)
{
    for (int i = 0; i < pixels; ++i, destination += 4, source += 4) {
        const quint32 alpha = source[3];
        if (alpha == 255) {
            std::memcpy(destination, source, 4);
        } else if (alpha != 0) {
            const quint32 keep = 255 - alpha;
            for (int c = 0; c < 4; ++c)
                destination[c] = uchar(source[c] + divide255(destination[c] * keep));
        }
    }
}

} // namespace

FrameCompositor::FrameCompositor(QImage canvas)
    : m_canvas(std::move(canvas))
{ }

std::optional<FrameCompositor> FrameCompositor::create(QSize canvas)
{
    std::optional<QImage> image = makeCanvas(canvas);
    if (!image)
        return std::nullopt;
    return FrameCompositor(std::move(*image));
}

void FrameCompositor::disposePrevious()
{
    if (m_pendingRect.isEmpty())
        return;
    if (m_pendingDisposal == Disposal::background) {
        for (int y = m_pendingRect.top(); y <= m_pendingRect.bottom(); ++y)
            std::memset(
                m_canvas.scanLine(y) + m_pendingRect.left() * 4, 0, size_t(m_pendingRect.width()) * 4);
    } else if (m_pendingDisposal == Disposal::previous && !m_saved.isNull()) {
        for (int y = 0; y < m_saved.height(); ++y)
            std::memcpy(m_canvas.scanLine(m_pendingRect.top() + y) + m_pendingRect.left() * 4,
                m_saved.constScanLine(y), size_t(m_saved.width()) * 4);
    }
    m_pendingDisposal = Disposal::none;
    m_pendingRect = {};
    m_saved = {};
}

QImage FrameCompositor::draw(const QImage& pixels, QPoint origin, Blend blend, Disposal disposal)
{
    disposePrevious();
    const QRect target = QRect(origin, pixels.size()).intersected(m_canvas.rect());
    if (!target.isEmpty()) {
        if (disposal == Disposal::previous)
            m_saved = m_canvas.copy(target);
        const int sourceX = target.left() - origin.x();
        const int sourceY = target.top() - origin.y();
        for (int y = 0; y < target.height(); ++y) {
            uchar* destination = m_canvas.scanLine(target.top() + y) + target.left() * 4;
            const uchar* source = pixels.constScanLine(sourceY + y) + sourceX * 4;
            if (blend == Blend::source)
                std::memcpy(destination, source, size_t(target.width()) * 4);
            else
                blendRowOver(destination, source, target.width());
        }
    }
    m_pendingDisposal = disposal;
    m_pendingRect = target;
    return m_canvas;
}

void FrameCompositor::skip()
{
    disposePrevious();
}

} // namespace plenoria
