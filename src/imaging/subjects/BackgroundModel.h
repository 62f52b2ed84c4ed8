#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <vector>

namespace plenoria {

// The background of an opaque image as the colours of the main ground its border shows (one flat
// colour with its noise, or one gradient), and how far any colour is from the nearest of them. Other
// colours on the border, such as a subject cut off by the edge, do not count as background.
class BackgroundModel {
public:
    // Distances are measured on a grid of 64 levels per channel: 4 byte values per step, summed over
    // the three channels (0 … maxDistance).
    static constexpr int levels = 64;
    static constexpr int maxDistance = 3 * (levels - 1);

    // The model of convention bytes of width × height (both at least 1).
    [[nodiscard]] static BackgroundModel fromBorder(const QByteArray& bytes, qint64 width, qint64 height);

    // False when the border has no opaque pixel to learn from.
    [[nodiscard]] bool isEmpty() const { return m_empty; }

    // For every pixel its distance to the nearest background colour; pixels under half opacity count
    // as background (0).
    [[nodiscard]] std::vector<quint8> distances(const QByteArray& bytes) const;

private:
    BackgroundModel() = default;

    [[nodiscard]] static int cellOf(int red, int green, int blue)
    {
        return ((red >> 2) * levels + (green >> 2)) * levels + (blue >> 2);
    }
    void spreadDistances(const std::vector<bool>& seededLines);

    bool m_empty = true;
    std::vector<quint8> m_table; // levels³ distances, indexed by cellOf
};

} // namespace plenoria
