#pragma once

#include "common/core/StopSignals.h"
#include "sequa/core/start/StartOptions.h"

#include <optional>

namespace lumen::sequa {

class SequaProgram;

/** The steps of Sequa's start that need no window. */
namespace startsteps {

/**
 * Open: the script box text of the file --open names, or none when the
 * desktop menu gave no file. Says why on standard error and gives nullopt
 * when the file cannot be read.
 */
std::optional<QString> openedScript(const StartRequest &request);

/**
 * A Sequa started too deep by other runs' scripts, or with an unreadable
 * depth, plays nothing: says so, journals the refusal and returns its status;
 * -1 when the start goes on.
 */
int refuseNesting(int &argc, char **argv, const QString &commandLine);

/**
 * A signal stops a run as "No Connection" does, and then ends the program:
 * the main loop, once a run has closed out and given it back control.
 */
StopSignals::Handler stopOn(SequaProgram &program);

/**
 * SIGUSR1 pauses a playing run and SIGUSR2 resumes it, as the window's
 * Pause Script button does; the journal names the signal.
 */
StopSignals::Handler pauseOn(SequaProgram &program);

} // namespace startsteps
} // namespace lumen::sequa
