#include "canvas/CropOverlay.h"

#include "canvas/CanvasGeometry.h"
#include "model/Rounding.h"

#include <QLineF>
#include <algorithm>
#include <cmath>

namespace plenoria {

namespace {

// Far beyond any image, and well inside what a 64-bit integer holds.
constexpr double pixelLimit = 1e12;

qint64 roundedPixel(double value)
{
    return roundHalfAway(std::clamp(value, -pixelLimit, pixelLimit));
}

} // namespace

void CropOverlay::setGeometry(QSizeF imageSize, const QRectF& displayRect)
{
    m_imageSize = imageSize;
    m_displayRect = displayRect;
}

double CropOverlay::pointsPerPixel() const
{
    return displayScale(m_imageSize, m_displayRect);
}

bool CropOverlay::isDraggable() const
{
    const double scale = pointsPerPixel();
    return std::isfinite(scale) && scale > 0;
}

QRectF CropOverlay::viewRect() const
{
    const CropSpec crop = spec();
    const double s = pointsPerPixel();
    return QRectF(m_displayRect.left() + double(crop.x) * s, m_displayRect.top() + double(crop.y) * s,
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
        if (QLineF(cornerPoint(*corner), location).length() <= handleHitDiameter / 2)
            return Grip{*corner};
    }
    if (viewRect().contains(location))
        return Grip{};
    return std::nullopt;
}

bool CropOverlay::press(QPointF location)
{
    release();
    if (!isDraggable())
        return false;
    m_grip = hit(location);
    if (!m_grip)
        return false;
    drag(location);
    return true;
}

void CropOverlay::drag(QPointF location)
{
    if (!m_grip || !isDraggable())
        return;
    if (m_grip->corner)
        dragCorner(*m_grip->corner, location);
    else
        moveRect(location);
}

void CropOverlay::release()
{
    reset();
}

void CropOverlay::reset()
{
    m_grip.reset();
    m_anchor.reset();
    m_grabOffset.reset();
}

void CropOverlay::moveRect(QPointF location)
{
    if (!isDraggable())
        return;
    const QPointF p = imagePoint(location, m_displayRect, pointsPerPixel());
    const CropSpec current = spec();
    if (!m_grabOffset)
        m_grabOffset = QSizeF(p.x() - double(current.x), p.y() - double(current.y));
    const CropSpec moved{roundedPixel(p.x() - m_grabOffset->width()),
        roundedPixel(p.y() - m_grabOffset->height()), current.width, current.height};
    write(moved.clamped(m_imageSize));
}

void CropOverlay::dragCorner(Corner corner, QPointF location)
{
    if (!isDraggable())
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
    const QPointF p = imagePoint(location, m_displayRect, pointsPerPixel());
    const double px = std::min(std::max(p.x(), 0.0), m_imageSize.width());
    const double py = std::min(std::max(p.y(), 0.0), m_imageSize.height());
    const qint64 x0 = roundedPixel(std::min(px, m_anchor->x()));
    const qint64 x1 = roundedPixel(std::max(px, m_anchor->x()));
    const qint64 y0 = roundedPixel(std::min(py, m_anchor->y()));
    const qint64 y1 = roundedPixel(std::max(py, m_anchor->y()));
    // Spanned between the anchor and the pointer: past the opposite corner it turns over, and on it
    // it keeps one pixel.
    const CropSpec spanned{x0, y0, std::max<qint64>(x1 - x0, 1), std::max<qint64>(y1 - y0, 1)};
    write(spanned.clamped(m_imageSize));
}

void CropOverlay::write(const CropSpec& crop) const
{
    // A copy: the write re-renders the bench, which hands this overlay a new binding.
    const Binding<CropSpec> spec = m_spec;
    spec.set(crop);
}

} // namespace plenoria
