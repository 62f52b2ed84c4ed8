#include "app/HelpPage.h"

namespace plenoria {

QString rawValue(HelpPage page)
{
    switch (page) {
    case HelpPage::welcome:
        return QStringLiteral("welcome");
    case HelpPage::collection:
        return QStringLiteral("collection");
    case HelpPage::restoration:
        return QStringLiteral("restoration");
    case HelpPage::settings:
        return QStringLiteral("settings");
    }
    return {};
}

std::optional<HelpPage> helpPageFromRawValue(const QString& raw)
{
    for (const HelpPage page : allHelpPages) {
        if (rawValue(page) == raw)
            return page;
    }
    return std::nullopt;
}

} // namespace plenoria
