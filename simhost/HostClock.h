#pragma once

#include <QDateTime>

namespace lumen {

/**
 * The simulated host's own clock. It follows the suite's current clock
 * (the system clock, or a test's fake clock) scaled by a speed factor, so a
 * demo can run a 300-second preset in 300/speed seconds; a manual clock moves
 * only when told, for tests that need exact times.
 */
class HostClock
{
public:
    /** speed: host seconds per second of the current clock; start: host time at creation. */
    explicit HostClock(double speed = 1.0, const QDateTime &start = QDateTime(),
                       bool manual = false);

    /** Host seconds since the clock was created (never goes backwards). */
    double elapsedSeconds();
    /** The host's date and time now. */
    QDateTime now();
    /** Moves the clock forward by `seconds` host seconds (any mode). */
    void advance(double seconds);

    double speed() const { return m_speed; }
    bool isManual() const { return m_manual; }

private:
    void follow();

    double m_speed;
    bool m_manual;
    QDateTime m_start;
    QDateTime m_lastSource;
    double m_elapsed = 0.0;
};

} // namespace lumen
