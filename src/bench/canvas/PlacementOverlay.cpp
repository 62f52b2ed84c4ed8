#include "bench/canvas/PlacementOverlay.h"

#include <QLineF>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace plenoria {

namespace {

double radians(double degrees)
{
    return degrees * std::numbers::pi / 180;
}

} // namespace

void PlacementOverlay::setGeometry(QSizeF imageSize, const QRectF& displayRect, QSizeF boxSize)
{
    m_grip.setGeometry(imageSize, displayRect);
    m_boxSize = boxSize;
}

void PlacementOverlay::setBindings(
    Binding<QPointF> center, Binding<double> rotation, std::function<void(double)> onResize)
{
    m_center = std::move(center);
    m_rotation = std::move(rotation);
    m_onResize = std::move(onResize);
}

QPointF PlacementOverlay::viewCenter() const
{
    const QPointF center = m_center.get();
    const double s = pointsPerPixel();
    return QPointF(displayRect().left() + center.x() * s, displayRect().top() + center.y() * s);
}

QSizeF PlacementOverlay::viewBox() const
{
    const double s = pointsPerPixel();
    return QSizeF(std::max(minimumBox, m_boxSize.width() * s), std::max(minimumBox, m_boxSize.height() * s));
}

QPointF PlacementOverlay::handleCenter(Grip handle) const
{
    const QSizeF box = viewBox();
    const double theta = radians(rotation());
    const double hx = box.width() / 2;
    const double hy = handle == Grip::rotate ? -box.height() / 2 : box.height() / 2;
    return viewCenter()
        + QPointF(hx * std::cos(theta) - hy * std::sin(theta), hx * std::sin(theta) + hy * std::cos(theta));
}

std::optional<PlacementOverlay::Grip> PlacementOverlay::hit(QPointF location) const
{
    for (const Grip handle : {Grip::rotate, Grip::scale}) {
        if (OverlayGrip<Grip>::onHandle(handleCenter(handle), location, handleHitDiameter))
            return handle;
    }
    // Into the box's own frame: turned back about its centre.
    const QPointF offset = location - viewCenter();
    const double theta = radians(rotation());
    const double x = offset.x() * std::cos(theta) + offset.y() * std::sin(theta);
    const double y = -offset.x() * std::sin(theta) + offset.y() * std::cos(theta);
    const QSizeF box = viewBox();
    if (std::abs(x) <= box.width() / 2 && std::abs(y) <= box.height() / 2)
        return Grip::box;
    return std::nullopt;
}

bool PlacementOverlay::press(QPointF location)
{
    release();
    return m_grip.press(
        location, [this](QPointF at) { return hit(at); }, [this](Grip grip, QPointF at) { step(grip, at); });
}

void PlacementOverlay::drag(QPointF location)
{
    m_grip.drag(location, [this](Grip grip, QPointF at) { step(grip, at); });
}

void PlacementOverlay::step(Grip grip, QPointF location)
{
    switch (grip) {
    case Grip::box:
        move(location);
        break;
    case Grip::scale:
        scale(location);
        break;
    case Grip::rotate:
        rotate(location);
        break;
    }
}

void PlacementOverlay::release()
{
    reset();
}

void PlacementOverlay::reset()
{
    m_grip.release();
    m_grabOffset.reset();
    m_scaleAnchor.reset();
    m_rotateAnchor.reset();
}

void PlacementOverlay::move(QPointF location)
{
    if (!m_grip.isDraggable())
        return;
    const QPointF p = m_grip.pixelAt(location);
    const QPointF center = m_center.get();
    if (!m_grabOffset)
        m_grabOffset = QSizeF(p.x() - center.x(), p.y() - center.y());
    const double w = imageSize().width();
    const double h = imageSize().height();
    // Held within one image size beyond either edge, so the box can always be brought back.
    const QPointF moved(std::min(std::max(p.x() - m_grabOffset->width(), -w), 2 * w),
        std::min(std::max(p.y() - m_grabOffset->height(), -h), 2 * h));
    // Copies: the write re-renders the bench, which hands this overlay new bindings.
    const Binding<QPointF> binding = m_center;
    binding.set(moved);
}

void PlacementOverlay::scale(QPointF location)
{
    if (!m_grip.isDraggable())
        return;
    const QPointF p = m_grip.pixelAt(location);
    const double reach = QLineF(m_center.get(), p).length();
    if (!m_scaleAnchor)
        m_scaleAnchor.emplace(std::max(0.5, reach), std::max(1.0, m_boxSize.width()));
    const auto [startReach, startWidth] = *m_scaleAnchor;
    const std::function<void(double)> onResize = m_onResize;
    if (onResize)
        onResize(std::max(minimumWidth, reach * startWidth / startReach));
}

void PlacementOverlay::rotate(QPointF location)
{
    if (!m_grip.isDraggable())
        return;
    const QPointF p = m_grip.pixelAt(location);
    const QPointF center = m_center.get();
    // The y axis points down, so the angle grows clockwise.
    const double angle = std::atan2(p.y() - center.y(), p.x() - center.x()) * 180 / std::numbers::pi;
    if (!m_rotateAnchor)
        m_rotateAnchor.emplace(angle, rotation());
    const auto [startAngle, startRotation] = *m_rotateAnchor;
    const double turned = snappedRotation(angle - startAngle + startRotation);
    if (!std::isfinite(turned))
        return;
    const Binding<double> binding = m_rotation;
    binding.set(turned);
}

double PlacementOverlay::snappedRotation(double degrees)
{
    for (int k = -180; k <= 180; k += 15) {
        if (std::abs(degrees - k) < 3) {
            degrees = k;
            break;
        }
    }
    // Into [−180, 180) from any angle: the remainder keeps the sign of its first operand.
    double turned = std::fmod(degrees + 180, 360);
    if (turned < 0)
        turned += 360;
    if (turned >= 360)
        turned -= 360;
    return turned - 180;
}

} // namespace plenoria
