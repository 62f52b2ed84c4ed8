#pragma once

#include "imaging/read/ImageItem.h"

#include <QString>
#include <optional>

namespace plenoria {

// The result of filing and of undo. `message` is the user's sentence for skipped and failed, and for
// filed, undone and renameUndone the whole toast where it must say more than the usual words (else
// empty).
struct [[nodiscard]] FilingOutcome {
    enum class Kind { filed, undone, renameUndone, skipped, failed, nothingToUndo };

    Kind kind = Kind::nothingToUndo;
    std::optional<ImageItem> item; // filed, undone, renameUndone: the item as it was before the action
    std::optional<QString> renamedTo; // filed: the name the file got when it had to differ
    QString message;

    static FilingOutcome filed(
        const ImageItem& item, std::optional<QString> renamedTo, const QString& note = {})
    {
        return {Kind::filed, item, std::move(renamedTo), note};
    }
    static FilingOutcome undone(const ImageItem& item, const QString& note = {})
    {
        return {Kind::undone, item, std::nullopt, note};
    }
    static FilingOutcome renameUndone(const ImageItem& item, const QString& note = {})
    {
        return {Kind::renameUndone, item, std::nullopt, note};
    }
    static FilingOutcome skipped(const QString& message)
    {
        return {Kind::skipped, std::nullopt, std::nullopt, message};
    }
    static FilingOutcome failed(const QString& message)
    {
        return {Kind::failed, std::nullopt, std::nullopt, message};
    }
    static FilingOutcome nothingToUndo() { return {}; }

    bool operator==(const FilingOutcome&) const = default;
};

} // namespace plenoria
