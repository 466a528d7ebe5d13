// The hostsim program's own face: where it listens, its settings, its idle time, its end.
#include "common/core/Failure.h"
#include "common/testsupport/ProgramFolder.h"
#include "hostlink/HostKey.h"
#include "hostlink/HostProtocol.h"
#include "hostlink/TcpHostClient.h"
#include "hostlink/testsupport/BridgeLine.h"

#include <QElapsedTimer>
#include <csignal>
#include <gtest/gtest.h>
#include <thread>

using namespace lumen;
using lumen::test::BridgeLine;
using lumen::test::ProgramFolder;

namespace {

const QByteArray kKey = "a3f9-lab-bridge";

quint16 portOf(QProcess &server)
{
    return ProgramFolder::listeningAt(server).section(u':', -1).toUShort();
}

TEST(HostSimProgram, ServesOtherThanLoopbackOnlyWithAKey)
{
    ProgramFolder folder({QStringLiteral(LUMEN_HOSTSIM_EXE)});
    const QStringList anyAddress{QStringLiteral("--listen"), QStringLiteral("0.0.0.0:0")};
    const auto refused = folder.run(anyAddress);
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.contains("without a key")) << refused.err.toStdString();

    folder.environment().insert(QLatin1String(HostKey::kVariable), QString::fromUtf8(kKey));
    const auto served = folder.start(QString(), anyAddress);
    const QString at = ProgramFolder::listeningAt(*served);
    ASSERT_TRUE(at.startsWith("0.0.0.0:")) << at.toStdString();
    const quint16 port = at.section(u':', -1).toUShort();
    EXPECT_EQ(TcpHostClient(QStringLiteral("127.0.0.1"), port, 5000, kKey).testconnect(), "OK");
    served->terminate();
    EXPECT_EQ(ProgramFolder::finish(*served, 10000).status, 0);
}

TEST(HostSimProgram, AnIdleTimeItCannotReadIsAWrongArgument)
{
    const ProgramFolder folder({QStringLiteral(LUMEN_HOSTSIM_EXE)});
    for (const char *idle : {"-1", "1.5", "soon", "86401"}) {
        const auto run = folder.run({QStringLiteral("--listen"), QStringLiteral("0"),
                                     QStringLiteral("--idle"), QLatin1String(idle)});
        EXPECT_EQ(run.status, 2) << idle;
        EXPECT_TRUE(run.err.startsWith("hostsim: invalid --idle")) << run.err.toStdString();
    }
}

TEST(HostSimProgram, PingsKeepAConnectionThatSilenceCloses)
{
    const ProgramFolder folder({QStringLiteral(LUMEN_HOSTSIM_EXE)});
    // The host goes away after its second call: a ping counted as one would show.
    const auto server =
        folder.start(QString(), {QStringLiteral("--listen"), QStringLiteral("0"),
                                 QStringLiteral("--idle"), QStringLiteral("1"),
                                 QStringLiteral("--faults"), QStringLiteral("gone-after=2")});
    const quint16 port = portOf(*server);
    BridgeLine line(port);
    ASSERT_EQ(line.hello(QStringLiteral("run A")), HostProtocol::accepted());
    // Four pings 400 ms apart outlast the idle time of one second.
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(line.next(400), QByteArray()) << "closed early";
        EXPECT_EQ(line.say(HostProtocol::ping()), HostProtocol::accepted()) << i;
    }
    const QByteArray call = HostProtocol::request(QStringLiteral("GetLibrary"), {});
    EXPECT_TRUE(line.say(call).startsWith("{\"result\"")) << "no ping reached the host";
    EXPECT_TRUE(line.say(call).startsWith("{\"result\""));

    QElapsedTimer silent;
    silent.start();
    EXPECT_EQ(line.untilClosed(10000), QByteArray());
    EXPECT_FALSE(line.isOpen()) << "closed after the idle time";
    EXPECT_GE(silent.elapsed(), 900) << "not before it";
    EXPECT_EQ(BridgeLine(port).hello(QStringLiteral("run B")), HostProtocol::accepted())
        << "the host is free again";
    server->terminate();
    EXPECT_EQ(ProgramFolder::finish(*server, 10000).status, 0);
}

TEST(HostSimProgram, KillingTheServerMidCallFailsWithinTheTimeOut)
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

TEST(HostSimProgram, RefusesAHostStartItCannotReadWithStatus1)
{
    ProgramFolder folder({QStringLiteral(LUMEN_HOSTSIM_EXE)});
    folder.environment().insert(QStringLiteral("TZ"), QStringLiteral("Europe/Berlin"));
    for (const char *text : {"2024-02-30 10:00:00", "yesterday"}) {
        folder.environment().insert(QStringLiteral("LUMEN_HOST_START"), QString::fromLatin1(text));
        const auto host = folder.run({QStringLiteral("--listen"), QStringLiteral("0")}, 30000);
        EXPECT_EQ(host.status, 1) << text;
        EXPECT_EQ(host.err.toStdString(),
                  std::string("hostsim: Invalid value of LUMEN_HOST_START: ") + text + "\n");
        EXPECT_EQ(host.out, QString()) << text;
    }
}

} // namespace
