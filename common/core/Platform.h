#pragma once

#include <QString>
#include <QTextStream>

namespace lumen {

/** True when a display is there for windows (DISPLAY or WAYLAND_DISPLAY set, or Windows). */
bool hasDisplay();

/**
 * Call first thing in main(): without a display, select Qt's offscreen
 * platform so a program can start without a window server.
 */
void selectPlatformForDisplay();

/** What --help and --version print for one program. */
struct ProgramInfo
{
    QString name;    ///< "Driftlog"
    QString summary; ///< one line
    QString usage;   ///< the rest of --help, lines ending in "\n"
};

/**
 * Handles --help/-h and --version without touching any file. Returns the exit
 * status to end with, or -1 when the arguments are for the program itself.
 */
int handleStandardOptions(int argc, char **argv, const ProgramInfo &info);

/** The process's standard output and error as text streams. */
QTextStream &standardOut();
QTextStream &standardError();

} // namespace lumen
