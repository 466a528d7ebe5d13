#pragma once

#include <QMap>
#include <QString>

namespace lumen {

/**
 * Faults the simulated host shows on purpose, so that tests and demos can
 * see how callers cope. Written as text (LUMEN_HOST_FAULTS or hostsim
 * --faults), items separated by ";":
 *   connect-after=SECONDS   testconnect answers "OK" only that long after start
 *   connect-never           testconnect never answers "OK"
 *   error=METHOD:TEXT       METHOD replies TEXT instead of doing its work
 *   gone-after=CALLS        the host goes away after that many calls
 *   slow=METHOD:MS          the network server holds METHOD's reply that long
 */
struct HostFaults
{
    double connectAfterSeconds = 0.0; ///< seconds of the suite's clock
    bool connectNever = false;
    QMap<QString, QString> errorReplies; ///< method name -> reply text
    int goneAfterCalls = -1;             ///< -1: never
    QMap<QString, int> slowReplies;      ///< method name -> milliseconds

    /** Throws Failure naming the item it cannot read. */
    static HostFaults parse(const QString &text);
};

} // namespace lumen
