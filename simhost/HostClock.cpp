#include "simhost/HostClock.h"

#include "common/core/Clock.h"

namespace lumen {

HostClock::HostClock(double speed, const QDateTime &start, bool manual)
    : m_speed(speed > 0.0 ? speed : 1.0), m_manual(manual),
      m_start(start.isValid() ? start : currentClock().now()), m_lastSource(currentClock().now())
{
}

void HostClock::follow()
{
    if (m_manual)
        return;
    const QDateTime source = currentClock().now();
    const qint64 ms = m_lastSource.msecsTo(source);
    // A test may swap clocks; time that runs backwards is not time that passed.
    if (ms > 0)
        m_elapsed += double(ms) / 1000.0 * m_speed;
    m_lastSource = source;
}

double HostClock::elapsedSeconds()
{
    follow();
    return m_elapsed;
}

QDateTime HostClock::now()
{
    return m_start.addMSecs(qint64(elapsedSeconds() * 1000.0));
}

void HostClock::advance(double seconds)
{
    follow();
    if (seconds > 0.0)
        m_elapsed += seconds;
}

} // namespace lumen
