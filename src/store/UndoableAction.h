#pragma once

#include "imaging/read/ImageItem.h"

#include <QUrl>
#include <optional>
#include <variant>

namespace plenoria {

// A filing that can be undone.
struct Move {
    ImageItem item; // as listed before the move, with its old URL
    QUrl destination; // the file after the move, inside the subfolder, with the name it really got
    // Where the image's backup was set aside while the image is away, so that no other image of that
    // name inherits it; undo brings it back.
    std::optional<QUrl> displacedBackup;
    bool operator==(const Move&) const = default;
};

// A rename that can be undone.
struct Rename {
    ImageItem before; // as listed before the rename
    QUrl afterURL;
    bool operator==(const Rename&) const = default;
};

using UndoableAction = std::variant<Move, Rename>;

} // namespace plenoria
