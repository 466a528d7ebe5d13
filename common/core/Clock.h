#pragma once

#include <QDate>
#include <QDateTime>
#include <functional>

namespace lumen {

/**
 * Time of day and date for logic that waits or stamps. The system clock in
 * programs; a FakeClock in tests, which advances each time events are pumped.
 */
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    /** Called by pumpEvents() after pending events were processed. */
    virtual void pumped() {}
    /** Called instead of pumped() by pumpEventsWhileWaiting() on a clock that is not the system's.
     */
    virtual void waited() { pumped(); }

    QDate today() const { return now().date(); }
    /** Seconds since midnight, with the fraction (the design's Timer). */
    double secondsSinceMidnight() const;
};

class SystemClock : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

/**
 * A clock for tests: starts at a fixed moment and moves only when told, or by
 * `stepMs` on every pump, so a 4-second wait costs no real time. Listeners
 * hear every advance (a window's 250 ms timer is driven from them).
 */
class FakeClock : public Clock
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
    void onAdvance(std::function<void(qint64)> listener) { m_listener = std::move(listener); }

private:
    QDateTime m_now;
    int m_stepMs;
    std::function<void(qint64)> m_listener;
};

/** The clock in use (a SystemClock unless a test installs another). */
Clock &currentClock();
/** Installs a clock; the caller keeps ownership. nullptr restores the system clock. */
void setCurrentClock(Clock *clock);

} // namespace lumen
