#pragma once

#include <QImage>
#include <QRect>
#include <optional>

namespace plenoria {

// Builds the full-canvas frames of an animation from partial frames, the way GIF, APNG and WebP
// define it: each frame is drawn over what the previous one left after its disposal.
class FrameCompositor {
public:
    enum class Disposal { none, background, previous };
    enum class Blend { source, over };

    // None when the canvas is empty, above the frame limit, or cannot be allocated.
    [[nodiscard]] static std::optional<FrameCompositor> create(QSize canvas);

    // Draws `pixels` (pixelFormat) with its top-left corner at `origin`, clipped to the canvas, and
    // returns the canvas as it is shown for this frame. `disposal` applies before the next frame.
    QImage draw(const QImage& pixels, QPoint origin, Blend blend, Disposal disposal);

    // A frame that did not decode draws nothing, but the frame before it is still disposed of.
    void skip();

    QSize size() const { return m_canvas.size(); }

private:
    explicit FrameCompositor(QImage canvas);
    void disposePrevious();

    QImage m_canvas;
    Disposal m_pendingDisposal = Disposal::none;
    QRect m_pendingRect;
    QImage m_saved;
};

} // namespace plenoria
