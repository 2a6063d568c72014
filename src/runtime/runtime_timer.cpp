#include "runtime/runtime_timer.h"

namespace velt {

RuntimeTimer::RuntimeTimer(QObject *parent)
    : QObject(parent)
{
    // Coarse timers may stretch a 10 ms interval; the roulette's pace is
    // part of how it feels.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &RuntimeTimer::tick);
}

void RuntimeTimer::setInterval(int milliseconds)
{
    m_interval = milliseconds;
    if (milliseconds <= 0)
        m_timer.stop();
    else
        m_timer.start(milliseconds);
}

} // namespace velt
