#include "collection/preview/AnimationClock.h"

namespace plenoria {

AnimationClock::AnimationClock()
{
    m_timer.setInterval(tickMilliseconds);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &AnimationClock::ticked);
}

AnimationClock* AnimationClock::instance()
{
    static AnimationClock* clock = new AnimationClock;
    return clock;
}

void AnimationClock::attach()
{
    if (m_clients++ == 0)
        m_timer.start();
}

void AnimationClock::detach()
{
    if (m_clients == 0)
        return;
    if (--m_clients == 0)
        m_timer.stop();
}

} // namespace plenoria
