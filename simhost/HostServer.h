#pragma once

#include "simhost/HostFaults.h"

#include <QHostAddress>
#include <QObject>
#include <memory>

class QTcpServer;
class QTcpSocket;

namespace lumen {

class HostApp;

/**
 * Serves a host over TCP with the host bridge protocol (HostProtocol): one
 * request line, one reply line, in order, on any number of connections.
 * Runs on the event loop of the thread it lives in.
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
    ~HostServer() override;

    /**
     * From now on each connection must present `key` (HostKey) before any
     * method runs; empty: none needed.
     */
    void requireKey(const QByteArray &key);

    /** Listens on `address`:`port` (0: any free port). Throws Failure when it cannot. */
    void listen(const QHostAddress &address, quint16 port);
    quint16 port() const;

private:
    void accept();
    void readFrom(QTcpSocket *socket);
    /** Checks a connection's first line against the key; false: refused and closing. */
    bool admit(QTcpSocket *socket, const QByteArray &request);

    std::shared_ptr<HostApp> m_host;
    HostFaults m_faults;
    QByteArray m_key;
    QTcpServer *m_server;
};

} // namespace lumen
