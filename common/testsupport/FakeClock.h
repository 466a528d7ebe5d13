#pragma once

#include "common/core/Clock.h"

#include <QDateTime>
#include <functional>

namespace lumen {

/**
 * A clock for tests: starts at a fixed moment and moves only when told, or by
 * `stepMs` on every pump, so a 4-second wait costs no real time. Listeners
 * hear every advance (a window's 250 ms timer is driven from them).
 */
class FakeClock : public ManualClock
{
public:
    explicit FakeClock(QDateTime start = QDateTime(QDate(2026, 1, 15), QTime(10, 0, 0)),
                       int stepMs = 50);

    QDateTime now() const override { return m_now; }
    void pumped() override { advance(m_stepMs); }

    /** Moves the clock forward by `ms` milliseconds, telling the listeners. */
    void advance(qint64 ms);
    void set(const QDateTime &moment) { m_now = moment; }
    void setStepMs(int ms) { m_stepMs = ms; }
    /** The listener gets the milliseconds of each advance. */
    void onAdvance(std::function<void(qint64)> listener) override
    {
        m_listener = std::move(listener);
    }

private:
    QDateTime m_now;
    int m_stepMs;
    std::function<void(qint64)> m_listener;
};

} // namespace lumen
