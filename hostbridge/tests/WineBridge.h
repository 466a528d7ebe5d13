#pragma once

// The Windows host bridge run under Wine for the tests, in the prefix the
// test run made (WINEPREFIX, the project's test host registered in it), and
// a line client of the bridge protocol.

#include "common/testsupport/ProgramFolder.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QTcpSocket>
#include <memory>

namespace lumen::test {

/** The environment a bridge starts with: the shell's, less any key. */
QProcessEnvironment bridgeEnvironment();

/**
 * A bridge listening on a free loopback port. Ending it ends every process
 * of the prefix (the test host too), so that the next test starts afresh.
 */
class WineBridge
{
public:
    explicit WineBridge(const QStringList &args = {},
                        const QProcessEnvironment &env = bridgeEnvironment());
    ~WineBridge();
    quint16 port() const { return m_port; }

    /** Runs the bridge to its end (an option's answer, a probe); the host it started stays. */
    static ProgramRun run(const QStringList &args,
                          const QProcessEnvironment &env = bridgeEnvironment());
    /** Ends the prefix's processes and waits until they are gone. */
    static void endWineProcesses();

private:
    std::unique_ptr<QProcess> m_process;
    quint16 m_port = 0;
};

/** One connection to a bridge: the challenge it opened with, then call and reply lines. */
class BridgeClient
{
public:
    /** Connects and reads the challenge; false (the test has failed) when either fails. */
    bool open(quint16 port);
    QByteArray challenge() const { return m_challenge; }
    /** The hello with this name, answered under `key` (none when empty). */
    QJsonObject hello(const QString &who, const QByteArray &key = {});
    /** Sends a line (a line feed is added) and gives the reply, empty when none came. */
    QJsonObject send(const QByteArray &line);
    QJsonObject call(const QString &method, const QJsonArray &args);
    /** True when the bridge closes the connection within a few seconds. */
    bool closedByBridge();
    void close() { m_socket.abort(); }

private:
    QTcpSocket m_socket;
    QByteArray m_challenge;
};

} // namespace lumen::test
