#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <set>
#include <vector>

namespace plenoria {

// The subjects found in one width × height image: per pixel the number of the instance it belongs to
// (0 for none) and how much of it the instance covers (255 inside, less along the one-pixel soft edge).
// Immutable once made; shared between the detection cache and its callers.
class SubjectDetection {
public:
    // The most instances one image is split into; smaller subjects beyond them are left out.
    static constexpr int maxInstances = 8;

    SubjectDetection(qint64 width, qint64 height, int instanceCount, std::vector<quint8> labels,
        std::vector<quint8> coverage);

    [[nodiscard]] qint64 width() const { return m_width; }
    [[nodiscard]] qint64 height() const { return m_height; }
    [[nodiscard]] int instanceCount() const { return m_instanceCount; }

    // 1 … instanceCount, ascending; instance 1 is the largest.
    [[nodiscard]] std::set<qint64> allInstances() const;

    // Convention bytes of the analysed image with only the `chosen` instances kept (edge pixels scaled
    // by their coverage) and every other pixel (0, 0, 0, 0); empty when `bytes` is not width × height.
    [[nodiscard]] QByteArray maskedPixels(const QByteArray& bytes, const std::set<qint64>& chosen) const;

private:
    qint64 m_width;
    qint64 m_height;
    int m_instanceCount;
    std::vector<quint8> m_labels;
    std::vector<quint8> m_coverage;
};

} // namespace plenoria
