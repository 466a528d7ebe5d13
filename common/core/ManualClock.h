#pragma once

#include "common/core/Clock.h"

#include <QDateTime>
#include <functional>

namespace lumen {

/**
 * A clock that moves only when told, or by `stepMs` on every pump, not with
 * real time: a 4-second wait costs none. Tests run on it (FakeClock) and so
 * does a trial play. Whoever follows it hears every advance (a window's
 * 250 ms timer is driven from it).
 */
class ManualClock : public Clock
{
public:
    ManualClock(QDateTime start, int stepMs);

    QDateTime now() const override { return m_now; }
    void pumped() override { advance(m_stepMs); }

    /** Moves the clock forward by `ms` milliseconds, telling the listener. */
    void advance(qint64 ms);
    void set(const QDateTime &moment) { m_now = moment; }
    void setStepMs(int ms) { m_stepMs = ms; }
    /** The listener gets the milliseconds of each advance; one at a time, empty removes it. */
    void onAdvance(std::function<void(qint64)> listener) { m_listener = std::move(listener); }

private:
    QDateTime m_now;
    int m_stepMs;
    std::function<void(qint64)> m_listener;
};

} // namespace lumen
