#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>

namespace plenoria {

// The one-shot timer that hides the toast; replaceable so that tests run it by hand.
class ToastTimer {
public:
    virtual ~ToastTimer() = default;
    // Cancels any pending run, then calls `elapsed` once after `delay` unless cancelled again.
    virtual void restart(std::chrono::milliseconds delay, std::function<void()> elapsed) = 0;
    virtual void cancel() = 0;
};

// On the main thread's event loop.
class QtToastTimer final : public ToastTimer {
public:
    QtToastTimer();
    void restart(std::chrono::milliseconds delay, std::function<void()> elapsed) override;
    void cancel() override;

private:
    QTimer m_timer;
    std::function<void()> m_elapsed;
};

} // namespace plenoria
