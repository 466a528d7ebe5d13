#include "simhost/HostServer.h"

#include "common/core/Failure.h"
#include "hostlink/HostApp.h"
#include "hostlink/HostKey.h"
#include "hostlink/HostProtocol.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

namespace lumen {

namespace {
// Set on a connection once it has presented the key.
constexpr const char *kAdmitted = "lumenAdmitted";
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
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readFrom(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void HostServer::readFrom(QTcpSocket *socket)
{
    while (socket->canReadLine()) {
        const QByteArray request = HostProtocol::readLine(*socket);
        if (!request.endsWith('\n')) {
            // A line longer than any real request: the peer is not speaking the protocol.
            socket->abort();
            return;
        }
        if (!m_key.isEmpty() && !socket->property(kAdmitted).toBool()) {
            if (!admit(socket, request))
                return;
            continue;
        }
        // Parsed only when it may be one: a flood of calls must not cost a second parse each.
        if (request.contains("\"key\"") && HostProtocol::keyOf(request)) {
            // Presented again, or to a bridge that needs none: nothing to check.
            socket->write(HostProtocol::keyAccepted());
            continue;
        }
        const int delay = m_faults.slowReplies.value(HostProtocol::methodOf(request), 0);
        if (delay > 0)
            QThread::msleep(ulong(delay));
        socket->write(HostProtocol::serve(*m_host, request));
        socket->flush();
        // A client that does not read its replies would pile them up here
        // without end; it is dropped, and the others are served on.
        if (socket->bytesToWrite() > kMaxUnreadReplyBytes) {
            socket->abort();
            return;
        }
    }
    if (socket->bytesAvailable() > HostProtocol::kMaxLine)
        socket->abort();
}

bool HostServer::admit(QTcpSocket *socket, const QByteArray &request)
{
    const std::optional<QByteArray> offered = HostProtocol::keyOf(request);
    if (offered && HostKey::matches(*offered, m_key)) {
        socket->setProperty(kAdmitted, true);
        socket->write(HostProtocol::keyAccepted());
        socket->flush();
        return true;
    }
    // One refusal, then the line is closed: a guesser gets one try per connection.
    socket->write(
        HostProtocol::refusal(offered ? QStringLiteral("Wrong key for this host bridge")
                                      : QStringLiteral("This host bridge needs a key first (%1)")
                                            .arg(QLatin1String(HostKey::kVariable))));
    socket->disconnectFromHost();
    return false;
}

} // namespace lumen
