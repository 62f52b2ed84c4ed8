#pragma once

#include "imaging/read/ImageItem.h"

#include <QString>
#include <optional>

namespace plenoria {

// The result of a rename. `message` is the user's sentence for failed, and for renamed the toast when
// the rename went through but something about it needs saying (empty otherwise).
struct [[nodiscard]] RenameOutcome {
    enum class Kind { renamed, failed, unchanged };

    Kind kind = Kind::unchanged;
    // renamed: the item read afresh from the new name; none when it no longer reads as an image.
    std::optional<ImageItem> newItem;
    QString message;

    static RenameOutcome renamed(std::optional<ImageItem> newItem, const QString& note = {})
    {
        return {Kind::renamed, std::move(newItem), note};
    }
    static RenameOutcome failed(const QString& message) { return {Kind::failed, std::nullopt, message}; }
    static RenameOutcome unchanged() { return {}; }

    bool operator==(const RenameOutcome&) const = default;
};

} // namespace plenoria
