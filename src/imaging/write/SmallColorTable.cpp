#include "imaging/write/SmallColorTable.h"

namespace plenoria {

SmallColorTable::SmallColorTable()
{
    m_numbers.fill(-1);
    m_colors.reserve(capacity);
}

int SmallColorTable::add(quint32 color)
{
    for (int slot = slotOf(color);; slot = (slot + 1) & (slotCount - 1)) {
        if (m_numbers[size_t(slot)] < 0) {
            if (int(m_colors.size()) == capacity)
                return -1;
            m_keys[size_t(slot)] = color;
            m_numbers[size_t(slot)] = qint16(m_colors.size());
            m_colors.push_back(color);
            return m_numbers[size_t(slot)];
        }
        if (m_keys[size_t(slot)] == color)
            return m_numbers[size_t(slot)];
    }
}

int SmallColorTable::find(quint32 color) const
{
    for (int slot = slotOf(color);; slot = (slot + 1) & (slotCount - 1)) {
        if (m_numbers[size_t(slot)] < 0)
            return -1;
        if (m_keys[size_t(slot)] == color)
            return m_numbers[size_t(slot)];
    }
}

} // namespace plenoria
