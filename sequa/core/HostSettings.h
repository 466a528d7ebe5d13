#pragma once

#include <QString>

namespace lumen::sequa {

/** The LUMEN_HOST* variables that choose and shape the host a run talks to (defined beside
 * createHostAppObject). */
class HostSettings
{
public:
    /**
     * Reads every host variable; Failure naming the variable and its value
     * when one cannot be read, so a run can be refused before it plays.
     */
    static void check();
    /** The host for the journal: the bridge address, or the simulated host with seed and speed. */
    static QString describe();
    /**
     * When the host is the simulated one in process with a clock of its own
     * (LUMEN_HOST_SPEED other than 1, or LUMEN_HOST_START), makes that clock
     * the current clock, so every wait and time stamp of the run follows the
     * host's time; the shared simulated host then runs on it. Over the bridge
     * time stays real. Called once before start-up; unreadable settings are
     * left to check().
     */
    static void useHostClock();
};

} // namespace lumen::sequa
