#include "imaging/subjects/SubjectDetection.h"

#include <array>

namespace plenoria {

SubjectDetection::SubjectDetection(
    qint64 width, qint64 height, int instanceCount, std::vector<quint8> labels, std::vector<quint8> coverage)
    : m_width(width)
    , m_height(height)
    , m_instanceCount(instanceCount)
    , m_labels(std::move(labels))
    , m_coverage(std::move(coverage))
{ }

std::set<qint64> SubjectDetection::allInstances() const
{
    std::set<qint64> all;
    for (int number = 1; number <= m_instanceCount; ++number)
        all.insert(number);
    return all;
}

QByteArray SubjectDetection::maskedPixels(const QByteArray& bytes, const std::set<qint64>& chosen) const
{
    const qint64 count = m_width * m_height;
    if (bytes.size() != 4 * count || qint64(m_labels.size()) != count)
        return {};
    std::array<bool, 256> keep{};
    for (qint64 number : chosen) {
        if (number >= 1 && number <= m_instanceCount)
            keep[size_t(number)] = true;
    }
    QByteArray masked(bytes.size(), '\0');
    const uchar* in = reinterpret_cast<const uchar*>(bytes.constData());
    uchar* out = reinterpret_cast<uchar*>(masked.data());
    for (qint64 i = 0; i < count; ++i) {
        if (!keep[m_labels[size_t(i)]])
            continue;
        const uint coverage = m_coverage[size_t(i)];
        const uchar* p = in + 4 * i;
        uchar* q = out + 4 * i;
        if (coverage == 255) {
            q[0] = p[0], q[1] = p[1], q[2] = p[2], q[3] = p[3];
            continue;
        }
        // Scaling every premultiplied channel alike keeps the colour and lowers only the opacity.
        for (int c = 0; c < 4; ++c)
            q[c] = uchar((p[c] * coverage + 127) / 255);
    }
    return masked;
}

} // namespace plenoria
