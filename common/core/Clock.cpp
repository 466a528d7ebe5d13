#include "common/core/Clock.h"

namespace lumen {
namespace {
Clock *g_clock = nullptr;
}

double Clock::secondsSinceMidnight() const
{
    return now().time().msecsSinceStartOfDay() / 1000.0;
}

FakeClock::FakeClock(QDateTime start, int stepMs) : m_now(std::move(start)), m_stepMs(stepMs) {}

void FakeClock::advance(qint64 ms)
{
    m_now = m_now.addMSecs(ms);
    if (m_listener)
        m_listener(ms);
}

Clock &currentClock()
{
    static SystemClock system;
    return g_clock ? *g_clock : system;
}

void setCurrentClock(Clock *clock)
{
    g_clock = clock;
}

} // namespace lumen
