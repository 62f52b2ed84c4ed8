#pragma once

#include <QtGlobal>

namespace plenoria {

// One output frame of an animation: which decoded source frame it shows, and for how long.
struct FramePlan {
    qint64 source = 0; // index into the decoded source frames
    qint64 delay = 0; // milliseconds
    bool operator==(const FramePlan&) const = default;
};

} // namespace plenoria
