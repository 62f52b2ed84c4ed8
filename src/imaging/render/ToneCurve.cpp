#include "imaging/render/ToneCurve.h"

#include <algorithm>
#include <cmath>

namespace plenoria {

namespace {

// Fritsch–Carlson tangents: averaged secants, flattened at turning points and limited so each
// segment stays monotone.
std::vector<double> monotoneTangents(const std::vector<QPointF>& p)
{
    const size_t n = p.size();
    std::vector<double> secant(n - 1);
    for (size_t k = 0; k + 1 < n; ++k)
        secant[k] = (p[k + 1].y() - p[k].y()) / (p[k + 1].x() - p[k].x());
    std::vector<double> m(n);
    m[0] = secant[0];
    m[n - 1] = secant[n - 2];
    for (size_t k = 1; k + 1 < n; ++k)
        m[k] = secant[k - 1] * secant[k] <= 0 ? 0 : (secant[k - 1] + secant[k]) / 2;
    for (size_t k = 0; k + 1 < n; ++k) {
        if (secant[k] == 0) {
            m[k] = m[k + 1] = 0;
            continue;
        }
        const double alpha = m[k] / secant[k];
        const double beta = m[k + 1] / secant[k];
        const double length = alpha * alpha + beta * beta;
        if (length > 9) {
            const double tau = 3 / std::sqrt(length);
            m[k] = tau * alpha * secant[k];
            m[k + 1] = tau * beta * secant[k];
        }
    }
    return m;
}

} // namespace

ToneCurve::ToneCurve(const std::vector<QPointF>& points)
{
    if (points.size() < 2) {
        for (int i = 0; i <= samples; ++i)
            m_table[size_t(i)] = float(i) / samples;
        return;
    }
    const std::vector<double> tangents = monotoneTangents(points);
    m_firstX = float(points.front().x());
    m_lastX = float(points.back().x());
    m_startSlope = float(tangents.front());
    m_endSlope = float(tangents.back());
    m_scale = float(samples / (points.back().x() - points.front().x()));
    for (int i = 0; i <= samples; ++i) {
        const double x = m_firstX + (m_lastX - m_firstX) * double(i) / samples;
        m_table[size_t(i)] = float(evaluate(points, tangents, x));
    }
}

double ToneCurve::evaluate(
    const std::vector<QPointF>& points, const std::vector<double>& tangents, double x) const
{
    size_t k = 0;
    while (k + 2 < points.size() && x > points[k + 1].x())
        ++k;
    const double x0 = points[k].x();
    const double h = points[k + 1].x() - x0;
    const double t = std::clamp((x - x0) / h, 0.0, 1.0);
    const double t2 = t * t;
    const double t3 = t2 * t;
    return (2 * t3 - 3 * t2 + 1) * points[k].y() + (t3 - 2 * t2 + t) * h * tangents[k]
        + (-2 * t3 + 3 * t2) * points[k + 1].y() + (t3 - t2) * h * tangents[k + 1];
}

} // namespace plenoria
