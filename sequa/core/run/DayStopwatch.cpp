#include "sequa/core/run/DayStopwatch.h"

#include "common/core/Clock.h"

namespace lumen::sequa {

namespace {
constexpr double kSecondsPerDay = 86400.0;
}

DayStopwatch::DayStopwatch()
{
    restart();
}

void DayStopwatch::restart()
{
    m_last = currentClock().secondsSinceMidnight();
    m_elapsed = 0;
}

double DayStopwatch::elapsed()
{
    const double now = currentClock().secondsSinceMidnight();
    // Below the last reading means the day has turned over.
    m_elapsed += now >= m_last ? now - m_last : now + kSecondsPerDay - m_last;
    m_last = now;
    return m_elapsed;
}

} // namespace lumen::sequa
