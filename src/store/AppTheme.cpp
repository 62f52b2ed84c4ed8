#include "store/AppTheme.h"

namespace plenoria {

QString rawValue(AppTheme theme)
{
    switch (theme) {
    case AppTheme::system:
        return QStringLiteral("system");
    case AppTheme::light:
        return QStringLiteral("light");
    case AppTheme::dark:
        return QStringLiteral("dark");
    }
    return QStringLiteral("system");
}

std::optional<AppTheme> appThemeFromRawValue(const QString& raw)
{
    for (AppTheme theme : allAppThemes) {
        if (rawValue(theme) == raw)
            return theme;
    }
    return std::nullopt;
}

} // namespace plenoria
