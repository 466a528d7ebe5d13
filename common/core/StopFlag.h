#pragma once

#include <QString>

namespace lumen::stopflag {

/**
 * Whether a stop signal (SIGTERM, SIGINT, SIGHUP) has come, readable at any
 * moment. The event loop hears of a signal only between two events; a call
 * that blocks on a socket (the TCP host) runs no events, so it looks at this
 * flag between short slices of its wait and gives up at once when it is up.
 * Raised by the handler of StopSignals, which also lowers it when it is put
 * in and taken out.
 */
void raise(int signo) noexcept; ///< async-signal-safe; the first signal is kept
/** The signal that raised the flag, 0 while it is down. */
int raised() noexcept;
/** "SIGTERM": the name of the signal that raised it; empty while it is down. */
QString raisedBy();
void lower() noexcept;

} // namespace lumen::stopflag
