#pragma once

#include "common/core/ProcessLauncher.h"

#include <QString>

namespace lumen::sequa {

/**
 * What a program's end means to the run that waited for it. The suite's own
 * programs say "done, with warnings" by a status of their own (Transpec's 3:
 * every file written, some with warnings): the work was done, so that status
 * does not fail the run; the journal still shows it. Any other status but 0,
 * and any signal, is a failure.
 */
struct ProgramStatus
{
    static bool doneWithWarnings(const QString &commandLine, const ProcessEnd &end);
    static bool failed(const QString &commandLine, const ProcessEnd &end);
    /** "exit status 3 (done with warnings)", "exit status 4", "signal 9 (SIGKILL)". */
    static QString describe(const QString &commandLine, const ProcessEnd &end);
};

} // namespace lumen::sequa
