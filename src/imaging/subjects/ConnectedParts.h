#pragma once

#include <QtGlobal>
#include <vector>

namespace plenoria {

// The connected parts of a binary mask of width × height (one byte per pixel, non-zero inside),
// found run by run: each row's runs join the touching runs of the row above. Parts are numbered
// 1, 2, … in the reading order of their first pixel.
class ConnectedParts {
public:
    // Which pixels are labelled: the inside ones, with diagonal neighbours joining parts, or the
    // outside ones, joined only through their four side neighbours (the dual connectivity, so that a
    // diagonal chain of inside pixels separates outside regions).
    enum class Side { inside, outside };

    [[nodiscard]] static ConnectedParts of(
        const std::vector<quint8>& mask, qint64 width, qint64 height, Side side);

    [[nodiscard]] int count() const { return int(m_areas.size()) - 1; }
    [[nodiscard]] qint64 area(int part) const { return m_areas[size_t(part)]; }
    [[nodiscard]] bool touchesBorder(int part) const { return m_touchesBorder[size_t(part)]; }

    // Writes valueOfPart[part] over every pixel of each part into `out` (width × height, row-major);
    // pixels outside every part are left as they are.
    void paint(std::vector<quint8>& out, const std::vector<quint8>& valueOfPart) const;

private:
    struct Run {
        qint64 y;
        qint64 begin; // first pixel
        qint64 end; // one past the last pixel
        qint32 part;
    };

    qint64 m_width = 0;
    std::vector<Run> m_runs;
    std::vector<qint64> m_areas{0};
    std::vector<bool> m_touchesBorder{false};
};

} // namespace plenoria
