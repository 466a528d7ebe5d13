#include "simhost/testsupport/HostTestSupport.h"
#include "simhost/testsupport/ServedHost.h"

#include "common/core/Failure.h"
#include "common/testsupport/ProgramFolder.h"
#include "hostlink/HostKey.h"
#include "hostlink/HostLink.h"
#include "hostlink/HostProtocol.h"
#include "hostlink/TcpHostClient.h"
#include "simhost/HostServer.h"

#include <QFile>
#include <QSemaphore>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

using namespace lumen;
using lumen::test::ProgramFolder;

namespace {

const QByteArray kKey = "a3f9-lab-bridge";

/** The simulated host served on loopback, wanting the key. */
struct KeyedBridge
{
    KeyedBridge() { served.requireKey(kKey); }
    quint16 startServing() { return served.startServing(); }

    QTemporaryDir folder;
    test::ServedHost served{test::hostSettings(folder)};
};

TEST(BridgeKey, OnlyTheRightKeyReachesTheHost)
{
    KeyedBridge bridge;
    const quint16 port = bridge.startServing();
    const struct
    {
        QByteArray key;
        const char *answer; // how testconnect begins
    } cases[] = {
        {QByteArray(), "No connection: This host bridge needs a key first"},
        {"a3f9-lab-bridgE", "No connection: The host bridge at 127.0.0.1:"},
        {kKey, "OK"},
    };
    for (const auto &c : cases) {
        TcpHostClient client(QStringLiteral("127.0.0.1"), port, 5000, c.key);
        const QString answer = client.testconnect();
        EXPECT_TRUE(answer.startsWith(QLatin1String(c.answer))) << answer.toStdString();
        if (c.key == kKey) {
            double preset = 120;
            EXPECT_EQ(client.SetLivePreset(preset), "OK");
        } else {
            double preset = 120;
            EXPECT_THROW(client.SetLivePreset(preset), Failure);
        }
    }
}

TEST(BridgeKey, AWrongKeyGetsOneRefusalAndAClosedLine)
{
    KeyedBridge bridge;
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), bridge.startServing());
    ASSERT_TRUE(socket.waitForConnected(5000));
    // A guess, then a call sent right behind it: the call must never run.
    socket.write(HostProtocol::keyRequest("guess") +
                 HostProtocol::request(QStringLiteral("StartAcquire"), {}));
    QByteArray received;
    while (socket.state() == QAbstractSocket::ConnectedState && socket.waitForReadyRead(5000))
        received += socket.readAll();
    received += socket.readAll();
    EXPECT_EQ(received, HostProtocol::refusal(QStringLiteral("Wrong key for this host bridge")));
    EXPECT_NE(socket.state(), QAbstractSocket::ConnectedState);
}

TEST(BridgeKey, MatchesOnlyTheSameBytes)
{
    EXPECT_TRUE(HostKey::matches(kKey, kKey));
    for (const QByteArray &other : {QByteArray(), QByteArray("a3f9"), kKey + "x", QByteArray(" ")})
        EXPECT_FALSE(HostKey::matches(other, kKey)) << other.toStdString();
    EXPECT_FALSE(HostKey::matches(QByteArray(), QByteArray()));
}

TEST(BridgeKey, KeyFileMustBeTheOwnersAlone)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("key"));
    const auto write = [&](const QByteArray &text, QFile::Permissions permissions) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
        file.close();
        ASSERT_TRUE(file.setPermissions(permissions));
    };
    const QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner;
    write(kKey + "\nsecond line\n", ownerOnly);
    EXPECT_EQ(HostKey::fromFile(path), kKey);
    write(kKey + "\n", ownerOnly | QFile::ReadGroup);
    EXPECT_THROW(HostKey::fromFile(path), Failure);
    write(" \n", ownerOnly);
    EXPECT_THROW(HostKey::fromFile(path), Failure);
    EXPECT_THROW(HostKey::fromFile(folder.path()), Failure);
}

TEST(BridgeKey, HostsimServesOtherThanLoopbackOnlyWithAKey)
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

} // namespace
