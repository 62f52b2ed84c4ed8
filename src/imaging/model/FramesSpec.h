#pragma once

#include "imaging/model/FramePlan.h"

#include <QImage>
#include <set>
#include <vector>

namespace plenoria {

// One output position of a frames treatment.
struct FrameEdit {
    qint64 input = 0; // index into the plan the treatment receives (not always a source frame)
    qint64 delay = 0; // milliseconds
    bool isSkipped = false; // dropped; its time folds into a neighbour
    bool operator==(const FrameEdit&) const = default;
};

// A set of edit positions, as the frames timeline and inspector select them.
using FrameSelection = std::set<qint64>;

// How an animation is re-timed, re-ordered and thinned: the output frames in order.
struct FramesSpec {
    std::vector<FrameEdit> edits;

    // One kept edit per delay, showing its own position, delays in steps of 10 ms.
    [[nodiscard]] static FramesSpec fromDelays(const std::vector<qint64>& delays);

    // The plan the edits make of `plan`. Out-of-range inputs are ignored; skipped time folds into the
    // frame before (or, at the start, the first kept frame); keeping nothing leaves the plan as it was.
    [[nodiscard]] std::vector<FramePlan> apply(const std::vector<FramePlan>& plan) const;

    // The longest delay a GIF stores: 65535 hundredths of a second.
    static constexpr qint64 longestDelay = 655350;

    [[nodiscard]] std::vector<FrameEdit> keptEdits() const;
    // The part of `selection` that names positions of these edits: a selection is never pruned when
    // the edits shrink, so what is counted, shown and acted on is this part.
    [[nodiscard]] FrameSelection positionsWithin(const FrameSelection& selection) const;
    // The edits with the selected positions given `milliseconds`, held to 0 … `longestDelay` and
    // rounded to a step of 10.
    [[nodiscard]] std::vector<FrameEdit> settingDelay(
        qint64 milliseconds, const FrameSelection& selection) const;
    [[nodiscard]] std::vector<FrameEdit> settingSkipped(bool skipped, const FrameSelection& selection) const;

    // Positions of kept edits whose frame is byte-for-byte the frame of the kept edit before them.
    // `frames` are the images the inputs index.
    [[nodiscard]] static FrameSelection duplicateSelection(
        const std::vector<QImage>& frames, const FramesSpec& spec);

    // "2 skipped", "all 100 ms" or "5 frames".
    [[nodiscard]] QString summary() const;

    bool operator==(const FramesSpec&) const = default;
};

// A delay in milliseconds kept in GIF's steps of 10 ms: max(round(ms / 10) × 10, 0).
qint64 delayInSteps(qint64 milliseconds);

} // namespace plenoria
