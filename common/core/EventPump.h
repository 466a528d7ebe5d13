#pragma once

namespace lumen {

/**
 * Processes pending window events once (the design's DoEvents) and lets the
 * current clock know, so waits on a FakeClock make progress. Long work calls
 * it so the window stays alive.
 */
void pumpEvents();

/**
 * For wait loops: processes events for up to `ms` milliseconds (sleeping
 * while none arrive) on the system clock, so a wait does not spin a core;
 * on a fake clock it is one pumpEvents() and costs no real time.
 */
void pumpEventsWhileWaiting(int ms = 10);

} // namespace lumen
