#pragma once

namespace lumen {

/**
 * Processes pending window events once (the design's DoEvents) and lets the
 * current clock know, so waits on a FakeClock make progress. Long work calls
 * it so the window stays alive.
 */
void pumpEvents();

} // namespace lumen
