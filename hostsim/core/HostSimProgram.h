#pragma once

#include <QStringList>
#include <QTextStream>

namespace lumen {

/**
 * The hostsim program: `--listen [ADDRESS:]PORT [--idle SECONDS] [--faults TEXT]` serves the
 * simulated host over TCP until the process is ended. Port 0 picks a free
 * port; the line "Listening on ADDRESS:PORT" tells which.
 */
class HostSimProgram
{
public:
    /** args without the program name. Runs the event loop while serving. */
    static int run(const QStringList &args, QTextStream &out, QTextStream &err);
    static QString usage();
};

} // namespace lumen
