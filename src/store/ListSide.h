#pragma once

#include <QString>
#include <array>
#include <optional>

namespace plenoria {

// Which side of the main window the file list occupies. Stored as its raw string.
enum class ListSide { left, right };

inline constexpr std::array<ListSide, 2> allListSides{ListSide::left, ListSide::right};

QString rawValue(ListSide side);
// Only an exact match of a raw string gives a side.
std::optional<ListSide> listSideFromRawValue(const QString& raw);

} // namespace plenoria
