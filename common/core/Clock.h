#pragma once

#include <QDate>
#include <QDateTime>
#include <functional>

namespace lumen {

/**
 * Time of day and date for logic that waits or stamps. The system clock in
 * programs; in tests a clock that advances each time events are pumped.
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
    /**
     * Seconds of this clock per real second: 1 for the system clock, more for
     * a simulation running faster than real time, 0 for a clock that moves
     * only when told (waiting on it costs no real time).
     */
    virtual double speed() const { return 0.0; }

    QDate today() const { return now().date(); }
    /** Seconds since midnight, with the fraction (the design's Timer). */
    double secondsSinceMidnight() const;
};

class SystemClock : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    double speed() const override { return 1.0; }
};

/** The clock in use (a SystemClock unless a test installs another). */
Clock &currentClock();
/** Installs a clock; the caller keeps ownership. nullptr restores the system clock. */
void setCurrentClock(Clock *clock);

} // namespace lumen
