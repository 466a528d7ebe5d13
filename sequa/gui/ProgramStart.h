#pragma once

#include "sequa/core/start/StartOptions.h"

namespace lumen::sequa {

/**
 * Without a display nobody could use or close the window: plays the
 * request's script (or resumes its journal) and ends either way.
 */
int playWithoutDisplay(int &argc, char **argv, const StartRequest &request);

/**
 * At a display: the window, empty or with `openedScript` loaded. A script
 * on the command line plays unattended with the window minimized; a run
 * that succeeds or is stopped ends the program, one that fails leaves the
 * window to the operator.
 */
int playInWindow(int &argc, char **argv, const StartRequest &request, const QString &openedScript);

} // namespace lumen::sequa
