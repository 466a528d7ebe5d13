#include "simhost/HostServer.h"

#include "common/core/Clock.h"
#include "common/core/Failure.h"
#include "hostlink/HostApp.h"
#include "hostlink/HostKey.h"
#include "hostlink/HostProtocol.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>

#ifdef Q_OS_LINUX
#include <poll.h>
#endif

namespace lumen {

namespace {

/**
 * True when the peer has closed its end, though the event loop has not yet
 * seen it: a client that closes and reconnects at once sends its hello on
 * the new connection before the old one's close is handled here.
 */
bool peerHasClosed(QTcpSocket &socket)
{
    if (socket.state() != QAbstractSocket::ConnectedState)
        return true;
#if defined(Q_OS_LINUX) && defined(POLLRDHUP)
    pollfd watched{int(socket.socketDescriptor()), POLLRDHUP, 0};
    return ::poll(&watched, 1, 0) > 0 && (watched.revents & (POLLRDHUP | POLLHUP | POLLERR)) != 0;
#else
    return false;
#endif
}

QString addressOf(const QTcpSocket &socket)
{
    QHostAddress address = socket.peerAddress();
    bool isV4 = false;
    const quint32 v4 = address.toIPv4Address(&isV4);
    if (isV4)
        address = QHostAddress(v4); // not as ::ffff:a.b.c.d from a dual-stack listener
    return QStringLiteral("%1:%2").arg(address.toString()).arg(socket.peerPort());
}

} // namespace

HostServer::HostServer(std::shared_ptr<HostApp> host, HostFaults faults, QObject *parent)
    : QObject(parent), m_host(std::move(host)), m_faults(std::move(faults)),
      m_server(new QTcpServer(this))
{
    connect(m_server, &QTcpServer::newConnection, this, &HostServer::accept);
}

HostServer::~HostServer() = default;

void HostServer::requireKey(const QByteArray &key)
{
    m_key = key;
}

void HostServer::setIdleSeconds(int seconds)
{
    m_idleMs = seconds * 1000;
}

void HostServer::listen(const QHostAddress &address, quint16 port)
{
    if (!m_server->listen(address, port))
        throw Failure(QStringLiteral("Cannot listen on %1:%2: %3")
                          .arg(address.toString())
                          .arg(port)
                          .arg(m_server->errorString()));
}

quint16 HostServer::port() const
{
    return m_server->serverPort();
}

void HostServer::accept()
{
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        // What a client leaves unread is held here, not in an unbounded kernel buffer.
        socket->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, kSendBufferBytes);
        Connection connection;
        connection.challenge = HostKey::freshChallenge();
        if (m_idleMs > 0) {
            connection.idle = new QTimer(socket);
            connection.idle->setSingleShot(true);
            connection.idle->setInterval(m_idleMs);
            connect(connection.idle, &QTimer::timeout, this, [this, socket] { drop(socket); });
            connection.idle->start();
        }
        m_connections[socket] = connection;
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readFrom(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] { forget(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        socket->write(HostProtocol::challenge(connection.challenge));
        socket->flush();
    }
}

void HostServer::readFrom(QTcpSocket *socket)
{
    const auto found = m_connections.find(socket);
    if (found == m_connections.end())
        return;
    Connection &connection = found->second;
    while (socket->state() == QAbstractSocket::ConnectedState && socket->canReadLine()) {
        const QByteArray request = HostProtocol::readLine(*socket);
        if (!request.endsWith('\n')) {
            // A line longer than any real request: the peer is not speaking the protocol.
            drop(socket);
            return;
        }
        answered(connection);
        const bool hello = HostProtocol::helloOf(request).has_value();
        if (!connection.admitted && !admit(socket, connection, request))
            return;
        if (hello || HostProtocol::isPing(request)) {
            // A ping only keeps the hold; a hello again changes nothing.
            socket->write(HostProtocol::accepted());
            socket->flush();
            continue;
        }
        const int delay = m_faults.slowReplies.value(HostProtocol::methodOf(request), 0);
        if (delay > 0)
            QThread::msleep(ulong(delay));
        socket->write(HostProtocol::serve(*m_host, request));
        socket->flush();
        answered(connection);
        // A client that does not read its replies would pile them up here
        // without end; it is dropped, and the others are served on.
        if (socket->bytesToWrite() > kMaxUnreadReplyBytes) {
            drop(socket);
            return;
        }
    }
    if (socket->bytesAvailable() > HostProtocol::kMaxLine)
        drop(socket);
}

bool HostServer::admit(QTcpSocket *socket, Connection &connection, const QByteArray &request)
{
    const std::optional<HostProtocol::Hello> hello = HostProtocol::helloOf(request);
    // The key first: who holds the host is told only to those who may drive it.
    if (!m_key.isEmpty() && (!hello || hello->answer.isEmpty())) {
        refuse(socket, QStringLiteral("This host bridge needs a key first (%1)")
                           .arg(QLatin1String(HostKey::kVariable)));
        return false;
    }
    if (!m_key.isEmpty() && !HostKey::answers(hello->answer, m_key, connection.challenge)) {
        refuse(socket, QStringLiteral("Wrong key for this host bridge"));
        return false;
    }
    const QString who = hello ? hello->who : QString();
    if (const QString held = heldAgainst(who); !held.isEmpty()) {
        refuse(socket, held);
        return false;
    }
    m_hold = Hold{socket, who, addressOf(*socket), currentClock().now()};
    connection.admitted = true;
    return true;
}

QString HostServer::heldAgainst(const QString &who)
{
    QTcpSocket *holder = m_hold.socket;
    if (!holder)
        return {};
    // A holder gone without our noticing, or the same client come back on a
    // new connection: the old connection is closed and the host is free.
    if (peerHasClosed(*holder) || (!who.isEmpty() && who == m_hold.who)) {
        drop(holder);
        return {};
    }
    const QString by = m_hold.who.isEmpty() ? QStringLiteral("a client") : m_hold.who;
    return QStringLiteral("The host is held by %1 from %2 since %3")
        .arg(by, m_hold.from, m_hold.since.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
}

void HostServer::refuse(QTcpSocket *socket, const QString &why)
{
    // One refusal, then the line is closed: a guesser gets one try per connection.
    socket->write(HostProtocol::refusal(why));
    forget(socket);
    socket->disconnectFromHost();
}

void HostServer::drop(QTcpSocket *socket)
{
    forget(socket);
    socket->abort();
    socket->deleteLater();
}

void HostServer::forget(QTcpSocket *socket)
{
    if (m_hold.socket == socket)
        m_hold = Hold{};
    m_connections.erase(socket);
}

void HostServer::answered(Connection &connection)
{
    if (connection.idle)
        connection.idle->start();
}

} // namespace lumen
