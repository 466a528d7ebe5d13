#pragma once

namespace lumen {

/**
 * Processes pending window events once (the design's DoEvents) and lets the
 * current clock know, so waits on a FakeClock make progress. Long work calls
 * it so the window stays alive.
 */
void pumpEvents();

/**
 * For wait loops: processes events for up to `ms` milliseconds of the
 * current clock (sleeping while none arrive), so a wait does not spin a
 * core; on a clock faster than real time that is less real time (at least
 * a millisecond); on a manual clock it is one pumpEvents() and costs none.
 */
void pumpEventsWhileWaiting(int ms = 10);

} // namespace lumen
