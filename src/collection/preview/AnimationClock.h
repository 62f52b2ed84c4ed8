#pragma once

#include <QObject>
#include <QTimer>

namespace plenoria {

// The one timer that drives every playing preview: it runs only while at least one client has
// attached, and each tick lets the clients pick the frame of the moment from the wall clock, so
// they never drift apart. Main thread only.
class AnimationClock : public QObject {
    Q_OBJECT
public:
    // About one display refresh; clients repaint only when their frame actually changes.
    static constexpr int tickMilliseconds = 16;

    static AnimationClock* instance();

    // Counted: the timer stops when the last client detaches.
    void attach();
    void detach();
    bool isRunning() const { return m_timer.isActive(); }
    int clients() const { return m_clients; }

signals:
    void ticked();

private:
    AnimationClock();

    QTimer m_timer;
    int m_clients = 0;
};

} // namespace plenoria
