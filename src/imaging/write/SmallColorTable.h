#pragma once

#include <QtGlobal>
#include <array>
#include <vector>

namespace plenoria {

// Up to 256 distinct 32-bit colours, each numbered in the order it was first added: a palette
// being found, then looked up pixel by pixel. Open addressing over four times as many slots keeps
// a lookup to a probe or two.
class SmallColorTable {
public:
    static constexpr int capacity = 256;

    SmallColorTable();

    // The colour's number, adding it when it is new; -1 when it is new and the table is full.
    int add(quint32 color);
    // The colour's number; -1 when it was never added.
    int find(quint32 color) const;
    // The colours in the order of their numbers.
    const std::vector<quint32>& colors() const { return m_colors; }

private:
    static constexpr int slotBits = 10;
    static constexpr int slotCount = 1 << slotBits;
    static int slotOf(quint32 color) { return int((color * 2654435761u) >> (32 - slotBits)); }

    std::array<quint32, slotCount> m_keys{};
    std::array<qint16, slotCount> m_numbers;
    std::vector<quint32> m_colors;
};

} // namespace plenoria
