#pragma once

#include "hostlink/HostKey.h"
#include "hostlink/HostProtocol.h"

#include <QDeadlineTimer>
#include <QTcpSocket>

namespace lumen::test {

/**
 * One connection to a host bridge on loopback, driven line by line where a
 * test needs more than the client allows: the first line of its choosing,
 * a line sent while another waits, a close at a moment of its choosing.
 */
class BridgeLine
{
public:
    /** Connects and reads the challenge (empty when none came). */
    explicit BridgeLine(quint16 port)
    {
        socket.connectToHost(QStringLiteral("127.0.0.1"), port);
        if (socket.waitForConnected(kWaitMs))
            challenge = HostProtocol::challengeOf(next()).value_or(QByteArray());
    }

    /** Sends `line` and gives the reply line (empty when none came). */
    QByteArray say(const QByteArray &line)
    {
        socket.write(line);
        return next();
    }
    /** Says hello as `who`, answering the challenge under `key` when one is given. */
    QByteArray hello(const QString &who, const QByteArray &key = {})
    {
        return say(HostProtocol::hello(who, key.isEmpty() ? QByteArray()
                                                          : HostKey::answer(key, challenge)));
    }
    /** The next line the bridge sends, empty when none comes within `ms`. */
    QByteArray next(int ms = kWaitMs)
    {
        const QDeadlineTimer deadline(ms);
        while (!socket.canReadLine() && !deadline.hasExpired() &&
               socket.waitForReadyRead(int(deadline.remainingTime()))) {
        }
        return socket.canReadLine() ? socket.readLine() : QByteArray();
    }
    /** Everything the bridge sends until it closes the connection within `ms`. */
    QByteArray untilClosed(int ms = kWaitMs)
    {
        const QDeadlineTimer deadline(ms);
        while (socket.state() == QAbstractSocket::ConnectedState && !deadline.hasExpired())
            socket.waitForReadyRead(int(deadline.remainingTime()));
        return socket.readAll();
    }
    bool isOpen() const { return socket.state() == QAbstractSocket::ConnectedState; }

    static constexpr int kWaitMs = 5000;
    QTcpSocket socket;
    QByteArray challenge;
};

} // namespace lumen::test
