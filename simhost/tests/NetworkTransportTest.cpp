#include "simhost/testsupport/HostTestSupport.h"
#include "simhost/testsupport/ServedHost.h"

#include "common/core/Failure.h"
#include "hostlink/HostApp.h"
#include "hostlink/HostProtocol.h"
#include "hostlink/TcpHostClient.h"

#include <QElapsedTimer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

using namespace lumen;
using lumen::test::hostSettings;
using lumen::test::ServedHost;

namespace {

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
