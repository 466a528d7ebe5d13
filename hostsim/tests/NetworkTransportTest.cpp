#include "simhost/testsupport/HostTestSupport.h"
#include "simhost/testsupport/ServedHost.h"

#include "common/core/Failure.h"
#include "common/testsupport/ProgramFolder.h"
#include "hostlink/HostApp.h"
#include "hostlink/HostLink.h"
#include "hostlink/HostProtocol.h"
#include "hostlink/TcpHostClient.h"
#include "simhost/HostServer.h"

#include <QElapsedTimer>
#include <QSemaphore>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <thread>

using namespace lumen;
using lumen::test::hostSettings;
using lumen::test::ProgramFolder;
using lumen::test::ServedHost;

namespace {

/** A simulated host served on its own thread, so this thread can block in calls. */

/** A bridge that misbehaves: answers garbage, hangs up, or never answers. */
class BadBridge : public QThread
{
public:
    enum class Mode
    {
        Garbage,
        HangUp,
        Silent,
        Endless
    };
    explicit BadBridge(Mode mode) : m_mode(mode) {}
    ~BadBridge() override
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

protected:
    void run() override
    {
        QTcpServer server;
        server.listen(QHostAddress::LocalHost, 0);
        m_port = server.serverPort();
        QObject::connect(&server, &QTcpServer::newConnection, &server, [&] {
            QTcpSocket *socket = server.nextPendingConnection();
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
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
    Mode m_mode;
    quint16 m_port = 0;
    QSemaphore m_ready;
};

/** Drives a host through most of its methods and writes down every reply and by-reference value. */
QStringList exercise(HostApp &host, const std::function<void(double)> &advance,
                     const QString &folder)
{
    QStringList log;
    auto note = [&](const QString &what) { log << what; };
    note(host.testconnect());
    std::int16_t one = 1, two = 2, roi = 1, out = 2, state = 1;
    double live = 120.0, real = 0.0;
    QString id = QStringLiteral("Net check  "), lib = QStringLiteral("QC.LIB"),
            type = QStringLiteral("RapidScan");
    QString date = QStringLiteral("01-Dec-2026"), time = QStringLiteral("08:00:00"),
            units = QStringLiteral("g");
    note(host.setprimary(one));
    note(host.GetLibrary());
    note(host.selectlibrary(lib));
    note(host.SetUseLibEff());
    note(host.GetUseLibEff());
    note(host.SetSpectrumID(id));
    host.SampleQuantity(2.5f);
    note(host.SampleDate(date));
    note(host.SampleTime(time));
    note(host.SampleUnits(units));
    note(host.SetRealPreset(real));
    note(host.SetLivePreset(live));
    note(host.StartAcquire());
    advance(60.0);
    note(host.GetAcquireStatus());
    note(host.GetElapsedReal());
    advance(100.0);
    note(host.GetAcquireStatus());
    note(host.GetElapsedLive());
    note(QString::number(host.GetDeadtime(), 'g', 12));
    const int n = host.NumberOfCounts();
    note(QString::number(n));
    std::vector<std::int32_t> counts(16384, 0);
    host.GetCounts(counts);
    qint64 sum = 0;
    for (int i = 0; i < n; ++i)
        sum += counts[std::size_t(i)] * qint64(i % 97 + 1);
    note(QString::number(sum));
    note(host.Analyze(type));
    note(host.GetROIData(roi, QStringLiteral("NUCLIDE")));
    note(host.GetROIData(roi, QStringLiteral("NET")));
    note(host.CopySpt(two, one));
    note(host.setprimary(two));
    note(host.GetElapsedLive());
    note(host.SetExtOutput(out, state));
    note(host.GetExtInput(one));
    QString bad = QStringLiteral("9");
    note(host.SampleDate(bad));
    QString spectrum = QDir(folder).filePath(QStringLiteral("Data/net.ANS"));
    note(host.SaveSpt(spectrum));
    note(host.Minimize());
    note(host.presetsoff());
    return log;
}

} // namespace

TEST(NetworkTransport, SameRepliesAsInProcess)
{
    QTemporaryDir local, remote;
    SimulatedHost inProcess(hostSettings(local, 5));
    const QStringList direct = exercise(
        inProcess, [&](double s) { inProcess.advanceClock(s); }, local.path());

    ServedHost served(hostSettings(remote, 5));
    const quint16 port = served.startServing();
    TcpHostClient client(QStringLiteral("127.0.0.1"), port, 10000);
    const QStringList overTcp = exercise(
        client, [&](double s) { served.onHost([s](SimulatedHost &h) { h.advanceClock(s); }); },
        remote.path());
    EXPECT_EQ(direct, overTcp);
    EXPECT_EQ(direct.first(), "OK");
    EXPECT_TRUE(direct.contains(QStringLiteral("Reached Preset")));
}

TEST(NetworkTransport, HostFailuresArriveAsFailures)
{
    QTemporaryDir dir;
    SimulatedHostSettings s = hostSettings(dir);
    s.faults = HostFaults::parse(QStringLiteral("error=Analyze:Error: Detector busy;gone-after=3"));
    ServedHost served(s);
    TcpHostClient client(QStringLiteral("127.0.0.1"), served.startServing(), 5000);
    QString type = QStringLiteral("PeakFind");
    EXPECT_EQ(client.testconnect(), "OK");
    EXPECT_EQ(client.Analyze(type), "Error: Detector busy");
    EXPECT_EQ(client.NumberOfCounts(), 8192);
    try {
        client.StartAcquire();
        FAIL() << "the host has gone";
    } catch (const Failure &failure) {
        EXPECT_EQ(failure.description(), "The host application is not running");
    }
    EXPECT_EQ(client.testconnect(), "The host application is not running");
}

TEST(NetworkTransport, BrokenBridgesGiveFailuresAndNoConnection)
{
    for (auto mode : {BadBridge::Mode::Garbage, BadBridge::Mode::HangUp, BadBridge::Mode::Silent,
                      BadBridge::Mode::Endless}) {
        BadBridge bridge(mode);
        TcpHostClient client(QStringLiteral("127.0.0.1"), bridge.startServing(), 700);
        QElapsedTimer timer;
        timer.start();
        EXPECT_THROW(client.StartAcquire(), Failure) << int(mode);
        const QString answer = client.testconnect();
        EXPECT_NE(answer, "OK");
        EXPECT_TRUE(answer.startsWith("No connection: ")) << answer.toStdString();
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

TEST(NetworkTransport, KillingTheServerMidCallFailsWithinTheTimeOut)
{
    const ProgramFolder folder({QStringLiteral(LUMEN_HOSTSIM_EXE)});
    const auto server =
        folder.start(QString(), {QStringLiteral("--listen"), QStringLiteral("0"),
                                 QStringLiteral("--faults"), QStringLiteral("slow=Analyze:20000")});
    const QString at = ProgramFolder::listeningAt(*server);
    ASSERT_TRUE(at.startsWith("127.0.0.1:")) << at.toStdString();

    TcpHostClient client(QStringLiteral("127.0.0.1"), at.section(u':', -1).toUShort(), 15000);
    ASSERT_EQ(client.testconnect(), "OK");
    const qint64 pid = server->processId();
    std::thread killer([pid] {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        ::kill(pid_t(pid), SIGKILL);
    });
    QElapsedTimer timer;
    timer.start();
    QString type = QStringLiteral("RapidScan");
    EXPECT_THROW(client.Analyze(type), Failure);
    EXPECT_LT(timer.elapsed(), 15000);
    killer.join();
    ASSERT_TRUE(server->waitForFinished(5000));
    EXPECT_EQ(server->exitStatus(), QProcess::CrashExit);
    EXPECT_EQ(server->exitCode(), SIGKILL) << "ended by the kill, not by a crash of its own";
    EXPECT_NE(client.testconnect(), "OK");
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

TEST(NetworkTransport, AClientThatNeverReadsIsDroppedAndOthersAreServed)
{
    QTemporaryDir dir;
    ServedHost served(hostSettings(dir));
    const quint16 port = served.startServing();
    QTcpSocket greedy;
    greedy.connectToHost(QStringLiteral("127.0.0.1"), port);
    ASSERT_TRUE(greedy.waitForConnected(5000));
    greedy.setReadBufferSize(1); // reads nothing, so the server's replies pile up
    const QByteArray request = HostProtocol::request(QStringLiteral("GetLibrary"), {});
    QByteArray flood;
    for (int i = 0; i < 10000; ++i)
        flood += request;
    // Requests go on until the server gives up: how much the kernel's buffers
    // absorb before the replies pile up in the server differs between machines.
    QElapsedTimer timer;
    timer.start();
    while (greedy.state() == QAbstractSocket::ConnectedState && timer.elapsed() < 60000) {
        if (greedy.bytesToWrite() < flood.size())
            greedy.write(flood);
        greedy.waitForBytesWritten(100);
    }
    EXPECT_NE(greedy.state(), QAbstractSocket::ConnectedState) << "dropped";

    TcpHostClient other(QStringLiteral("127.0.0.1"), port, 5000);
    EXPECT_EQ(other.testconnect(), "OK");
}
