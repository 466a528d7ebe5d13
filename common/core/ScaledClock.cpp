#include "common/core/ScaledClock.h"

#include <cmath>

namespace lumen {

ScaledClock::ScaledClock(Clock &source, const QDateTime &start, double factor)
    : m_source(source), m_start(start), m_sourceStart(source.now()),
      m_factor(factor > 0.0 ? factor : 1.0)
{
}

QDateTime ScaledClock::now() const
{
    const qint64 sourceMs = m_sourceStart.msecsTo(m_source.now());
    return m_start.addMSecs(std::llround(double(sourceMs) * m_factor));
}

} // namespace lumen
