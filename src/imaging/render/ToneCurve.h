#pragma once

#include <QPointF>
#include <algorithm>
#include <array>
#include <vector>

namespace plenoria {

// A smooth monotone curve through control points with increasing x (a monotone cubic Hermite spline,
// so it never overshoots between points). Sampled into a table once; evaluating is a lookup.
class ToneCurve {
public:
    explicit ToneCurve(const std::vector<QPointF>& points);

    // The curve at x; beyond the first and last point it continues along the end tangents.
    float at(float x) const
    {
        if (x <= m_firstX)
            return m_table[0] + (x - m_firstX) * m_startSlope;
        if (x >= m_lastX)
            return m_table[samples] + (x - m_lastX) * m_endSlope;
        const float position = (x - m_firstX) * m_scale;
        const int i = std::min(int(position), samples - 1);
        const float f = position - float(i);
        return m_table[size_t(i)] + (m_table[size_t(i) + 1] - m_table[size_t(i)]) * f;
    }

private:
    static constexpr int samples = 1024;
    std::array<float, samples + 1> m_table{};
    float m_firstX = 0;
    float m_lastX = 1;
    float m_startSlope = 1;
    float m_endSlope = 1;
    float m_scale = samples; // table positions per unit of x

    double evaluate(const std::vector<QPointF>& points, const std::vector<double>& tangents, double x) const;
};

} // namespace plenoria
