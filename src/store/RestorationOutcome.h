#pragma once

#include "imaging/read/ImageItem.h"

#include <QString>
#include <optional>

namespace plenoria {

// The result of saving, putting back and exporting. `message` is the user's sentence for failed, and
// for saved the whole toast where it must say more than that the file was saved (empty otherwise).
struct [[nodiscard]] RestorationOutcome {
    enum class Kind { saved, exported, failed };

    Kind kind = Kind::failed;
    std::optional<ImageItem> item; // saved: the file read afresh after it got its new content
    QString name; // exported: the file name the export was written under
    QString message;

    static RestorationOutcome saved(const ImageItem& item, const QString& note = {})
    {
        return {Kind::saved, item, {}, note};
    }
    static RestorationOutcome exported(const QString& name)
    {
        return {Kind::exported, std::nullopt, name, {}};
    }
    static RestorationOutcome failed(const QString& message)
    {
        return {Kind::failed, std::nullopt, {}, message};
    }

    bool operator==(const RestorationOutcome&) const = default;
};

} // namespace plenoria
