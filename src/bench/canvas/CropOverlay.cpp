#include "bench/canvas/CropOverlay.h"

#include "imaging/model/Rounding.h"

#include <algorithm>

namespace plenoria {

namespace {

// Far beyond any image, and well inside what a 64-bit integer holds.
constexpr double pixelLimit = 1e12;

qint64 roundedPixel(double value)
{
    return roundHalfAway(std::clamp(value, -pixelLimit, pixelLimit));
}

} // namespace

QRectF CropOverlay::viewRect() const
{
    const CropSpec crop = spec();
    const double s = pointsPerPixel();
    return QRectF(displayRect().left() + double(crop.x) * s, displayRect().top() + double(crop.y) * s,
        double(crop.width) * s, double(crop.height) * s);
}

QPointF CropOverlay::cornerPoint(Corner corner) const
{
    const QRectF rect = viewRect();
    switch (corner) {
    case Corner::topLeft:
        return rect.topLeft();
    case Corner::topRight:
        return rect.topRight();
    case Corner::bottomLeft:
        return rect.bottomLeft();
    case Corner::bottomRight:
        return rect.bottomRight();
    }
    return {};
}

std::optional<CropOverlay::Grip> CropOverlay::hit(QPointF location) const
{
    for (auto corner = allCorners.rbegin(); corner != allCorners.rend(); ++corner) {
        if (OverlayGrip<Grip>::onHandle(cornerPoint(*corner), location, handleHitDiameter))
            return Grip{*corner};
    }
    if (viewRect().contains(location))
        return Grip{};
    return std::nullopt;
}

bool CropOverlay::press(QPointF location)
{
    release();
    return m_grip.press(
        location, [this](QPointF at) { return hit(at); },
        [this](const Grip& grip, QPointF at) { step(grip, at); });
}

void CropOverlay::drag(QPointF location)
{
    m_grip.drag(location, [this](const Grip& grip, QPointF at) { step(grip, at); });
}

void CropOverlay::step(const Grip& grip, QPointF location)
{
    if (grip.corner)
        dragCorner(*grip.corner, location);
    else
        moveRect(location);
}

void CropOverlay::release()
{
    reset();
}

void CropOverlay::reset()
{
    m_grip.release();
    m_anchor.reset();
    m_grabOffset.reset();
}

void CropOverlay::moveRect(QPointF location)
{
    if (!m_grip.isDraggable())
        return;
    const QPointF p = m_grip.pixelAt(location);
    const CropSpec current = spec();
    if (!m_grabOffset)
        m_grabOffset = QSizeF(p.x() - double(current.x), p.y() - double(current.y));
    const CropSpec moved{roundedPixel(p.x() - m_grabOffset->width()),
        roundedPixel(p.y() - m_grabOffset->height()), current.width, current.height};
    write(moved.clamped(imageSize()));
}

void CropOverlay::dragCorner(Corner corner, QPointF location)
{
    if (!m_grip.isDraggable())
        return;
    if (!m_anchor) {
        const CropSpec crop = spec();
        const double left = double(crop.x);
        const double top = double(crop.y);
        const double right = double(crop.x + crop.width);
        const double bottom = double(crop.y + crop.height);
        switch (corner) {
        case Corner::topLeft:
            m_anchor = QPointF(right, bottom);
            break;
        case Corner::topRight:
            m_anchor = QPointF(left, bottom);
            break;
        case Corner::bottomLeft:
            m_anchor = QPointF(right, top);
            break;
        case Corner::bottomRight:
            m_anchor = QPointF(left, top);
            break;
        }
    }
    const QPointF p = m_grip.pixelAt(location);
    const double px = std::min(std::max(p.x(), 0.0), imageSize().width());
    const double py = std::min(std::max(p.y(), 0.0), imageSize().height());
    const qint64 x0 = roundedPixel(std::min(px, m_anchor->x()));
    const qint64 x1 = roundedPixel(std::max(px, m_anchor->x()));
    const qint64 y0 = roundedPixel(std::min(py, m_anchor->y()));
    const qint64 y1 = roundedPixel(std::max(py, m_anchor->y()));
    // Spanned between the anchor and the pointer: past the opposite corner it turns over, and on it
    // it keeps one pixel.
    const CropSpec spanned{x0, y0, std::max<qint64>(x1 - x0, 1), std::max<qint64>(y1 - y0, 1)};
    write(spanned.clamped(imageSize()));
}

void CropOverlay::write(const CropSpec& crop) const
{
    // A copy: the write re-renders the bench, which hands this overlay a new binding.
    const Binding<CropSpec> spec = m_spec;
    spec.set(crop);
}

} // namespace plenoria
