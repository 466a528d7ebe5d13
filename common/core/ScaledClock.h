#pragma once

#include "common/core/Clock.h"

#include <QDateTime>

namespace lumen {

/**
 * A clock that runs `factor` times as fast as another one from a given
 * moment: the clock of a simulated host faster than real time, which the
 * programs talking to it wait on too, so a 60-second wait at 600x costs a
 * tenth of a real second. Over the system clock it moves with real time;
 * over a manual clock (tests) it moves only when that one does.
 */
class ScaledClock : public Clock
{
public:
    /** `source` must outlive this clock; `factor` > 0. */
    ScaledClock(Clock &source, const QDateTime &start, double factor);

    QDateTime now() const override;
    void pumped() override { m_source.pumped(); }
    void waited() override { m_source.waited(); }
    double speed() const override { return m_source.speed() * m_factor; }

    double factor() const { return m_factor; }

private:
    Clock &m_source;
    QDateTime m_start;
    QDateTime m_sourceStart;
    double m_factor;
};

} // namespace lumen
