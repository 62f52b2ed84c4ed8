#pragma once

#include <QRect>
#include <QSize>
#include <QtGlobal>
#include <functional>
#include <vector>

namespace plenoria {

// How an animated PNG stores each frame: only the rectangle that differs from what the previous
// frame leaves on the canvas, with the dispose and blend operations that make every frame, once
// composited, exactly the full frame it stands for. Frame 0 always covers the canvas. Frames are
// planned one after another, so that a writer needs only the few frames a plan still refers to.
class APNGFramePlanner {
public:
    enum Dispose : quint8 { none = 0, background = 1, previous = 2 };
    enum Blend : quint8 { source = 0, over = 1 };
    struct Frame {
        QRect rect;
        Dispose dispose = none; // what happens to this frame's rectangle before the next frame
        Blend blend = source;
        bool operator==(const Frame&) const = default;
    };
    // Row y of frame i, one quint32 per pixel in the pixel convention (alpha in the top byte,
    // premultiplied), canvas wide. Two pixels are equal exactly when their stored colours are.
    using FrameRows = std::function<const quint32*(qint64 frame, int y)>;
    struct Plan {
        std::vector<Frame> frames;
        // What lies on the canvas before each frame: a frame (−1: nothing) with one rectangle cleared.
        struct Base {
            qint64 frame = -1;
            QRect cleared;
        };
        std::vector<Base> bases;
    };

    APNGFramePlanner() = delete;

    // Adds frame plan.frames.size() to the plan, all frames being of `canvas` size, and settles the
    // previous frame's dispose operation. With `overAllowed` a frame whose changed pixels are all
    // opaque blends over the canvas and stores unchanged pixels as transparent (0), which compresses
    // to almost nothing. Reads the new frame, the one before it and the previous frame's base.
    static void planNext(Plan& plan, const FrameRows& rows, QSize canvas, bool overAllowed);

    // Row y of what the canvas holds before a frame: a row of a frame itself, or `scratch` filled
    // with that row where the base clears part of it (or all of it).
    static const quint32* baseRow(
        const FrameRows& rows, QSize canvas, const Plan::Base& base, int y, std::vector<quint32>& scratch);
};

} // namespace plenoria
