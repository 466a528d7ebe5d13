#include "sequa/core/check/CheckClock.h"

namespace lumen::sequa {

CheckClock::CheckClock(const QDateTime &start, const Limits &limits)
    : ManualClock(start, kStepMs), m_limits(limits), m_start(start), m_lineStart(start)
{
    m_real.start();
}

double CheckClock::runSeconds() const
{
    return m_start.msecsTo(now()) / 1000.0;
}

void CheckClock::pumped()
{
    // The player pumps once after every line: a new line's waits begin.
    m_lineStart = now();
}

void CheckClock::waited()
{
    advance(kStepMs);
    if (m_lineStart.msecsTo(now()) / 1000.0 > m_limits.lineSeconds)
        throw PlayAbandoned{
            QStringLiteral("one line waits more than %1 hours").arg(m_limits.lineSeconds / 3600)};
    if (runSeconds() > m_limits.runSeconds)
        throw PlayAbandoned{
            QStringLiteral("the run lasts more than %1 days").arg(m_limits.runSeconds / 86400)};
    if (m_real.elapsed() / 1000.0 > m_limits.playSeconds)
        throw PlayAbandoned{
            QStringLiteral("the trial play took more than %1 seconds").arg(m_limits.playSeconds)};
}

} // namespace lumen::sequa
