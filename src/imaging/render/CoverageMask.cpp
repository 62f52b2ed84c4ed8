#include "imaging/render/CoverageMask.h"

#include <algorithm>
#include <cmath>

namespace plenoria {

namespace {

// Curves are flattened at this many times the pixel scale, so the facets stay well under a pixel.
constexpr double flatteningScale = 4;

} // namespace

CoverageMask::CoverageMask(const QPainterPath& path, const QTransform& transform, QSize canvas)
{
    const QRectF box = transform.map(path).controlPointRect();
    if (!std::isfinite(box.left()) || !std::isfinite(box.right()) || !std::isfinite(box.top())
        || !std::isfinite(box.bottom()))
        return;
    // Clamped before any conversion to int: a path far off the canvas must not overflow.
    const auto clampTo = [](double value, int extent) { return std::clamp(value, -1.0, double(extent) + 1); };
    const QRect pixels(QPoint(int(std::floor(clampTo(box.left(), canvas.width()))),
                           int(std::floor(clampTo(box.top(), canvas.height())))),
        QPoint(int(std::ceil(clampTo(box.right(), canvas.width()))),
            int(std::ceil(clampTo(box.bottom(), canvas.height())))));
    m_bounds = pixels.intersected(QRect(QPoint(0, 0), canvas));
    if (m_bounds.isEmpty())
        return;
    const size_t rowLength = size_t(m_bounds.width()) + 2;
    m_accumulation.assign(rowLength * size_t(m_bounds.height()), 0.0f);

    QTransform fine = transform;
    fine *= QTransform::fromScale(flatteningScale, flatteningScale);
    const QPointF origin = m_bounds.topLeft();
    for (const QPolygonF& polygon : path.toSubpathPolygons(fine)) {
        for (qsizetype i = 0; i + 1 < polygon.size(); ++i)
            addClippedLine(polygon[i] / flatteningScale - origin, polygon[i + 1] / flatteningScale - origin);
        // Every contour is closed for filling, whether or not the path closed it.
        if (polygon.size() > 2 && polygon.front() != polygon.back())
            addClippedLine(
                polygon.back() / flatteningScale - origin, polygon.front() / flatteningScale - origin);
    }
    accumulate();
}

// Parts of an edge left of the mask still cover every pixel to their right: they are moved onto
// the left edge. Parts right of it cover nothing visible and go to the spare column.
void CoverageMask::addClippedLine(QPointF from, QPointF to)
{
    const double right = m_bounds.width();
    QPointF points[4] = {from, to, {}, {}};
    int count = 2;
    // Split at x = 0 and x = right where the edge crosses them, so each piece lies on one side.
    for (double edge : {0.0, right}) {
        for (int i = 0; i + 1 < count; ++i) {
            const QPointF a = points[i];
            const QPointF b = points[i + 1];
            if ((a.x() < edge && b.x() > edge) || (a.x() > edge && b.x() < edge)) {
                const double t = (edge - a.x()) / (b.x() - a.x());
                std::copy_backward(points + i + 1, points + count, points + count + 1);
                points[i + 1] = QPointF(edge, a.y() + t * (b.y() - a.y()));
                ++count;
                break;
            }
        }
    }
    for (int i = 0; i + 1 < count; ++i) {
        QPointF a = points[i];
        QPointF b = points[i + 1];
        a.setX(std::clamp(a.x(), 0.0, right));
        b.setX(std::clamp(b.x(), 0.0, right));
        addLine(a, b);
    }
}

// Deposits the signed area the edge covers, row by row: the share inside each touched cell, and
// the rest into the next cell, so that a running sum along the row gives the winding coverage.
void CoverageMask::addLine(QPointF from, QPointF to)
{
    if (from.y() == to.y())
        return;
    const double direction = from.y() < to.y() ? 1.0 : -1.0;
    const QPointF top = from.y() < to.y() ? from : to;
    const QPointF bottom = from.y() < to.y() ? to : from;
    const double dxdy = (bottom.x() - top.x()) / (bottom.y() - top.y());
    const int rows = m_bounds.height();
    const size_t rowLength = size_t(m_bounds.width()) + 2;
    const int firstRow = std::max(0, int(std::floor(top.y())));
    const int endRow = std::min(rows, int(std::ceil(bottom.y())));
    double x = top.x() + (std::max(top.y(), double(firstRow)) - top.y()) * dxdy;
    for (int y = firstRow; y < endRow; ++y) {
        float* row = m_accumulation.data() + size_t(y) * rowLength;
        const double dy = std::min(double(y + 1), bottom.y()) - std::max(double(y), top.y());
        const double xNext = x + dxdy * dy;
        const double d = dy * direction;
        // Rounding can carry an edge a hair past the clipped range; the cells must stay in the row.
        const double right = m_bounds.width();
        const double x0 = std::clamp(std::min(x, xNext), 0.0, right);
        const double x1 = std::clamp(std::max(x, xNext), 0.0, right);
        const double x0Floor = std::floor(x0);
        const int x0i = int(x0Floor);
        const double x1Ceil = std::ceil(x1);
        const int x1i = int(x1Ceil);
        if (x1i <= x0i + 1) {
            // Within one cell: the part right of the edge's mean x belongs to this cell.
            const double xm = 0.5 * (x0 + x1) - x0Floor;
            row[x0i] += float(d - d * xm);
            row[x0i + 1] += float(d * xm);
        } else {
            const double s = 1.0 / (x1 - x0);
            const double x0f = x0 - x0Floor;
            const double a0 = 0.5 * s * (1.0 - x0f) * (1.0 - x0f);
            const double x1f = x1 - x1Ceil + 1.0;
            const double am = 0.5 * s * x1f * x1f;
            row[x0i] += float(d * a0);
            if (x1i == x0i + 2) {
                row[x0i + 1] += float(d * (1.0 - a0 - am));
            } else {
                const double a1 = s * (1.5 - x0f);
                row[x0i + 1] += float(d * (a1 - a0));
                for (int xi = x0i + 2; xi < x1i - 1; ++xi)
                    row[xi] += float(d * s);
                const double a2 = a1 + (x1i - x0i - 3) * s;
                row[x1i - 1] += float(d * (1.0 - a2 - am));
            }
            row[x1i] += float(d * am);
        }
        x = xNext;
    }
}

void CoverageMask::accumulate()
{
    const int width = m_bounds.width();
    const size_t rowLength = size_t(width) + 2;
    m_coverage.resize(size_t(width) * size_t(m_bounds.height()));
    for (int y = 0; y < m_bounds.height(); ++y) {
        const float* cells = m_accumulation.data() + size_t(y) * rowLength;
        float* out = m_coverage.data() + size_t(y) * size_t(width);
        float sum = 0;
        for (int x = 0; x < width; ++x) {
            sum += cells[x];
            out[x] = std::min(std::abs(sum), 1.0f);
        }
    }
    m_accumulation = {};
}

} // namespace plenoria
