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
};

} // namespace lumen::sequa
