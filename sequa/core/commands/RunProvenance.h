#pragma once

namespace lumen::sequa {

class MainModel;

/**
 * What a program started by a run is told of the run, so that whatever it
 * records can be traced back to it: LUMEN_RUN, the run's journal (for a
 * resumed run the first journal of its chain, so that a pass played again
 * is known as the same pass), and
 * LUMEN_RUN_PASS, the pass of every open loop from the outermost in ("2",
 * "2.1"; empty outside loops), and LUMEN_RUN_LINE, the script line that
 * starts the program: a line plays once a pass, so run, pass and line name
 * one archiving, played again only by a resume. Outside a run all are taken away, so a
 * program started from the window is never mistaken for part of an earlier run.
 */
class RunProvenance
{
public:
    static constexpr const char *kRunVariable = "LUMEN_RUN";
    static constexpr const char *kPassVariable = "LUMEN_RUN_PASS";
    static constexpr const char *kLineVariable = "LUMEN_RUN_LINE";

    /** Sets the variables in this process's environment, which the programs it starts inherit. */
    static void exportFor(MainModel &model);
};

} // namespace lumen::sequa
