#pragma once

#include "simhost/HostFaults.h"

#include <QDateTime>
#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <map>
#include <memory>

class QTcpServer;
class QTcpSocket;
class QTimer;

namespace lumen {

class HostApp;

/**
 * Serves a host over TCP with the host bridge protocol (HostProtocol): a
 * challenge on each connection, then one request line and one reply line,
 * in order. One connection at a time holds the host, from its first
 * accepted line until it closes; the others are refused with the holder's
 * name, address and since when. A connection silent for the idle time is
 * closed. Runs on the event loop of the thread it lives in.
 */
class HostServer : public QObject
{
    Q_OBJECT
public:
    /** `faults.slowReplies` hold the named methods' replies that long. */
    HostServer(std::shared_ptr<HostApp> host, HostFaults faults = {}, QObject *parent = nullptr);

    /** Replies a client may leave unread before it is dropped, in bytes. */
    static constexpr qint64 kMaxUnreadReplyBytes = 1024 * 1024;
    /** The system's send buffer of one connection, in bytes. */
    static constexpr int kSendBufferBytes = 64 * 1024;
    /** Seconds of silence after which a connection is closed, unless set otherwise. */
    static constexpr int kDefaultIdleSeconds = 300;
    ~HostServer() override;

    /**
     * From now on each connection must answer the challenge under `key`
     * (HostKey) before any method runs; empty: none needed.
     */
    void requireKey(const QByteArray &key);
    /** For connections accepted from now on: seconds of silence before one is closed; 0 never. */
    void setIdleSeconds(int seconds);

    /** Listens on `address`:`port` (0: any free port). Throws Failure when it cannot. */
    void listen(const QHostAddress &address, quint16 port);
    quint16 port() const;

private:
    struct Connection
    {
        QByteArray challenge;
        QTimer *idle = nullptr; ///< owned by the socket; null when connections never idle out
        bool admitted = false;  ///< its first line was accepted: it holds the host
    };
    struct Hold
    {
        QPointer<QTcpSocket> socket; ///< null while nobody holds the host
        QString who;
        QString from;
        QDateTime since;
    };

    void accept();
    void readFrom(QTcpSocket *socket);
    /** Checks a connection's first line: the key, then the hold; false: refused and closing. */
    bool admit(QTcpSocket *socket, Connection &connection, const QByteArray &request);
    /** Why `who` may not take the host now; empty when it may (the old holder then dropped). */
    QString heldAgainst(const QString &who);
    void refuse(QTcpSocket *socket, const QString &why);
    void drop(QTcpSocket *socket);
    void forget(QTcpSocket *socket);
    void answered(Connection &connection);

    std::shared_ptr<HostApp> m_host;
    HostFaults m_faults;
    QByteArray m_key;
    int m_idleMs = kDefaultIdleSeconds * 1000;
    QTcpServer *m_server;
    std::map<QTcpSocket *, Connection> m_connections;
    Hold m_hold;
};

} // namespace lumen
