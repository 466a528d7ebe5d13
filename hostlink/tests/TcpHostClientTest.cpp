// The TCP client against bridges of the test's own making: one that answers
// as the protocol says and writes down what it was sent, and broken ones.
#include "hostlink/TcpHostClient.h"
#include "common/core/Failure.h"
#include "hostlink/HostKey.h"
#include "hostlink/HostLink.h"
#include "hostlink/HostProtocol.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutex>
#include <QSemaphore>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <gtest/gtest.h>

using namespace lumen;

namespace {

const QByteArray kChallenge(64, 'c');

/** A bridge on its own thread that plays one part. */
class FakeBridge : public QThread
{
public:
    enum class Mode
    {
        Answering, ///< the challenge, then "OK" to every line
        Refusing,  ///< the challenge, then a refusal of the first line
        Garbage,   ///< something else than the protocol to every line
        HangUp,    ///< closes on the first line
        Silent,    ///< never says anything
        Endless    ///< one line that never ends
    };
    static constexpr const char *kRefusal = "The host is held by run 1 from 10.0.0.9:4100";

    explicit FakeBridge(Mode mode) : m_mode(mode) {}
    ~FakeBridge() override
    {
        quit();
        wait();
    }
    quint16 startServing()
    {
        start();
        m_ready.acquire();
        return m_port;
    }
    /** The lines received so far, as JSON objects. */
    QList<QJsonObject> received()
    {
        const QMutexLocker lock(&m_mutex);
        return m_received;
    }

protected:
    void run() override
    {
        QTcpServer server;
        server.listen(QHostAddress::LocalHost, 0);
        m_port = server.serverPort();
        QObject::connect(&server, &QTcpServer::newConnection, &server, [&] {
            QTcpSocket *socket = server.nextPendingConnection();
            if (m_mode == Mode::Answering || m_mode == Mode::Refusing)
                socket->write(HostProtocol::challenge(kChallenge));
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                if (m_mode == Mode::Answering || m_mode == Mode::Refusing)
                    return answer(*socket);
                socket->readAll();
                if (m_mode == Mode::Garbage)
                    socket->write("this is not the protocol\n");
                else if (m_mode == Mode::HangUp)
                    socket->disconnectFromHost();
                else if (m_mode == Mode::Endless)
                    socket->write(QByteArray(1 << 20, 'x'));
            });
        });
        m_ready.release();
        exec();
    }

private:
    void answer(QTcpSocket &socket)
    {
        while (socket.canReadLine()) {
            const QJsonObject line = QJsonDocument::fromJson(socket.readLine()).object();
            const QMutexLocker lock(&m_mutex);
            m_received.append(line);
            if (m_mode == Mode::Refusing) {
                socket.write(HostProtocol::refusal(QString::fromLatin1(kRefusal)));
                socket.disconnectFromHost();
                return;
            }
            socket.write(HostProtocol::accepted());
        }
    }

    Mode m_mode;
    quint16 m_port = 0;
    QSemaphore m_ready;
    QMutex m_mutex;
    QList<QJsonObject> m_received;
};

TEST(TcpHostClient, HelloNamesTheHolderAndAnswersTheChallenge)
{
    const struct
    {
        QByteArray key;
        QString holder;
    } cases[] = {{"lab key", QStringLiteral("Sequa run night.lsf (process 42)")}, {{}, {}}};
    for (const auto &c : cases) {
        FakeBridge bridge(FakeBridge::Mode::Answering);
        TcpHostClient client(QStringLiteral("127.0.0.1"), bridge.startServing(), 5000, c.key,
                             c.holder);
        EXPECT_EQ(client.testconnect(), "OK");
        const QList<QJsonObject> lines = bridge.received();
        ASSERT_EQ(lines.size(), 2);
        EXPECT_EQ(lines[0].value("hello").toString(), c.holder);
        EXPECT_EQ(lines[0].value("answer").toString().toLatin1(),
                  c.key.isEmpty() ? QByteArray() : HostKey::answer(c.key, kChallenge));
        EXPECT_EQ(lines[1].value("method").toString(), "testconnect");
    }
}

TEST(TcpHostClient, ARefusalIsTheReasonForNoConnection)
{
    FakeBridge bridge(FakeBridge::Mode::Refusing);
    TcpHostClient client(QStringLiteral("127.0.0.1"), bridge.startServing(), 5000, "lab key");
    EXPECT_EQ(client.testconnect(),
              QStringLiteral("No connection: ") + QLatin1String(FakeBridge::kRefusal));
    try {
        client.StartAcquire();
        ADD_FAILURE() << "a refused client made a call";
    } catch (const Failure &failure) {
        EXPECT_EQ(failure.description(), QLatin1String(FakeBridge::kRefusal));
    }
}

TEST(TcpHostClient, KeepAlivePingsOnlyAConnectionQuietForItsTime)
{
    FakeBridge bridge(FakeBridge::Mode::Answering);
    TcpHostClient client(QStringLiteral("127.0.0.1"), bridge.startServing(), 5000);
    client.keepAlive(); // not connected: nothing to keep
    EXPECT_EQ(client.testconnect(), "OK");
    client.keepAlive(); // the call has just been answered
    client.setKeepAliveMs(0);
    client.keepAlive();
    const QList<QJsonObject> lines = bridge.received();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[2], QJsonObject({{"ping", true}}));
}

TEST(TcpHostClient, BrokenBridgesGiveFailuresAndNoConnection)
{
    for (auto mode : {FakeBridge::Mode::Garbage, FakeBridge::Mode::HangUp, FakeBridge::Mode::Silent,
                      FakeBridge::Mode::Endless}) {
        FakeBridge bridge(mode);
        TcpHostClient client(QStringLiteral("127.0.0.1"), bridge.startServing(), 700);
        QElapsedTimer timer;
        timer.start();
        EXPECT_THROW(client.StartAcquire(), Failure) << int(mode);
        const QString answer = client.testconnect();
        EXPECT_TRUE(answer.startsWith("No connection: ")) << answer.toStdString();
        client.setKeepAliveMs(0);
        client.keepAlive(); // never throws
        EXPECT_LT(timer.elapsed(), 5000) << "each call ends by its time-out";
    }
    // Nobody listening at all.
    quint16 freePort = 0;
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        freePort = probe.serverPort();
    }
    TcpHostClient nobody(QStringLiteral("127.0.0.1"), freePort, 2000);
    EXPECT_TRUE(nobody.testconnect().startsWith(
        "No connection: Cannot reach the host bridge at 127.0.0.1:"));
    std::vector<std::int32_t> counts(10);
    EXPECT_THROW(nobody.GetCounts(counts), Failure);
}

TEST(HostLink, ReadsTheLinkText)
{
    EXPECT_EQ(HostLink::parse(QString()).kind, HostLink::Kind::InProcess);
    EXPECT_EQ(HostLink::parse(QStringLiteral("sim")).kind, HostLink::Kind::InProcess);
    const HostLink tcp =
        HostLink::parse(QStringLiteral("tcp://127.0.0.1:5011"), QStringLiteral("2.5"));
    EXPECT_EQ(tcp.kind, HostLink::Kind::Tcp);
    EXPECT_EQ(tcp.host, "127.0.0.1");
    EXPECT_EQ(tcp.port, 5011);
    EXPECT_EQ(tcp.timeoutMs, 2500);
    for (const char *bad :
         {"tcp://127.0.0.1", "http://host:80", "tcp://:80", "tcp://h:80/x", "bridge"})
        EXPECT_THROW(HostLink::parse(QString::fromLatin1(bad)), Failure) << bad;
    EXPECT_THROW(HostLink::parse(QString(), QStringLiteral("0")), Failure);
}

} // namespace
