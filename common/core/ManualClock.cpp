#include "common/core/ManualClock.h"

namespace lumen {

ManualClock::ManualClock(QDateTime start, int stepMs) : m_now(std::move(start)), m_stepMs(stepMs) {}

void ManualClock::advance(qint64 ms)
{
    m_now = m_now.addMSecs(ms);
    if (m_listener)
        m_listener(ms);
}

} // namespace lumen
