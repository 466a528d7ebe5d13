#include "common/core/Clock.h"

namespace lumen {
namespace {
Clock *g_clock = nullptr;
}

double Clock::secondsSinceMidnight() const
{
    return now().time().msecsSinceStartOfDay() / 1000.0;
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
