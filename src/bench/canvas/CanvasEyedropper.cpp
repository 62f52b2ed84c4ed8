#include "bench/canvas/CanvasEyedropper.h"

#include "bench/canvas/BenchCanvas.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

namespace plenoria {

CanvasEyedropper::CanvasEyedropper(BenchModel& model, BenchCanvas& canvas)
    : QObject(&canvas)
    , m_model(model)
    , m_canvas(&canvas)
{
    connect(&model, &BenchModel::samplerRequested, this, &CanvasEyedropper::start);
    connect(&model, &BenchModel::changed, this, [this](BenchModel::Changes changes) {
        if ((changes & BenchModel::Change::sampling) && !m_model.samplingGroundColor())
            stop();
    });
}

CanvasEyedropper::~CanvasEyedropper()
{
    if (m_filtering)
        qApp->removeEventFilter(this);
}

void CanvasEyedropper::start()
{
    if (m_picking || !m_model.samplingGroundColor() || !m_canvas)
        return;
    m_picking = true;
    m_canvas->setCursor(Qt::CrossCursor);
    updateFilter();
}

void CanvasEyedropper::stop()
{
    if (!m_picking)
        return;
    m_picking = false;
    if (m_canvas)
        m_canvas->unsetCursor();
    updateFilter();
}

void CanvasEyedropper::finish(const std::optional<QColor>& color)
{
    stop();
    m_model.applySampledColor(color);
}

void CanvasEyedropper::updateFilter()
{
    const bool wanted = m_picking || m_swallowingRelease;
    if (wanted == m_filtering)
        return;
    m_filtering = wanted;
    if (wanted)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
}

bool CanvasEyedropper::filterPress(QObject* watched, QEvent* event)
{
    const auto* press = static_cast<QMouseEvent*>(event);
    m_swallowingRelease = true;
    BenchCanvas* canvas = m_canvas;
    const bool onCanvas
        = canvas && (watched == canvas || canvas->isAncestorOf(static_cast<QWidget*>(watched)));
    if (onCanvas && press->button() == Qt::LeftButton)
        finish(canvas->shownColor(canvas->mapFromGlobal(press->globalPosition())));
    else
        finish(std::nullopt);
    updateFilter();
    return true;
}

bool CanvasEyedropper::eventFilter(QObject* watched, QEvent* event)
{
    // Mouse events reach the window first and then its widgets: act on the widget's copy only.
    const bool toWidget = watched->isWidgetType();
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (m_picking && toWidget)
            return filterPress(watched, event);
        return m_swallowingRelease && toWidget;
    case QEvent::MouseMove:
        return m_swallowingRelease && toWidget;
    case QEvent::MouseButtonRelease:
        if (m_swallowingRelease && toWidget) {
            m_swallowingRelease = false;
            updateFilter();
            return true;
        }
        return false;
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        if (!m_picking)
            return false;
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
            finish(std::nullopt);
        // Accepting the override keeps shortcuts from firing; the key itself then comes here too.
        event->accept();
        return true;
    case QEvent::WindowDeactivate:
        if (m_picking && m_canvas && watched == m_canvas->window())
            finish(std::nullopt);
        return false;
    case QEvent::Hide:
        if (m_picking && m_canvas && watched == m_canvas)
            finish(std::nullopt);
        return false;
    default:
        return false;
    }
}

} // namespace plenoria
