#pragma once

#include <QString>

namespace lumen {

/**
 * Which run, loop pass and script line started this program, as the script
 * player tells the programs it starts (LUMEN_RUN, LUMEN_RUN_PASS,
 * LUMEN_RUN_LINE). Together they name one measurement of a run: a line
 * plays once a pass, and only a resume plays it again.
 */
struct RunOrigin
{
    QString run;  ///< the run's first journal; empty outside a run
    QString pass; ///< the pass of every open loop from the outermost in, e.g. "2.1"
    int line = 0; ///< the script line; 0 when not given

    /** Read from this process's environment. */
    static RunOrigin fromEnvironment();

    /** Started by a run, at a known line. */
    bool known() const { return !run.isEmpty() && line > 0; }
    bool sameMeasurement(const RunOrigin &other) const
    {
        return known() && run == other.run && pass == other.pass && line == other.line;
    }
};

} // namespace lumen
