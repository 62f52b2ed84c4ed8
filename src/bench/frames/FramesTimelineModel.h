#pragma once

#include "imaging/model/FramesSpec.h"

#include <QString>
#include <Qt>
#include <optional>

namespace plenoria {

// The frames timeline without widgets: what its header and cells say about a spec, a selection and
// a loop count, and what a click does to the selection. Only selected positions below the number of
// edits count anywhere (see FramesSpec::positionsWithin). Texts are empty where nothing is shown.
class FramesTimelineModel {
public:
    FramesTimelineModel() = delete;

    // Kept frames run as fast as this (1 to 19 ms) only in players that honour it.
    static constexpr qint64 fastDelayLimit = 20;

    // Every edit's delay, skipped ones included (their time folds into a neighbour), in ms.
    static qint64 totalDelay(const FramesSpec& spec);
    // The delay more than half of the kept edits carry; none with fewer than 3 kept edits.
    static std::optional<qint64> dominantDelay(const FramesSpec& spec);
    // Kept edits of 1 to 19 ms.
    static qint64 fastDelayCount(const FramesSpec& spec);

    // "12 frames · 1.20 s · loops ∞"; a loop count of 0 is endless.
    static QString summaryText(const FramesSpec& spec, qint64 loopCount);
    // "· 2 skipped".
    static QString skippedText(const FramesSpec& spec);
    // "selected · 3–5 of 12" for a run, "selected · 4 of 12" otherwise.
    static QString selectionText(const FramesSpec& spec, const FrameSelection& selection);
    // "! delays under 20 ms play at ~10 fps in browsers" while some kept delay is that fast.
    static QString fastDelayWarning(const FramesSpec& spec);

    // Whether the delay field of the edit at `position` is drawn as a warning: a skipped edit, or one
    // whose delay differs from the dominant delay.
    static bool delayStandsOut(const FrameEdit& edit, const std::optional<qint64>& dominant);
    // "Frame 3 · 40 ms", or "Skipped — its 40 ms folds into the frame before it".
    static QString cellToolTip(const FrameEdit& edit, qint64 position);

    // The selection after a click on `position`: Ctrl toggles it (with or without Shift), Shift
    // spans from the selection's ends to it, anything else selects it alone.
    static FrameSelection clicked(const FramesSpec& spec, const FrameSelection& selection, qint64 position,
        Qt::KeyboardModifiers modifiers);
};

} // namespace plenoria
