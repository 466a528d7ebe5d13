#pragma once

namespace lumen::sequa {

/**
 * Seconds elapsed on the time of day since start, measured across midnight:
 * a reading below the previous one adds the rest of that day. Waits that are
 * measured on the time of day use it so that none hangs or stretches when
 * midnight passes.
 */
class DayStopwatch
{
public:
    /** Starts at the current clock's time of day. */
    DayStopwatch();

    void restart();
    /** Seconds (with fraction) since start; reads the clock. */
    double elapsed();

private:
    double m_last = 0;    ///< seconds since midnight at the last reading
    double m_elapsed = 0; ///< seconds
};

} // namespace lumen::sequa
