#pragma once

#include <QtGlobal>

namespace plenoria {

// A resize: the length in pixels of the longer side afterwards.
struct ResizeSpec {
    qint64 longestEdge = 128;
    bool operator==(const ResizeSpec&) const = default;
};

} // namespace plenoria
