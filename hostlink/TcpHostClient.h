#pragma once

#include "hostlink/HostApp.h"
#include "hostlink/HostMethods.h"
#include "hostlink/HostReply.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QString>
#include <memory>

class QDeadlineTimer;
class QTcpSocket;

namespace lumen {

/**
 * The host reached through a host bridge over TCP: each call is one request
 * and one reply (HostProtocol), with a time-out. A bridge that cannot be
 * reached, closes the connection, stays silent or answers garbage makes the
 * call fail with a description; testconnect then answers why instead of "OK".
 * The connection is made on first use and made again after a failure; each
 * begins with the bridge's challenge and the client's hello, which names the
 * holder and answers the challenge under the key. A bridge's refusal (a wrong
 * key, the host held by another client) is the failure's description. A
 * stop signal cuts a waiting call short at once (StopFlag), as a failure.
 */
class TcpHostClient : public HostApp
{
public:
    /**
     * timeoutMs: the longest one call may take, milliseconds. With a `key`
     * (HostKey) every connection answers the bridge's challenge before the
     * first call. `holder` tells the bridge who drives the host (HostLink).
     */
    TcpHostClient(const QString &host, quint16 port, int timeoutMs, QByteArray key = {},
                  QString holder = {});
    ~TcpHostClient() override;

    LUMEN_HOST_OVERRIDES

    /** Quiet time after which keepAlive pings the bridge. */
    static constexpr qint64 kKeepAliveMs = 60000;
    /** Pings the bridge when connected and quiet for kKeepAliveMs. Never throws. */
    void keepAlive() override;
    /** Tests: another quiet time than kKeepAliveMs. */
    void setKeepAliveMs(qint64 ms) { m_keepAliveMs = ms; }

private:
    HostReply call(const QString &method, const QJsonArray &args = {});
    void connectTo(const QDeadlineTimer &deadline);
    /** Reads the challenge, says hello; a refusal fails with the bridge's reason. */
    void greet(const QDeadlineTimer &deadline);
    /** Sends one line and gives the reply line; `what` names the call in failures. */
    QByteArray exchange(const QByteArray &request, const QString &what,
                        const QDeadlineTimer &deadline);
    void send(const QByteArray &line, const QString &what, const QDeadlineTimer &deadline);
    QByteArray receive(const QString &what, const QDeadlineTimer &deadline);
    /** The call's text result; `args` become the by-reference arguments as the host left them. */
    QString textCall(const QString &method, QJsonArray &args);
    QString textCall(const QString &method);
    /** Gives up on the call when a stop signal has come (StopFlag). */
    void failOnStop(const QString &what);
    [[noreturn]] void unreadable();
    [[noreturn]] void fail(const QString &what);
    QString where() const;

    QString m_host;
    quint16 m_port;
    int m_timeoutMs;
    QByteArray m_key;
    QString m_holder;
    qint64 m_keepAliveMs = kKeepAliveMs;
    QElapsedTimer m_sinceExchange;
    std::unique_ptr<QTcpSocket> m_socket;
};

} // namespace lumen
