#pragma once

#include "bench/model/BenchModel.h"

#include <QObject>
#include <QPointer>

namespace plenoria {

class BenchCanvas;

// The ground inspector's "Pick from the image", over the canvas: when the model asks for a sampler,
// the canvas shows a crosshair, and the next left press on it picks the colour it shows there. Esc,
// a right press, a press anywhere else or the window losing activation cancels. The press that picks
// or cancels is swallowed with its release: it starts no drag and selects no row; keys do nothing
// else while picking. Either way the model gets `applySampledColor`. Main thread.
class CanvasEyedropper : public QObject {
    Q_OBJECT
public:
    CanvasEyedropper(BenchModel& model, BenchCanvas& canvas);
    ~CanvasEyedropper() override;

    bool isPicking() const { return m_picking; }
    // Enters pick mode (the model's `samplerRequested` does this).
    void start();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void finish(const std::optional<QColor>& color);
    // Leaves pick mode without reporting (the model stopped sampling by itself).
    void stop();
    void updateFilter();
    bool filterPress(QObject* watched, QEvent* event);

    BenchModel& m_model;
    QPointer<BenchCanvas> m_canvas;
    bool m_picking = false;
    // The press that ended pick mode is swallowed up to its release.
    bool m_swallowingRelease = false;
    bool m_filtering = false;
};

} // namespace plenoria
