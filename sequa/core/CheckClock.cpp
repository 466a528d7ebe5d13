#include "sequa/core/CheckClock.h"

namespace lumen::sequa {

CheckClock::CheckClock(const QDateTime &start)
    : FakeClock(start, kStepMs), m_start(start), m_lineStart(start)
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
    if (m_lineStart.msecsTo(now()) / 1000.0 > kLongestLineSeconds)
        throw PlayAbandoned{
            QStringLiteral("one line waits more than %1 hours").arg(kLongestLineSeconds / 3600)};
    if (runSeconds() > kLongestRunSeconds)
        throw PlayAbandoned{
            QStringLiteral("the run lasts more than %1 days").arg(kLongestRunSeconds / 86400)};
    if (m_real.elapsed() / 1000.0 > kLongestPlaySeconds)
        throw PlayAbandoned{
            QStringLiteral("the trial play took more than %1 seconds").arg(kLongestPlaySeconds)};
}

} // namespace lumen::sequa
