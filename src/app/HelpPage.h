#pragma once

#include <QString>
#include <array>
#include <optional>

namespace plenoria {

// The application's help pages; the raw value is the page's resource name (with ".html").
enum class HelpPage { welcome, collection, restoration, settings };

inline constexpr std::array<HelpPage, 4> allHelpPages{
    HelpPage::welcome, HelpPage::collection, HelpPage::restoration, HelpPage::settings};

QString rawValue(HelpPage page);
// Only an exact match of a raw value gives a page.
std::optional<HelpPage> helpPageFromRawValue(const QString& raw);

} // namespace plenoria
