#pragma once

#include <QPointF>
#include <array>
#include <vector>

namespace plenoria {

// A smooth monotone curve through control points with increasing x (a monotone cubic Hermite spline,
// so it never overshoots between points). Sampled into a table once; evaluating is a lookup.
class ToneCurve {
public:
    explicit ToneCurve(const std::vector<QPointF>& points);

    // The curve at x; beyond the first and last point it continues along the end tangents.
    float at(float x) const;

private:
    static constexpr int samples = 1024;
    std::array<float, samples + 1> m_table{};
    float m_firstX = 0;
    float m_lastX = 1;
    float m_startSlope = 1;
    float m_endSlope = 1;

    double evaluate(const std::vector<QPointF>& points, const std::vector<double>& tangents, double x) const;
};

} // namespace plenoria
