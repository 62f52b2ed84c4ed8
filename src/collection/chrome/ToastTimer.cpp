#include "collection/chrome/ToastTimer.h"

namespace plenoria {

QtToastTimer::QtToastTimer()
{
    m_timer.setSingleShot(true);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        // Taken out first: the callback may restart the timer.
        const std::function<void()> elapsed = std::exchange(m_elapsed, {});
        if (elapsed)
            elapsed();
    });
}

void QtToastTimer::restart(std::chrono::milliseconds delay, std::function<void()> elapsed)
{
    m_elapsed = std::move(elapsed);
    m_timer.start(delay);
}

void QtToastTimer::cancel()
{
    m_timer.stop();
    m_elapsed = {};
}

} // namespace plenoria
