#pragma once

#include <QString>
#include <array>
#include <optional>

namespace plenoria {

// The window appearance: `system` follows the desktop. Stored as its raw string.
enum class AppTheme { system, light, dark };

inline constexpr std::array<AppTheme, 3> allAppThemes{AppTheme::system, AppTheme::light, AppTheme::dark};

QString rawValue(AppTheme theme);
// Only an exact match of a raw string gives a theme.
std::optional<AppTheme> appThemeFromRawValue(const QString& raw);

} // namespace plenoria
