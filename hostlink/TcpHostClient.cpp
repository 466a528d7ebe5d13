#include "hostlink/TcpHostClient.h"

#include "common/core/Failure.h"
#include "common/core/StopFlag.h"
#include "hostlink/HostKey.h"
#include "hostlink/HostProtocol.h"

#include <QDeadlineTimer>
#include <QTcpSocket>
#include <algorithm>

namespace lumen {

namespace {
// A stop signal runs no event while a call waits on the socket: the wait
// looks at the stop flag this often.
constexpr qint64 kStopLookMs = 50;

int slice(const QDeadlineTimer &deadline)
{
    return int(std::clamp<qint64>(deadline.remainingTime(), 1, kStopLookMs));
}
} // namespace

TcpHostClient::TcpHostClient(const QString &host, quint16 port, int timeoutMs, QByteArray key,
                             QString holder)
    : m_host(host), m_port(port), m_timeoutMs(timeoutMs), m_key(std::move(key)),
      m_holder(std::move(holder))
{
}

TcpHostClient::~TcpHostClient() = default;

QString TcpHostClient::where() const
{
    return QStringLiteral("%1:%2").arg(m_host).arg(m_port);
}

void TcpHostClient::fail(const QString &what)
{
    // Whatever the bridge sends later belongs to a call that has given up.
    if (m_socket)
        m_socket->abort();
    m_socket.reset();
    throw Failure(what);
}

void TcpHostClient::failOnStop(const QString &what)
{
    const QString signal = stopflag::raisedBy();
    if (!signal.isEmpty())
        fail(QStringLiteral("The call to %2 at the host bridge at %1 was cut short: interrupted "
                            "by %3")
                 .arg(where(), what, signal));
}

void TcpHostClient::unreadable()
{
    fail(QStringLiteral("The host bridge at %1 sent a reply that cannot be read").arg(where()));
}

HostReply TcpHostClient::call(const QString &method, const QJsonArray &args)
{
    QDeadlineTimer deadline(m_timeoutMs);
    if (!m_socket || m_socket->state() != QAbstractSocket::ConnectedState)
        connectTo(deadline);
    const std::optional<HostReply> reply =
        HostReply::parse(exchange(HostProtocol::request(method, args), method, deadline));
    if (!reply)
        unreadable();
    return *reply;
}

void TcpHostClient::connectTo(const QDeadlineTimer &deadline)
{
    failOnStop(QStringLiteral("connect"));
    // The connection is not waited for in slices (a wait for it that times
    // out drops it); a bridge that is up takes it at once.
    m_socket = std::make_unique<QTcpSocket>();
    m_socket->connectToHost(m_host, m_port);
    if (!m_socket->waitForConnected(int(deadline.remainingTime())))
        fail(QStringLiteral("Cannot reach the host bridge at %1: %2")
                 .arg(where(), m_socket->errorString()));
    // One small request, one small reply: waiting to batch them only adds delay.
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    greet(deadline);
}

void TcpHostClient::greet(const QDeadlineTimer &deadline)
{
    const QString what = QStringLiteral("the hello");
    if (m_key.isEmpty()) {
        // Nothing to prove: the hello goes out at once, without waiting for the challenge.
        send(HostProtocol::hello(m_holder, {}), what, deadline);
        if (!HostProtocol::challengeOf(receive(what, deadline)))
            unreadable();
    } else {
        const std::optional<QByteArray> challenge =
            HostProtocol::challengeOf(receive(what, deadline));
        if (!challenge)
            unreadable();
        send(HostProtocol::hello(m_holder, HostKey::answer(m_key, *challenge)), what, deadline);
    }
    try {
        if (!HostReply::parse(receive(what, deadline)))
            unreadable();
    } catch (const Failure &refusal) {
        // The bridge has closed the connection; its reason is the caller's answer.
        fail(refusal.description());
    }
}

void TcpHostClient::keepAlive()
{
    if (!m_socket || m_socket->state() != QAbstractSocket::ConnectedState ||
        m_sinceExchange.elapsed() < m_keepAliveMs)
        return;
    try {
        if (!HostReply::parse(exchange(HostProtocol::ping(), QStringLiteral("the ping"),
                                       QDeadlineTimer(m_timeoutMs))))
            unreadable();
    } catch (const Failure &) {
        // The connection is dropped; the next call connects again and says why it cannot.
    }
}

QByteArray TcpHostClient::exchange(const QByteArray &request, const QString &what,
                                   const QDeadlineTimer &deadline)
{
    send(request, what, deadline);
    return receive(what, deadline);
}

void TcpHostClient::send(const QByteArray &line, const QString &what,
                         const QDeadlineTimer &deadline)
{
    m_socket->write(line);
    while (m_socket->bytesToWrite() > 0) {
        failOnStop(what);
        if (deadline.hasExpired())
            fail(QStringLiteral("The host bridge at %1 did not take the call to %2")
                     .arg(where(), what));
        if (!m_socket->waitForBytesWritten(slice(deadline)) &&
            m_socket->state() != QAbstractSocket::ConnectedState)
            fail(QStringLiteral("The host bridge at %1 did not take the call to %2")
                     .arg(where(), what));
    }
}

QByteArray TcpHostClient::receive(const QString &what, const QDeadlineTimer &deadline)
{
    while (!m_socket->canReadLine()) {
        failOnStop(what);
        if (m_socket->bytesAvailable() > HostProtocol::kMaxLine)
            unreadable();
        if (deadline.hasExpired())
            fail(QStringLiteral("The host bridge at %1 did not answer %2 within %3 seconds")
                     .arg(where(), what)
                     .arg(m_timeoutMs / 1000.0));
        if (!m_socket->waitForReadyRead(slice(deadline))) {
            if (m_socket->state() != QAbstractSocket::ConnectedState && !m_socket->canReadLine())
                fail(QStringLiteral("The host bridge at %1 closed the connection during %2")
                         .arg(where(), what));
        }
    }
    m_sinceExchange.start();
    return HostProtocol::readLine(*m_socket);
}

QString TcpHostClient::textCall(const QString &method, QJsonArray &args)
{
    const HostReply reply = call(method, args);
    const std::optional<QString> result = reply.text();
    if (!result)
        unreadable();
    args = reply.argsBack(args);
    return *result;
}

QString TcpHostClient::textCall(const QString &method)
{
    QJsonArray none;
    return textCall(method, none);
}

// One definition per shape of the method list (HostMethods.h).

#define LUMEN_CLIENT_Probe(name)                                                                   \
    QString TcpHostClient::name()                                                                  \
    {                                                                                              \
        try {                                                                                      \
            return textCall(QStringLiteral(#name));                                                \
        } catch (const Failure &failure) {                                                         \
            /* Never "OK": callers show "No Connection" and a playing script stops. */             \
            return QStringLiteral("No connection: ") + failure.description();                      \
        }                                                                                          \
    }

#define LUMEN_CLIENT_Plain(name)                                                                   \
    QString TcpHostClient::name()                                                                  \
    {                                                                                              \
        return textCall(QStringLiteral(#name));                                                    \
    }

#define LUMEN_CLIENT_Text(name)                                                                    \
    LUMEN_HOST_SIGNATURE_Text(TcpHostClient::name)                                                 \
    {                                                                                              \
        QJsonArray args{a0};                                                                       \
        const QString r = textCall(QStringLiteral(#name), args);                                   \
        a0 = HostReply::textAt(args, 0);                                                           \
        return r;                                                                                  \
    }

#define LUMEN_CLIENT_TextText(name)                                                                \
    LUMEN_HOST_SIGNATURE_TextText(TcpHostClient::name)                                             \
    {                                                                                              \
        QJsonArray args{a0, a1};                                                                   \
        const QString r = textCall(QStringLiteral(#name), args);                                   \
        a0 = HostReply::textAt(args, 0);                                                           \
        a1 = HostReply::textAt(args, 1);                                                           \
        return r;                                                                                  \
    }

#define LUMEN_CLIENT_Real(name)                                                                    \
    LUMEN_HOST_SIGNATURE_Real(TcpHostClient::name)                                                 \
    {                                                                                              \
        QJsonArray args{a0};                                                                       \
        const QString r = textCall(QStringLiteral(#name), args);                                   \
        a0 = HostReply::realAt(args, 0, a0);                                                       \
        return r;                                                                                  \
    }

#define LUMEN_CLIENT_Int16(name)                                                                   \
    LUMEN_HOST_SIGNATURE_Int16(TcpHostClient::name)                                                \
    {                                                                                              \
        QJsonArray args{int(a0)};                                                                  \
        const QString r = textCall(QStringLiteral(#name), args);                                   \
        a0 = HostReply::int16At(args, 0, a0);                                                      \
        return r;                                                                                  \
    }

#define LUMEN_CLIENT_Int16Int16(name)                                                              \
    LUMEN_HOST_SIGNATURE_Int16Int16(TcpHostClient::name)                                           \
    {                                                                                              \
        QJsonArray args{int(a0), int(a1)};                                                         \
        const QString r = textCall(QStringLiteral(#name), args);                                   \
        a0 = HostReply::int16At(args, 0, a0);                                                      \
        a1 = HostReply::int16At(args, 1, a1);                                                      \
        return r;                                                                                  \
    }

#define LUMEN_CLIENT_RoiField(name)                                                                \
    LUMEN_HOST_SIGNATURE_RoiField(TcpHostClient::name)                                             \
    {                                                                                              \
        QJsonArray args{int(a0), a1};                                                              \
        const QString r = textCall(QStringLiteral(#name), args);                                   \
        a0 = HostReply::int16At(args, 0, a0);                                                      \
        return r;                                                                                  \
    }

#define LUMEN_CLIENT_Channels(name)                                                                \
    LUMEN_HOST_SIGNATURE_Channels(TcpHostClient::name)                                             \
    {                                                                                              \
        const std::optional<qint64> n = call(QStringLiteral(#name)).wholeNumber();                 \
        if (!n)                                                                                    \
            unreadable();                                                                          \
        return std::int32_t(*n);                                                                   \
    }

#define LUMEN_CLIENT_Quantity(name)                                                                \
    LUMEN_HOST_SIGNATURE_Quantity(TcpHostClient::name)                                             \
    {                                                                                              \
        call(QStringLiteral(#name), {double(a0)});                                                 \
    }

#define LUMEN_CLIENT_Counts(name)                                                                  \
    LUMEN_HOST_SIGNATURE_Counts(TcpHostClient::name)                                               \
    {                                                                                              \
        if (!call(QStringLiteral(#name), {double(a0.size())}).fillCounts(a0))                      \
            unreadable();                                                                          \
    }

#define LUMEN_CLIENT_Number(name)                                                                  \
    LUMEN_HOST_SIGNATURE_Number(TcpHostClient::name)                                               \
    {                                                                                              \
        const std::optional<double> v = call(QStringLiteral(#name)).number();                      \
        if (!v)                                                                                    \
            unreadable();                                                                          \
        return *v;                                                                                 \
    }

#define LUMEN_CLIENT_METHOD(Shape, name) LUMEN_CLIENT_##Shape(name)
LUMEN_HOST_METHODS(LUMEN_CLIENT_METHOD)

} // namespace lumen
