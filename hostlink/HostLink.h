#pragma once

#include <QString>

namespace lumen {

/** Where createHostAppObject sends the calls, as LUMEN_HOST names it. */
struct HostLink
{
    enum class Kind
    {
        InProcess,
        Tcp
    };
    Kind kind = Kind::InProcess;
    QString host;
    quint16 port = 0;
    int timeoutMs = 10000; ///< milliseconds per call (LUMEN_HOST_TIMEOUT, seconds)
    QByteArray key;        ///< the bridge's shared key (HostKey), empty for none
    /// Who drives the host, as the bridge shows it to a client it refuses
    /// while this one holds the host (a Sequa run: journal, process, start).
    QString holder;

    /**
     * Reads a link text: empty or "sim" for the simulated host in process,
     * "tcp://HOST:PORT" for a host bridge. Throws Failure on anything else.
     */
    static HostLink parse(const QString &text, const QString &timeoutText = QString());
    /** From LUMEN_HOST, LUMEN_HOST_TIMEOUT and, for a bridge, its key (HostKey). */
    static HostLink fromEnvironment();
};

} // namespace lumen
